#pragma once

// A copy of a table kept beside it before a save replaces it. The copy is a new regular file
// made under the backup's name: a link planted under that name is not followed, a pipe or a
// device there is neither opened nor written into, and only a regular file of the user's own
// is replaced, so that a backup can neither be sent somewhere else, nor wait forever, nor be
// the table itself.

#include "data/Platform.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace rw {

enum class BackupFault : std::uint8_t {
    None,
    // The table could not be read: error says why (a folder is std::errc::is_a_directory).
    TableUnreadable,
    // The table is a pipe, a device or a socket, which a save does not replace either.
    TableNotAFile,
    // The backup's name holds something other than a regular file of the user's: a link,
    // a folder, a pipe or a device, or a file of another user (entry says which).
    NameTaken,
    // The table's name leads, through links, to the backup's name: a copy put there would be
    // what the save then writes over.
    NameIsTable,
    // The copy could not be written: error says why.
    CannotWrite,
};

struct BackupReport {
    BackupFault fault = BackupFault::None;
    NameEntry entry = NameEntry::Nothing; // under the backup's name, for NameTaken
    std::error_code error;
    // Nothing stood under the table's name: there was nothing to keep, and nothing was written.
    bool nothingToKeep = false;

    [[nodiscard]] bool Ok() const { return fault == BackupFault::None; }
};

// Where a table's backup goes: one generation, its name followed by ".bak".
[[nodiscard]] std::filesystem::path BackupPathOf(const std::filesystem::path& table);

// Copies the file table into a new file named copy, beside it, made and flushed under a
// temporary name and then put in copy's place, so that copy holds a whole backup or what it
// held before. A table that is not there is nothing to keep: Ok, nothingToKeep.
[[nodiscard]] BackupReport BackUpFile(const std::filesystem::path& table, const std::filesystem::path& copy);

} // namespace rw
