#include "table/TableDocument.h"

#include "data/DataFile.h"

namespace rw {

TableDocument::TableDocument(QObject* parent) : QObject(parent) {}

LoadReport TableDocument::Load(std::filesystem::path path, std::string bareName)
{
    LoadedTable loaded = LoadDataFile(path, bareName, m_keys);
    if (!loaded.report.Loaded()) return loaded.report;
    // A key kept from the table before names nothing in this one.
    loaded.table->SetGeneration(++m_generation);
    m_model.Replace(std::move(*loaded.table));
    m_kind = Table().Kind();
    m_filePath = std::move(path);
    m_fileName = std::move(bareName);
    m_modified = false;
    m_loadedStamp = loaded.report.decode.stamp;
    m_loadedFingerprint = FingerprintOf(loaded.report.decode);
    emit Loaded();
    return loaded.report;
}

LoadReport TableDocument::Reload()
{
    // Copies: the load replaces both.
    return Load(m_filePath, m_fileName);
}

PutResult TableDocument::Put(const Record& record, int row)
{
    PutResult result = m_model.Put(record, row);
    m_modified = m_modified || result.Accepted();
    return result;
}

PutResult TableDocument::PutByKey(const Record& record, RowKey key)
{
    PutResult result = m_model.PutByKey(record, key);
    m_modified = m_modified || result.Accepted();
    return result;
}

bool TableDocument::DeleteRow(int row)
{
    const bool deleted = m_model.DeleteRow(row);
    m_modified = m_modified || deleted;
    return deleted;
}

SortClick TableDocument::ClickHeader(int column)
{
    const SortClick click = m_sort.Click(column);
    m_model.Sort(click.column, click.ascending);
    return click;
}

std::optional<std::int32_t> TableDocument::FirstIdASaveLoses() const
{
    // A monster file keeps its count where the first record's ID would be.
    if (Table().Kind() != FileKind::Monster || Table().RowCount() == 0 || Table().IdOfRow(0) == 0) return std::nullopt;
    return Table().IdOfRow(0);
}

bool TableDocument::ChangedOnDisk(const std::filesystem::path& target) const
{
    if (!IsLoadedFile(target)) return false;
    std::error_code error;
    if (!std::filesystem::exists(target, error)) return false;
    const std::optional<DataFileFingerprint> now = FingerprintDataFile(target, m_kind);
    return !now || *now != m_loadedFingerprint;
}

WriteReport TableDocument::SaveAs(const std::filesystem::path& target)
{
    WriteReport report = SaveDataFile(target, Table(), m_keys.For(Table().Kind()));
    if (!report.written) return report;
    m_modified = false;
    if (IsLoadedFile(target)) {
        m_loadedFingerprint = report.fingerprint;
        if (const auto stamp = StampOf(m_filePath)) m_loadedStamp = *stamp;
    }
    return report;
}

std::string TableDocument::ProposedSaveName() const
{
    const std::size_t dot = m_fileName.find('.');
    return (dot == std::string::npos ? std::string() : m_fileName.substr(0, dot)) + "2";
}

bool TableDocument::IsLoadedFile(const std::filesystem::path& target) const
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

} // namespace rw
