#include "query/NearestName.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits (a letter changed, inserted, deleted, or two neighbours swapped) from a to b, letter
// case aside: two swapped letters are the commonest slip of all, so they count as one.
[[nodiscard]] std::size_t Edits(std::string_view a, std::string_view b)
{
    const std::size_t n = b.size() + 1;
    std::vector<std::size_t> before(n), previous(n), current(n);
    for (std::size_t j = 0; j < n; ++j) previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j < n; ++j) {
            const bool same = Lower(a[i - 1]) == Lower(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) && Lower(a[i - 2]) == Lower(b[j - 1])) {
                current[j] = std::min(current[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

[[nodiscard]] bool SameLetter(char x, char y) { return Lower(x) == Lower(y); }

[[nodiscard]] bool StartsWithIgnoringCase(std::string_view name, std::string_view start)
{
    return start.size() <= name.size() && std::equal(start.begin(), start.end(), name.begin(), SameLetter);
}

[[nodiscard]] bool HoldsIgnoringCase(std::string_view name, std::string_view part)
{
    return std::search(name.begin(), name.end(), part.begin(), part.end(), SameLetter) != name.end();
}

// The one name of known that holds typed as the test asks, or nothing when none or several do.
template <typename Holds>
[[nodiscard]] std::optional<std::string_view> OnlyNameThat(std::span<const std::string_view> known, Holds holds)
{
    std::optional<std::string_view> found;
    for (const std::string_view name : known) {
        if (!holds(name)) continue;
        if (found) return std::nullopt; // two names: neither is meant more than the other
        found = name;
    }
    return found;
}

// Dashes say only that an option is meant; a start must have more to it than those.
[[nodiscard]] std::size_t Letters(std::string_view text)
{
    return text.size() - std::min(text.find_first_not_of('-'), text.size());
}

} // namespace

std::optional<std::string_view> NearestName(std::string_view typed, std::span<const std::string_view> known)
{
    std::optional<std::string_view> nearest;
    std::size_t fewest = 0;
    for (const std::string_view name : known) {
        const std::size_t edits = Edits(typed, name);
        // About one slip in three letters, and never half the name: "-x" is not "-o".
        const bool close = edits * 3 <= name.size() + 2 && edits * 2 < name.size();
        if (close && (!nearest || edits < fewest)) {
            nearest = name;
            fewest = edits;
        }
    }
    if (nearest) return nearest;
    if (Letters(typed) < 2) return std::nullopt;
    if (const auto started = OnlyNameThat(known, [&](std::string_view name) { return StartsWithIgnoringCase(name, typed); })) {
        return started;
    }
    // A word of a longer name: "Level" for "NeedLevel".
    return OnlyNameThat(known, [&](std::string_view name) { return HoldsIgnoringCase(name, typed); });
}

} // namespace rw
