#include "table/TableSession.h"

namespace rw {

LoadReport TableSession::Load(std::filesystem::path path, std::string bareName, const KeySet& keys)
{
    LoadedTable loaded = LoadDataFile(path, bareName, keys);
    if (loaded.report.Loaded()) {
        Replace(std::move(*loaded.table), std::move(path), std::move(bareName), loaded.report.decode);
    }
    return loaded.report;
}

void TableSession::Replace(RecordTable table, std::filesystem::path path, std::string bareName,
                           const DecodeReport& read)
{
    m_table = std::move(table);
    m_kind = m_table.Kind();
    m_filePath = std::move(path);
    m_fileName = std::move(bareName);
    m_modified = false;
    m_loadedStamp = read.stamp;
    m_loadedFingerprint = FingerprintOf(read);
}

void TableSession::MarkSaved(const std::filesystem::path& path, const DataFileFingerprint& fingerprint)
{
    m_modified = false;
    if (!IsLoadedFile(path)) return;
    m_loadedFingerprint = fingerprint;
    if (const auto stamp = StampOf(m_filePath)) m_loadedStamp = *stamp;
}

bool TableSession::ChangedOnDisk(const std::filesystem::path& target) const
{
    if (!IsLoadedFile(target)) return false;
    std::error_code error;
    if (!std::filesystem::exists(target, error)) return false;
    const std::optional<DataFileFingerprint> now = FingerprintDataFile(target, m_kind);
    return !now || *now != m_loadedFingerprint;
}

bool TableSession::IsLoadedFile(const std::filesystem::path& target) const
{
    if (!HasFile()) return false;
    // By name, for a file another program has replaced by a new one of the same name; by
    // identity, for the same file reached through another name (a hard link), as long as
    // the loaded name still reaches it: a file replaced since may hand its number on.
    std::error_code error;
    const auto loaded = std::filesystem::weakly_canonical(m_filePath, error);
    const auto wanted = std::filesystem::weakly_canonical(target, error);
    if (!error && loaded == wanted) return true;
    const std::optional<FileStamp> stamp = StampOf(target);
    const std::optional<FileStamp> stillLoaded = StampOf(m_filePath);
    return stamp && stillLoaded && stamp->SameFileAs(m_loadedStamp) && stillLoaded->SameFileAs(m_loadedStamp);
}

PutResult TableSession::Put(const Record& record, int row) { return Changed(m_table.PutRecord(record, row)); }

PutResult TableSession::PutByKey(const Record& record, RowKey key)
{
    return Changed(m_table.PutRecordByKey(record, key));
}

bool TableSession::DeleteRow(int row)
{
    const bool deleted = m_table.DeleteRow(row);
    m_modified = m_modified || deleted;
    return deleted;
}

SortClick TableSession::ClickHeader(int column)
{
    const SortClick click = m_sort.Click(column);
    m_table.Sort(click.column, click.ascending);
    return click;
}

PutResult TableSession::Changed(PutResult result)
{
    m_modified = m_modified || result.Accepted();
    return result;
}

} // namespace rw
