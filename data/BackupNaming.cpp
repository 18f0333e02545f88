#include "data/BackupNaming.h"

#include "system/Platform.h"

#include <algorithm>
#include <system_error>

namespace rw {

std::filesystem::path BackupPathOf(const std::filesystem::path& table)
{
    std::filesystem::path backup = table;
    backup += ".bak";
    return backup;
}

namespace {

using NativeName = std::filesystem::path::string_type;

// N of a name "TABLE.~N~", whose prefix "TABLE.~" is given; nothing for any other name.
[[nodiscard]] std::optional<std::uint64_t> BackupNumber(const NativeName& name, const NativeName& prefix)
{
    if (name.size() <= prefix.size() + 1 || name.compare(0, prefix.size(), prefix) != 0 || name.back() != '~') {
        return std::nullopt;
    }
    constexpr std::uint64_t kLargest = 999'999'999'999'999'999;
    std::uint64_t number = 0;
    for (std::size_t i = prefix.size(); i + 1 < name.size(); ++i) {
        const auto c = name[i];
        if (c < '0' || c > '9' || number > kLargest / 10) return std::nullopt;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return number;
}

// The highest number of table's numbered backups in its folder; 0 when it has none.
[[nodiscard]] std::uint64_t HighestBackupNumber(const std::filesystem::path& table)
{
    std::filesystem::path prefix = table.filename();
    prefix += ".~";
    const std::filesystem::path folder = table.has_parent_path() ? table.parent_path() : std::filesystem::path(".");
    std::uint64_t highest = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const auto number = BackupNumber(entry->path().filename().native(), prefix.native());
        if (number) highest = std::max(highest, *number);
    }
    return highest;
}

[[nodiscard]] std::filesystem::path NumberedBackup(const std::filesystem::path& table, std::uint64_t number)
{
    std::filesystem::path backup = table;
    backup += ".~" + std::to_string(number) + "~";
    return backup;
}

} // namespace

std::optional<std::filesystem::path> BackupPathFor(const std::filesystem::path& table, const BackupNaming& naming)
{
    const std::uint64_t highest = naming.control == BackupControl::Numbered || naming.control == BackupControl::Existing
                                      ? HighestBackupNumber(table)
                                      : 0;
    switch (naming.control) {
    case BackupControl::None: return std::nullopt;
    case BackupControl::Existing:
        if (highest > 0) break;
        [[fallthrough]];
    case BackupControl::Simple: {
        std::filesystem::path backup = table;
        backup += PathFromUtf8(naming.suffix);
        return backup;
    }
    case BackupControl::Numbered: break;
    }
    // Past any name taken meanwhile, or that the folder's listing did not show: a numbered
    // backup never replaces another.
    std::uint64_t number = highest + 1;
    while (LookAtName(NumberedBackup(table, number)).entry != NameEntry::Nothing) ++number;
    return NumberedBackup(table, number);
}

bool IsBackupSuffix(std::string_view suffix)
{
    return !suffix.empty() && suffix.find('/') == std::string_view::npos
#ifdef _WIN32
           && suffix.find('\\') == std::string_view::npos && suffix.find(':') == std::string_view::npos
#endif
        ;
}

} // namespace rw
