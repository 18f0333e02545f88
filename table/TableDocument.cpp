#include "table/TableDocument.h"

#include "data/DataFile.h"

#include <memory>

namespace rw {

TableDocument::TableDocument(QObject* parent) : QObject(parent)
{
    connect(&m_history, &QUndoStack::indexChanged, this, &TableDocument::Changed);
    connect(&m_history, &QUndoStack::cleanChanged, this, &TableDocument::Changed);
}

LoadReport TableDocument::Load(std::filesystem::path path, std::string bareName)
{
    LoadedTable loaded = LoadDataFile(path, bareName, m_keys);
    if (!loaded.report.Loaded()) return loaded.report;
    // A key kept from the table before names nothing in this one.
    loaded.table->SetGeneration(++m_generation);
    loaded.table->MarkBaseline();
    m_history.clear();
    m_model.Replace(std::move(*loaded.table));
    m_kind = Table().Kind();
    m_filePath = std::move(path);
    m_fileName = std::move(bareName);
    m_loadedStamp = loaded.report.decode.stamp;
    m_loadedFingerprint = FingerprintOf(loaded.report.decode);
    m_sort.shown = false;
    emit Loaded();
    emit Changed();
    return loaded.report;
}

LoadReport TableDocument::Reload()
{
    // Copies: the load replaces both.
    return Load(m_filePath, m_fileName);
}

PutResult TableDocument::Put(const Record& record, int row)
{
    const PutResult result = Table().CheckPut(record, row);
    if (!result.Accepted()) return result;
    if (row == -1) {
        m_history.push(new AppendStep(m_model, {record}, Name({StepKind::Add, -1, record.Id(), 1})));
        return result;
    }
    auto step = std::make_unique<WriteStep>(m_model, Name({StepKind::Modify, -1, record.Id(), 1}));
    step->Add(Table().SlotOfRow(row), record.Bytes());
    // A record put back as it was changes nothing, and is no step.
    if (!step->Empty()) m_history.push(step.release());
    return result;
}

PutResult TableDocument::PutByKey(const Record& record, RowKey key)
{
    const int row = Table().RowOfKey(key);
    if (row >= 0) return Put(record, row);
    PutResult result;
    result.outcome = record.Kind() != Table().Kind() ? PutOutcome::WrongKind : PutOutcome::NoSuchRow;
    result.id = record.Id();
    return result;
}

bool TableDocument::DeleteRow(int row)
{
    if (row < 0 || row >= Table().RowCount()) return false;
    m_history.push(new RemoveStep(m_model, {row}, Name({StepKind::Delete, -1, Table().IdOfRow(row), 1})));
    return true;
}

SortClick TableDocument::ClickHeader(int column)
{
    SortedBy after = m_sort;
    const SortClick click = after.state.Click(column);
    after.shown = true;
    m_history.push(new SortStep(m_model, m_sort, after, [this](const SortedBy& sort) { SetSorting(sort); },
                                Name({StepKind::Sort, click.column, 0, 0})));
    return click;
}

void TableDocument::SetSorting(const SortedBy& sort)
{
    m_sort = sort;
    emit SortChanged(sort.shown ? sort.state.Column() : -1, sort.state.Ascending());
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
    m_model.MarkBaseline();
    m_history.setClean();
    emit Changed();
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
