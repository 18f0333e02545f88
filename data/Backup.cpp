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

std::filesystem::path BackupPathOf(const std::filesystem::path& table)
{
    std::filesystem::path backup = table;
    backup += ".bak";
    return backup;
}

BackupReport BackUpFile(const std::filesystem::path& table, const std::filesystem::path& copy)
{
    const NameStatus there = LookAtName(copy);
    if (there.error) return Fault(BackupFault::CannotWrite, there.error);
    if (there.entry != NameEntry::Nothing && (there.entry != NameEntry::RegularFile || !there.ours)) {
        return Fault(BackupFault::NameTaken, {}, there.entry);
    }
    if (there.entry == NameEntry::RegularFile && LeadsTo(table, copy)) return Fault(BackupFault::NameIsTable);

    std::optional<InputFile> opened(std::in_place, table, InputFile::Accept::RegularFile);
    InputFile& from = *opened;
    if (from.IsNotRegularFile()) {
        std::error_code error;
        if (std::filesystem::is_directory(table, error)) {
            return Fault(BackupFault::TableUnreadable, std::make_error_code(std::errc::is_a_directory));
        }
        return Fault(BackupFault::TableNotAFile);
    }
    if (!from.IsOpen()) {
        if (from.Error() != std::errc::no_such_file_or_directory) return Fault(BackupFault::TableUnreadable, from.Error());
        BackupReport nothing;
        nothing.nothingToKeep = true;
        return nothing;
    }

    AtomicFile to(copy, AtomicFile::Placement::NameItself);
    // What the table holds is no more readable in its copy than in the table.
    (void)to.SetPermissions(from.Stamp().permissions);
    std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
    for (std::uint64_t at = 0; to.Ok();) {
        const std::optional<std::size_t> got = from.ReadAt(chunk, at);
        if (!got) return Fault(BackupFault::TableUnreadable, from.Error());
        if (*got == 0) break;
        (void)to.Write(std::span<const std::uint8_t>(chunk.data(), *got));
        at += *got;
    }
    // Closed first: a name of the table itself (a hard link) is one Windows will not replace
    // while the table is open.
    opened.reset();
    if (!to.Commit()) return Fault(BackupFault::CannotWrite, to.ErrorCode());
    return {};
}

} // namespace rw
