#include "table/TableDocument.h"

#include "data/DataFile.h"

#include <QDateTime>
#include "data/DecimalText.h"
#include "text/GbkCodec.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace rw {

TableDocument::TableDocument(QObject* parent) : QObject(parent)
{
    connect(&m_history, &QUndoStack::indexChanged, this, &TableDocument::Changed);
    connect(&m_history, &QUndoStack::cleanChanged, this, &TableDocument::Changed);
}

LoadReport TableDocument::Load(std::filesystem::path path, std::string bareName, FileKind kind)
{
    LoadedTable loaded = kind == FileKind::None ? LoadDataFile(path, bareName, m_keys)
                                                : LoadDataFileOfKind(path, kind, m_keys);
    if (!loaded.report.Loaded()) return loaded.report;
    ClearComparison();
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
    m_loadedReport = loaded.report.decode;
    m_loss = LossOf(loaded.report);
    m_backedUp = false;
    m_openedFileBehind = false;
    m_savedKey = m_keys.For(m_kind);
    m_loadedAtMs = QDateTime::currentMSecsSinceEpoch();
    m_sort.shown = false;
    emit Loaded();
    emit Changed();
    return loaded.report;
}

LoadReport TableDocument::Reload()
{
    // Copies: the load replaces both.
    return Load(m_filePath, m_fileName, m_kind);
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

PutResult TableDocument::EditCell(int row, int column, const QString& text)
{
    PutResult result;
    if (row < 0 || row >= Table().RowCount() || column < 0 || column >= Table().ColumnCount()) {
        result.outcome = PutOutcome::NoSuchRow;
        return result;
    }
    Record record = Table().ReadRow(row);
    result.id = record.Id();
    if (column == kNameColumn) {
        if (text == GbkCodec::Instance().Decode(record.Name())) return result;
        record.SetTypedName(FitGbk(text, record.Schema().nameCapacity - 1).bytes);
    } else {
        const std::optional<std::int32_t> value = ParseStrictInt32(text.toStdString());
        if (!value) {
            result.outcome = PutOutcome::NotANumber;
            return result;
        }
        record.SetValue(column, *value);
    }
    const PutResult check = Table().CheckPut(record, row);
    if (!check.Accepted()) return check;
    auto step = std::make_unique<WriteStep>(m_model, Name({StepKind::EditCell, column, record.Id(), 1}));
    step->Add(Table().SlotOfRow(row), record.Bytes());
    if (!step->Empty()) m_history.push(step.release());
    return check;
}

namespace {

void SortUnique(std::vector<int>& rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

// The rows a command may act on: those that name a row, once each, ascending.
std::vector<int> ValidRows(std::vector<int> rows, int rowCount)
{
    std::erase_if(rows, [&](int row) { return row < 0 || row >= rowCount; });
    SortUnique(rows);
    return rows;
}

} // namespace

std::size_t TableDocument::DeleteRows(std::vector<int> rows)
{
    rows = ValidRows(std::move(rows), Table().RowCount());
    if (rows.empty()) return 0;
    const std::size_t count = rows.size();
    const std::int32_t id = Table().IdOfRow(rows.front());
    m_history.push(new RemoveStep(m_model, std::move(rows), Name({StepKind::Delete, -1, id, count})));
    return count;
}

std::size_t TableDocument::CopyAsNew(std::vector<int> rows)
{
    std::erase_if(rows, [&](int row) { return row < 0 || row >= Table().RowCount(); });
    if (rows.empty()) return 0;
    std::vector<Record> copies;
    copies.reserve(rows.size());
    const bool freshIds = Table().Schema().uniqueIds;
    const std::int64_t first = std::int64_t{Table().GetMaxId()} + 1;
    if (freshIds && first + static_cast<std::int64_t>(rows.size()) - 1 > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        copies.push_back(Table().ReadRow(rows[i]));
        if (freshIds) copies.back().SetId(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)));
    }
    const std::size_t count = copies.size();
    m_history.push(new AppendStep(m_model, std::move(copies), Name({StepKind::CopyAsNew, -1, 0, count})));
    return count;
}

