#include "data/Backup.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] BackupReport Fault(BackupFault fault, std::error_code error = {}, NameEntry entry = NameEntry::Nothing)
{
    BackupReport report;
    report.fault = fault;
    report.error = error;
    report.entry = entry;
    return report;
}

// Whether the table's name, its links followed, ends at the backup's name.
[[nodiscard]] bool LeadsTo(const std::filesystem::path& table, const std::filesystem::path& copy)
{
    std::error_code error;
    const std::filesystem::path reached = std::filesystem::weakly_canonical(table, error);
    if (error) return false;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(std::filesystem::absolute(copy, error).parent_path(), error);
    return !error && reached == folder / copy.filename();
}

} // namespace

PendingBackup::PendingBackup(const std::filesystem::path& table, const std::filesystem::path& copy,
                             const std::optional<ReadContent>& expected)
{
    const NameStatus there = LookAtName(copy);
    if (there.error) {
        m_report = Fault(BackupFault::CannotWrite, there.error);
        return;
    }
    if (there.entry != NameEntry::Nothing && (there.entry != NameEntry::RegularFile || !there.ours)) {
        m_report = Fault(BackupFault::NameTaken, {}, there.entry);
        return;
    }
    if (there.entry == NameEntry::RegularFile && LeadsTo(table, copy)) {
        m_report = Fault(BackupFault::NameIsTable);
        return;
    }
    m_replacesEarlier = there.entry == NameEntry::RegularFile;

    // Closed at the end of this: a name of the table itself (a hard link) is one Windows will
    // not replace while the table is open.
    InputFile from(table, InputFile::Accept::RegularFile);
    if (from.IsNotRegularFile()) {
        std::error_code error;
        m_report = std::filesystem::is_directory(table, error)
                       ? Fault(BackupFault::TableUnreadable, std::make_error_code(std::errc::is_a_directory))
                       : Fault(BackupFault::TableNotAFile);
        return;
    }
    if (!from.IsOpen()) {
        if (from.Error() != std::errc::no_such_file_or_directory) {
            m_report = Fault(BackupFault::TableUnreadable, from.Error());
        } else {
            m_report.nothingToKeep = true;
        }
        return;
    }

    AtomicFile& to = m_copy.emplace(copy, AtomicFile::Placement::NameItself);
    // What the table holds is no more readable in its copy than in the table.
    (void)to.SetPermissions(from.Stamp().permissions);
    std::optional<DataFileFingerprinter> copied;
    if (expected) copied.emplace(expected->kind);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0; to.Ok();) {
        const std::optional<std::size_t> got = from.ReadAt(chunk, at);
        if (!got) {
            m_report = Fault(BackupFault::TableUnreadable, from.Error());
            return;
        }
        if (*got == 0) break;
        const std::span<const std::uint8_t> piece(chunk.data(), *got);
        if (copied) copied->Add(piece);
        (void)to.Write(piece);
        at += *got;
    }
    if (!to.Flush()) {
        m_report = Fault(BackupFault::CannotWrite, to.ErrorCode());
        return;
    }
    if (copied && copied->Finish() != expected->fingerprint) m_report = Fault(BackupFault::TableChanged);
}

BackupReport PendingBackup::Commit()
{
    if (!m_report.Ok() || !m_copy) return m_report;
    if (!m_copy->Commit()) m_report = Fault(BackupFault::CannotWrite, m_copy->ErrorCode());
    m_copy.reset();
    return m_report;
}

BackupReport BackUpFile(const std::filesystem::path& table, const std::filesystem::path& copy)
{
    PendingBackup backup(table, copy);
    return backup.Commit();
}

} // namespace rw
