#include "table/TableEdits.h"

#include "data/DecimalText.h"
#include "data/ListedFirst.h"
#include "data/UniqueIds.h"
#include "table/TableDocument.h"
#include "text/GbkCodec.h"

#include <algorithm>
#include <limits>

namespace rw {
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

TableEdits::TableEdits(TableDocument& document) : m_document(document), m_model(document.Model()) {}

const RecordTable& TableEdits::Table() const { return m_model.Table(); }

void TableEdits::Push(QUndoCommand* step) { m_document.History().push(step); }

void TableEdits::Push(std::unique_ptr<WriteStep> step)
{
    if (!step->Empty()) Push(step.release());
}

PutResult TableEdits::Put(const Record& record, int row)
{
    const PutResult result = Table().CheckPut(record, row);
    if (!result.Accepted()) return result;
    if (row == -1) {
        Push(new AppendStep(m_model, {record}, Name({StepKind::Add, -1, record.Id(), 1})));
        return result;
    }
    auto step = std::make_unique<WriteStep>(m_model, Name({StepKind::Modify, -1, record.Id(), 1}));
    step->Add(Table().SlotOfRow(row), record.Bytes());
    // A record put back as it was changes nothing, and is no step.
    Push(std::move(step));
    return result;
}

PutResult TableEdits::PutByKey(const Record& record, RowKey key)
{
    const PutResult check = Table().CheckPutByKey(record, key);
    return check.Accepted() ? Put(record, check.row) : check;
}

bool TableEdits::DeleteRow(int row)
{
    if (row < 0 || row >= Table().RowCount()) return false;
    Push(new RemoveStep(m_model, {row}, Name({StepKind::Delete, -1, Table().IdOfRow(row), 1})));
    return true;
}

SortClick TableEdits::ClickHeader(int column)
{
    const SortedBy before = m_document.SortOrder();
    SortedBy after = before;
    const SortClick click = after.state.Click(column);
    after.shown = true;
    Push(new SortStep(m_model, before, after, [this](const SortedBy& sort) { m_document.SetSorting(sort); },
                      Name({StepKind::Sort, click.column, 0, 0})));
    return click;
}

PutResult TableEdits::EditCell(int row, int column, const QString& text)
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
        record.SetTypedName(FitGbk(text, record.Schema().TypedNameCapacity()).bytes);
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
    Push(std::move(step));
    return check;
}

std::size_t TableEdits::DeleteRows(std::vector<int> rows)
{
    rows = ValidRows(std::move(rows), Table().RowCount());
    if (rows.empty()) return 0;
    const std::size_t count = rows.size();
    const std::int32_t id = Table().IdOfRow(rows.front());
    Push(new RemoveStep(m_model, std::move(rows), Name({StepKind::Delete, -1, id, count})));
    return count;
}

std::size_t TableEdits::CopyAsNew(std::vector<int> rows)
{
    std::erase_if(rows, [&](int row) { return row < 0 || row >= Table().RowCount(); });
    if (rows.empty()) return 0;
    std::vector<Record> copies;
    copies.reserve(rows.size());
    // IDs past the largest are held by no row: the copies need no other check.
    const bool freshIds = Table().Ids().Enforced();
    const std::int64_t first = std::int64_t{Table().GetMaxId()} + 1;
    if (freshIds && first + static_cast<std::int64_t>(rows.size()) - 1 > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        copies.push_back(Table().ReadRow(rows[i]));
        if (freshIds) copies.back().SetId(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)));
    }
    const std::size_t count = copies.size();
    Push(new AppendStep(m_model, std::move(copies), Name({StepKind::CopyAsNew, -1, 0, count})));
    return count;
}

IdBatch::Rewrites TableEdits::RewritesOf(const std::vector<int>& rows) const
{
    // The rows written over give their IDs up; the others keep theirs. IDs are held by slot,
    // which sorting and deleting leave alone, so a holder is found by its slot's row.
    std::vector<bool> rewritten(static_cast<std::size_t>(Table().RowCount()), false);
    for (const int row : rows) rewritten[static_cast<std::size_t>(row)] = true;
    return [&table = Table(), rewritten = std::move(rewritten)](std::uint32_t holder) {
        return static_cast<bool>(rewritten[static_cast<std::size_t>(table.RowOfSlot(holder))]);
    };
}

