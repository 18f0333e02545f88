#pragma once

// The names backups take beside a table: one generation under a suffix, or every one
// numbered, by the convention that cp, mv and install share.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

// Where a table's backup goes: one generation, its name followed by ".bak".
[[nodiscard]] std::filesystem::path BackupPathOf(const std::filesystem::path& table);

// Which backups to keep, by the convention cp, mv and install share: none; one, the table's
// name followed by a suffix (simple); every one, as NAME.~1~, NAME.~2~, … (numbered); or
// numbered ones for a table that has one already and a simple one otherwise (existing).
enum class BackupControl : std::uint8_t { None, Simple, Numbered, Existing };
struct BackupNaming {
    BackupControl control = BackupControl::Simple;
    std::string suffix = ".bak"; // of a simple backup
};
// Where the backup of table goes by naming: for a numbered one, one past the highest number
// a backup of table has in its folder. Nothing for None.
[[nodiscard]] std::optional<std::filesystem::path> BackupPathFor(const std::filesystem::path& table, const BackupNaming& naming);
// A suffix that keeps a simple backup beside the table and apart from it: not empty, no folder.
[[nodiscard]] bool IsBackupSuffix(std::string_view suffix);

} // namespace rw
