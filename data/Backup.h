#pragma once

// A copy of a table kept beside it before a save replaces it. The copy is a new regular file
// made under the backup's name: a link planted under that name is not followed, a pipe or a
// device there is neither opened nor written into, and only a regular file of the user's own
// is replaced, so that a backup can neither be sent somewhere else, nor wait forever, nor be
// the table itself.

#include "data/BackupNaming.h"
#include "data/DataFile.h"
#include "system/Platform.h"

#include <cstdint>
#include <filesystem>
#include <optional>
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
    // The table no longer holds what a read of it found: another program has written it since.
    TableChanged,
};

struct BackupReport {
    BackupFault fault = BackupFault::None;
    NameEntry entry = NameEntry::Nothing; // under the backup's name, for NameTaken
    std::error_code error;
    // Nothing stood under the table's name: there was nothing to keep, and nothing was written.
    bool nothingToKeep = false;

    [[nodiscard]] bool Ok() const { return fault == BackupFault::None; }
};

// What the copy must hold: the table as a read of it found it, so that a backup holds what
// was read and never what another program wrote since.
struct ReadContent {
    FileKind kind = FileKind::None;
    DataFileFingerprint fingerprint;
};

// A backup made and flushed to disk under a temporary name beside its place, and put there
// only at Commit: a writer can then replace the table and its backup one right after the
// other, once everything else is sure. Dropped without a Commit, it leaves nothing behind and
// whatever stood under the backup's name as it was.
class PendingBackup {
public:
    // Copies the file table; with expected, only when the bytes copied are what was read.
    PendingBackup(const std::filesystem::path& table, const std::filesystem::path& copy,
                  const std::optional<ReadContent>& expected = std::nullopt);
    PendingBackup(const PendingBackup&) = delete;
    PendingBackup& operator=(const PendingBackup&) = delete;

    // Fine so far, or why not.
    [[nodiscard]] const BackupReport& Report() const { return m_report; }
    // A regular file (an earlier backup) stands under the copy's name, which Commit replaces.
    [[nodiscard]] bool ReplacesEarlier() const { return m_replacesEarlier; }
    // Puts the copy in its place; once.
    [[nodiscard]] BackupReport Commit();

private:
    BackupReport m_report;
    std::optional<AtomicFile> m_copy; // made, not yet in place
    bool m_replacesEarlier = false;
};

// Copies the file table into a new file named copy, beside it, made and flushed under a
// temporary name and then put in copy's place, so that copy holds a whole backup or what it
// held before. A table that is not there is nothing to keep: Ok, nothingToKeep.
[[nodiscard]] BackupReport BackUpFile(const std::filesystem::path& table, const std::filesystem::path& copy);

} // namespace rw