BulkChangeResult TableDocument::BulkChange(std::vector<int> rows, const struct BulkChange& change)
{
    BulkChangeResult result;
    const RecordTable& table = Table();
    rows = ValidRows(std::move(rows), table.RowCount());
    if (rows.empty() || change.column == kNameColumn || change.column < 0 || change.column >= table.ColumnCount()) {
        return result;
    }
    std::vector<std::int32_t> values(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::int64_t now = table.Value(rows[i], change.column);
        double wanted = 0;
        switch (change.operation) {
        case BulkOperation::Set: wanted = static_cast<double>(change.value); break;
        case BulkOperation::Add: wanted = static_cast<double>(now + change.value); break;
        case BulkOperation::Multiply: wanted = std::round(static_cast<double>(now) * change.factor); break;
        }
        if (!(wanted >= std::numeric_limits<std::int32_t>::min() && wanted <= std::numeric_limits<std::int32_t>::max())) {
            result.rows.push_back(rows[i]);
            continue;
        }
        values[i] = static_cast<std::int32_t>(wanted);
    }
    if (!result.rows.empty()) {
        result.outcome = BulkChangeResult::Outcome::OutOfRange;
        return result;
    }
    return WriteColumn(rows, change.column, values, {StepKind::BulkChange, change.column, 0, rows.size()});
}

BulkChangeResult TableDocument::WriteColumn(const std::vector<int>& rows, int column,
                                            const std::vector<std::int32_t>& values, const StepLabel& label)
{
    BulkChangeResult result;
    const RecordTable& table = Table();
    if (column == kIdColumn && table.Schema().uniqueIds) {
        // Against the rows left alone, and among the changed ones.
        std::vector<bool> changing(table.RowCount(), false);
        for (const int row : rows) changing[static_cast<std::size_t>(row)] = true;
        std::vector<std::pair<std::int32_t, int>> taken; // new ID, row
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int holder = table.RowWithId(values[i]);
            if (holder >= 0 && !changing[static_cast<std::size_t>(holder)]) result.rows.push_back(rows[i]);
            taken.emplace_back(values[i], rows[i]);
        }
        std::sort(taken.begin(), taken.end());
        for (std::size_t i = 1; i < taken.size(); ++i) {
            if (taken[i].first == taken[i - 1].first) result.rows.insert(result.rows.end(), {taken[i - 1].second, taken[i].second});
        }
        if (!result.rows.empty()) {
            SortUnique(result.rows);
            result.outcome = BulkChangeResult::Outcome::DuplicateId;
            return result;
        }
    }
    auto step = std::make_unique<WriteStep>(m_model, Name(label));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Record record = table.ReadRow(rows[i]);
        record.SetValue(column, values[i]);
        step->Add(table.SlotOfRow(rows[i]), record.Bytes());
    }
    if (!step->Empty()) m_history.push(step.release());
    return result;
}

std::vector<std::int32_t> TableDocument::PasteRecords(std::vector<Record> records)
{
    std::vector<std::int32_t> refused;
    if (Table().Schema().uniqueIds) {
        std::erase_if(records, [&](const Record& record) {
            const bool taken = Table().RowWithId(record.Id()) >= 0;
            if (taken) refused.push_back(record.Id());
            return taken;
        });
    }
    if (!records.empty()) {
        const std::size_t count = records.size();
        m_history.push(new AppendStep(m_model, std::move(records), Name({StepKind::Paste, -1, 0, count})));
    }
    return refused;
}