std::optional<BulkPlan> TableEdits::Plan(std::vector<int>& rows, const BulkChange& change, BulkChangeResult& refusal) const
{
    const RecordTable& table = Table();
    rows = ValidRows(std::move(rows), table.RowCount());
    if (rows.empty() || change.column == kNameColumn || change.column < 0 || change.column >= table.ColumnCount()) {
        return std::nullopt;
    }
    BulkRecords records;
    records.count = rows.size();
    records.recordAt = [&](std::size_t member) { return table.RowBytes(rows[member]).data(); };
    records.held = &table.Ids();
    if (change.column == kIdColumn) records.rewrites = RewritesOf(rows);
    BulkPlan plan = PlanBulkChange(change, records);
    refusal.outcome = plan.outcome;
    for (const std::size_t member : plan.members) refusal.rows.push_back(rows[member]);
    return plan;
}

BulkChangeResult TableEdits::ChangeRows(std::vector<int> rows, const BulkChange& change)
{
    BulkChangeResult result;
    const std::optional<BulkPlan> plan = Plan(rows, change, result);
    if (!plan || plan->outcome != BulkPlan::Outcome::Done) return result;
    const RecordTable& table = Table();
    const StepLabel label = change.formula.empty() ? StepLabel{StepKind::BulkChange, change.column, 0, rows.size()}
                                                   : StepLabel{StepKind::Formula, change.column, 0, rows.size(), change.formula};
    auto step = std::make_unique<WriteStep>(m_model, Name(label));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Record record = table.ReadRow(rows[i]);
        record.SetValue(change.column, plan->values[i]);
        step->Add(table.SlotOfRow(rows[i]), record.Bytes());
    }
    Push(std::move(step));
    return result;
}

BulkPreview TableEdits::PreviewChange(std::vector<int> rows, const BulkChange& change) const
{
    BulkPreview preview;
    const std::optional<BulkPlan> plan = Plan(rows, change, preview.refusal);
    if (!plan) return preview;
    const RecordTable& table = Table();
    for (std::size_t i = 0; i < plan->values.size(); ++i) {
        const std::int32_t before = table.Value(rows[i], change.column);
        if (before == plan->values[i]) continue;
        ++preview.changing;
        if (preview.first.size() < kRecordsNamed) preview.first.push_back({table.IdOfRow(rows[i]), before, plan->values[i]});
    }
    return preview;
}

