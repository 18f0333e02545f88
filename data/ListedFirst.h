#pragma once

// A message about many records names the first ten and then says how many more there are, so
// that a refusal over a million rows still reads at once: the editor's messages and
// recwright-cli's alike ask this rule.

#include <algorithm>
#include <cstddef>
#include <string>

namespace rw {

// How many records a message names before it counts the rest.
inline constexpr std::size_t kRecordsNamed = 10;

// The first kRecordsNamed of count items, each nameOf(i), joined by joiner, then moreOf(n)
// with how many are left (n > 0), which words its own lead ("……另有5条", ", and 5 more").
// Text: std::string or QString.
template <typename Text, typename NameOf, typename MoreOf>
[[nodiscard]] Text ListedFirst(std::size_t count, const Text& joiner, NameOf nameOf, MoreOf moreOf)
{
    Text list;
    for (std::size_t i = 0; i < std::min(count, kRecordsNamed); ++i) {
        if (i > 0) list += joiner;
        list += nameOf(i);
    }
    if (count > kRecordsNamed) list += moreOf(count - kRecordsNamed);
    return list;
}

} // namespace rw