CellsResult TableDocument::SetCells(std::vector<int> rows, int column, const std::vector<QString>& texts)
{
    CellsResult result;
    const RecordTable& table = Table();
    rows = ValidRows(std::move(rows), table.RowCount());
    if (rows.empty() || column < 0 || column >= table.ColumnCount()) return result;
    if (texts.size() != 1 && texts.size() != rows.size()) {
        result.outcome = CellsResult::Outcome::CountMismatch;
        return result;
    }
    const auto textOf = [&](std::size_t i) -> const QString& { return texts[texts.size() == 1 ? 0 : i]; };
    const StepLabel label{StepKind::EditCell, column, 0, rows.size()};
    if (column == kNameColumn) {
        // A character GBK cannot write would vanish from the name without a word, as it does
        // not from a pasted row or an import.
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (!GbkCodec::Instance().Encode(texts[i])) {
                result.outcome = CellsResult::Outcome::NotGbk;
                result.text = i;
                return result;
            }
        }
        auto step = std::make_unique<WriteStep>(m_model, Name(label));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Record record = table.ReadRow(rows[i]);
            record.SetTypedName(FitGbk(textOf(i), record.Schema().nameCapacity - 1).bytes);
            step->Add(table.SlotOfRow(rows[i]), record.Bytes());
        }
        if (!step->Empty()) m_history.push(step.release());
        return result;
    }
    std::vector<std::int32_t> values(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::optional<std::int32_t> value = ParseStrictInt32(textOf(i).toStdString());
        if (!value) {
            result.outcome = CellsResult::Outcome::NotANumber;
            result.text = texts.size() == 1 ? 0 : i;
            return result;
        }
        values[i] = *value;
    }
    const BulkChangeResult written = WriteColumn(rows, column, values, label);
    if (written.outcome == BulkChangeResult::Outcome::DuplicateId) {
        result.outcome = CellsResult::Outcome::DuplicateId;
        result.rows = written.rows;
    }
    return result;
}

void TableDocument::SetSorting(const SortedBy& sort)
{
    m_sort = sort;
    emit SortChanged(sort.shown ? sort.state.Column() : -1, sort.state.Ascending());
}

void TableDocument::ImportRecords(FileKind kind, const RecordStore& records)
{
    if (!HasFile()) {
        RecordTable empty(kind);
        empty.SetGeneration(++m_generation);
        empty.MarkBaseline();
        m_history.clear();
        m_model.Replace(std::move(empty));
        m_kind = kind;
        m_filePath.clear();
        m_fileName = SchemaOf(kind).fileName;
        m_loadedReport = {};
        m_loss = {};
        m_backedUp = false;
        m_savedKey = m_keys.For(kind);
        m_loadedFingerprint = {};
        m_loadedAtMs = QDateTime::currentMSecsSinceEpoch();
        m_sort.shown = false;
        emit Loaded();
    }
    SortedBy after = m_sort;
    after.shown = false;
    m_history.push(new ImportStep(m_model, records, m_sort, after, [this](const SortedBy& sort) { SetSorting(sort); },
                                  Name({StepKind::Import, -1, 0, records.Count()})));
}

DecodeReport TableDocument::CompareWith(const std::filesystem::path& path, std::string shownName)
{
    DecodedRecords other = ReadDataFile(path, m_kind, m_keys.For(m_kind));
    if (!other.report.loaded) return other.report;
    DecodeReport report = other.report;
    auto comparison = std::make_unique<Comparison>(Table(), std::move(other), std::move(shownName));
    m_model.SetComparison(nullptr);
    m_comparison = std::move(comparison);
    m_model.SetComparison(m_comparison.get());
    emit ComparisonChanged();
    return report;
}

void TableDocument::ClearComparison()
{
    if (!m_comparison) return;
    m_model.SetComparison(nullptr);
    m_comparison.reset();
    emit ComparisonChanged();
}