BulkChangeResult TableEdits::WriteColumn(const std::vector<int>& rows, int column,
                                         const std::vector<std::int32_t>& values, const StepLabel& label)
{
    BulkChangeResult result;
    const RecordTable& table = Table();
    if (column == kIdColumn) {
        result.rows = RowsRepeatingIds(rows, values);
        if (!result.rows.empty()) {
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
    Push(std::move(step));
    return result;
}

std::vector<int> TableEdits::RowsRepeatingIds(const std::vector<int>& rows, const std::vector<std::int32_t>& ids) const
{
    std::vector<int> repeating;
    for (const std::size_t member : MembersSharingIds(Table().Ids(), RewritesOf(rows), ids)) repeating.push_back(rows[member]);
    SortUnique(repeating);
    return repeating;
}

std::vector<std::int32_t> TableEdits::PasteRecords(std::vector<Record> records)
{
    std::vector<std::int32_t> refused;
    IdBatch batch(Table().Ids());
    std::uint32_t member = 0;
    std::erase_if(records, [&](const Record& record) {
        const bool taken = batch.Claim(record.Id(), member++) != UniqueIds::kNobody;
        if (taken) refused.push_back(record.Id());
        return taken;
    });
    if (!records.empty()) {
        const std::size_t count = records.size();
        Push(new AppendStep(m_model, std::move(records), Name({StepKind::Paste, -1, 0, count})));
    }
    return refused;
}

CellsResult TableEdits::SetCells(std::vector<int> rows, int column, const std::vector<QString>& texts)
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
            record.SetTypedName(FitGbk(textOf(i), record.Schema().TypedNameCapacity()).bytes);
            step->Add(table.SlotOfRow(rows[i]), record.Bytes());
        }
        Push(std::move(step));
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

void TableEdits::ImportRecords(FileKind kind, const RecordStore& records)
{
    if (!m_document.HasFile()) m_document.StartWithoutFile(kind);
    const SortedBy before = m_document.SortOrder();
    SortedBy after = before;
    after.shown = false;
    Push(new ImportStep(m_model, records, before, after, [this](const SortedBy& sort) { m_document.SetSorting(sort); },
                        Name({StepKind::Import, -1, 0, records.Count()})));
}

std::vector<std::int32_t> TableEdits::TakeOver(const std::vector<std::size_t>& indexes)
{
    std::vector<std::int32_t> refused;
    const Comparison* comparison = m_document.CurrentComparison();
    if (!comparison) return refused;
    RecordStore records(Table().Schema().recordSize);
    std::vector<std::size_t> taken;
    IdBatch batch(Table().Ids());
    for (const std::size_t i : indexes) {
        const std::span<const std::uint8_t> record = comparison->OtherRecord(i);
        const std::int32_t id = LoadInt32(record.data());
        if (batch.Claim(id, static_cast<std::uint32_t>(taken.size())) != UniqueIds::kNobody) {
            refused.push_back(id);
            continue;
        }
        records.Append(record);
        taken.push_back(i);
    }
    if (taken.empty()) return refused;
    auto* step = new AppendStep(m_model, std::move(records), Name({StepKind::TakeOver, -1, 0, taken.size()}));
    Push(step);
    std::vector<std::uint32_t> placed;
    for (const RecordTable::RowSlot& added : step->Added()) placed.push_back(added.slot);
    m_document.PairTakenOver(taken, placed);
    return refused;
}

TakenValues TableEdits::TakeOtherValues(std::vector<int> rows, int column)
{
    TakenValues result;
    const Comparison* comparison = m_document.CurrentComparison();
    const RecordTable& table = Table();
    if (!comparison || column < 0 || column >= table.ColumnCount()) return result;
    rows = ValidRows(std::move(rows), table.RowCount());
    // A row with no counterpart has nothing to take, though its ID cell is marked.
    std::erase_if(rows, [&](int row) {
        return !((m_model.DifferingColumns(row) >> column) & 1U) || comparison->CounterpartOf(table, row).empty();
    });
    if (rows.empty()) return result;
    std::vector<Record> records;
    records.reserve(rows.size());
    for (const int row : rows) {
        const Record here = table.ReadRow(row);
        Record there(table.Kind(), comparison->CounterpartOf(table, row));
        if (column == kIdColumn) {
            // The other record with every shown value but its ID as the row has it.
            for (int shown = 0; shown < table.ColumnCount(); ++shown) {
                if (shown != kIdColumn && shown != kNameColumn) there.SetValue(shown, here.Value(shown));
            }
            (void)there.SetName(here.Name());
            records.push_back(std::move(there));
            continue;
        }
        Record taken = here;
        if (column == kNameColumn) {
            (void)taken.SetName(there.Name());
        } else {
            taken.SetValue(column, there.Value(column));
        }
        records.push_back(std::move(taken));
    }
    if (column == kIdColumn) {
        std::vector<std::int32_t> ids(records.size());
        std::transform(records.begin(), records.end(), ids.begin(), [](const Record& record) { return record.Id(); });
        const std::vector<int> repeating = RowsRepeatingIds(rows, ids);
        for (const int row : repeating) {
            const auto at = static_cast<std::size_t>(std::lower_bound(rows.begin(), rows.end(), row) - rows.begin());
            result.repeatedIds.push_back(ids[at]);
        }
        std::sort(result.repeatedIds.begin(), result.repeatedIds.end());
        result.repeatedIds.erase(std::unique(result.repeatedIds.begin(), result.repeatedIds.end()), result.repeatedIds.end());
        if (!result.repeatedIds.empty()) return result;
    }
    auto step = std::make_unique<WriteStep>(m_model, Name({StepKind::TakeValue, column, 0, rows.size()}));
    for (std::size_t i = 0; i < rows.size(); ++i) step->Add(table.SlotOfRow(rows[i]), records[i].Bytes());
    result.cells = rows.size();
    Push(std::move(step));
    return result;
}

} // namespace rw