std::vector<std::int32_t> TableDocument::TakeOver(const std::vector<std::size_t>& indexes)
{
    std::vector<std::int32_t> refused;
    if (!m_comparison) return refused;
    RecordStore records(Table().Schema().recordSize);
    std::vector<std::size_t> taken;
    IdIndex ids;
    for (const std::size_t i : indexes) {
        const std::span<const std::uint8_t> record = m_comparison->OtherRecord(i);
        const std::int32_t id = LoadInt32(record.data());
        if (Table().Schema().uniqueIds && (Table().RowWithId(id) >= 0 || ids.Insert(id, 0) != IdIndex::kNone)) {
            refused.push_back(id);
            continue;
        }
        records.Append(record);
        taken.push_back(i);
    }
    if (taken.empty()) return refused;
    auto* step = new AppendStep(m_model, std::move(records), Name({StepKind::TakeOver, -1, 0, taken.size()}));
    m_history.push(step);
    std::vector<std::uint32_t> placed;
    for (const RecordTable::RowSlot& added : step->Added()) placed.push_back(added.slot);
    m_comparison->Paired(taken, placed);
    return refused;
}

std::optional<std::int32_t> TableDocument::FirstIdASaveLoses() const
{
    // A monster file keeps its count where the first record's ID would be.
    if (Table().Kind() != FileKind::Monster || Table().RowCount() == 0 || Table().IdOfRow(0) == 0) return std::nullopt;
    return Table().IdOfRow(0);
}

bool TableDocument::HasUnsavedWork() const
{
    return Modified() || m_openedFileBehind || (HasFile() && m_keys.For(m_kind) != m_savedKey);
}

bool TableDocument::ChangedOnDisk(const std::filesystem::path& target) const
{
    if (!IsLoadedFile(target)) return false;
    std::error_code error;
    if (!std::filesystem::exists(target, error) || std::filesystem::is_directory(target, error)) return false;
    const std::optional<DataFileFingerprint> now = FingerprintDataFile(target, m_kind);
    return !now || *now != m_loadedFingerprint;
}

std::optional<LoadLoss> TableDocument::LossOfSavingOver(const std::filesystem::path& target) const
{
    if (!m_loss.Any() || !IsLoadedFile(target)) return std::nullopt;
    return m_loss;
}

TableDocument::SaveReport TableDocument::SaveAs(const std::filesystem::path& target)
{
    SaveReport report;
    const bool overLoaded = IsLoadedFile(target);
    if (overLoaded && !m_backedUp) {
        report.backup = BackUpFile(m_filePath, BackupPath());
        if (!report.backup.Ok()) return report;
        m_backedUp = true;
    }
    const std::uint8_t key = m_keys.For(Table().Kind());
    const bool changed = HasUnsavedWork();
    report.write = SaveDataFile(target, Table(), key);
    if (!report.write.written) return report;
    // Ctrl+S goes on writing over the opened file until it holds what was saved elsewhere.
    m_openedFileBehind = overLoaded ? false : m_openedFileBehind || changed;
    m_savedKey = key;
    // A table made by an import becomes the file it was first saved as; no file was opened
    // there for a backup to keep.
    if (!HasFilePath()) {
        m_filePath = target;
        m_fileName = target.filename().string();
        m_backedUp = true;
        m_openedFileBehind = false;
        if (const auto stamp = StampOf(m_filePath)) m_loadedStamp = *stamp;
    }
    m_model.MarkBaseline();
    m_history.setClean();
    emit Changed();
    if (overLoaded) {
        m_loadedFingerprint = report.write.fingerprint;
        m_loss = {};
        if (const auto stamp = StampOf(m_filePath)) m_loadedStamp = *stamp;
    }
    emit Saved(target, IsLoadedFile(target));
    return report;
}

std::filesystem::path TableDocument::BackupPath() const
{
    std::filesystem::path backup = m_filePath;
    backup += ".bak";
    return backup;
}

std::string TableDocument::ProposedSaveName() const
{
    // A table made by an import has no file yet: the kind's own name is what it will be.
    if (!HasFilePath()) return m_fileName.substr(0, m_fileName.find('.'));
    const std::size_t dot = m_fileName.find('.');
    return (dot == std::string::npos ? std::string() : m_fileName.substr(0, dot)) + "2";
}

bool TableDocument::IsLoadedFile(const std::filesystem::path& target) const
{
    if (!HasFilePath()) return false;
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
