#include "view/ListCommands.h"

#include "dialogs/CBulkChangeDlg.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "text/Utf8NameTranscoder.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"
#include "view/ClipboardText.h"
#include "view/CsvMessages.h"
#include "view/MarkedCells.h"
#include "view/RecordFinder.h"
#include "view/RecordLists.h"
#include "view/RecordList.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QStringList>

#include <algorithm>

namespace rw {
namespace {

// "[ID=5], [ID=9]", the first ten, the rest counted.
QString RecordsNamed(const RecordTable& table, const std::vector<int>& rows)
{
    std::vector<std::int32_t> ids(rows.size());
    std::transform(rows.begin(), rows.end(), ids.begin(), [&](int row) { return table.IdOfRow(row); });
    return IdsNamed(ids);
}

} // namespace

ListCommands::ListCommands(TableDocument& document, TableEdits& edits, Prompter& prompter, RecordList& list,
                           RecordFinder& finder, QWidget& form)
    : QObject(&form), m_document(document), m_edits(edits), m_prompter(prompter), m_list(list), m_finder(finder), m_form(form)
{
    AddListActions();
    AddCurrentCellActions();
}

void ListCommands::AddListActions()
{
    const struct {
        const char* text;
        int id;
        QKeySequence key;
        void (ListCommands::*handler)();
    } commands[] = {
        {str::kMenuEditCell, ids::kCmdEditCell, QKeySequence(Qt::Key_F2), &ListCommands::OnEditCell},
        {str::kMenuCopy, ids::kCmdCopy, QKeySequence(QKeySequence::Copy), &ListCommands::OnCopy},
        {str::kMenuPaste, ids::kCmdPaste, QKeySequence(QKeySequence::Paste), &ListCommands::OnPaste},
        {str::kMenuDeleteRows, ids::kCmdDeleteRows, QKeySequence(QKeySequence::Delete), &ListCommands::OnDeleteRows},
        {str::kMenuCopyAsNew, ids::kCmdCopyAsNew, QKeySequence(Qt::CTRL | Qt::Key_D), &ListCommands::OnCopyAsNew},
        {str::kMenuBulkChange, ids::kCmdBulkChange, QKeySequence(Qt::CTRL | Qt::Key_B), &ListCommands::OnBulkChange},
    };
    for (const auto& command : commands) {
        auto* action = new QAction(Text(command.text), &m_list);
        action->setData(command.id);
        action->setShortcut(command.key);
        // The keys act while the list has the focus, and only then; the 编辑 menu, which
        // shows them too, does not make them act elsewhere.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, command.handler);
        m_list.addAction(action);
    }
    m_list.setContextMenuPolicy(Qt::ActionsContextMenu);
    // There is a value to take only while a file is compared with: the context menu offers it
    // then, and the 编辑 menu has it enabled.
    auto* take = new QAction(Text(str::kMenuTakeOtherValue), &m_form);
    take->setData(ids::kCmdTakeOtherValue);
    take->setEnabled(false);
    connect(take, &QAction::triggered, this, &ListCommands::OnTakeOtherValue);
    m_form.addAction(take);
    connect(&m_document, &TableDocument::ComparisonChanged, take, [this, take] {
        const bool comparing = m_document.CurrentComparison() != nullptr;
        take->setEnabled(comparing);
        if (comparing) {
            m_list.addAction(take);
        } else {
            m_list.removeAction(take);
        }
    });
}

void ListCommands::AddCurrentCellActions()
{
    // F8's keys act anywhere in the window; 查看's command has none.
    const struct {
        const char* text;
        int id;
        QKeySequence key;
        int direction; // of F8; 0 for the sort
    } commands[] = {
        {str::kMenuNextDifference, ids::kCmdNextDifference, QKeySequence(Qt::Key_F8), +1},
        {str::kMenuPreviousDifference, ids::kCmdPreviousDifference, QKeySequence(Qt::SHIFT | Qt::Key_F8), -1},
        {str::kMenuSortByColumn, ids::kCmdSortByColumn, {}, 0},
    };
    for (const auto& command : commands) {
        auto* action = new QAction(Text(command.text), &m_form);
        action->setData(command.id);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WindowShortcut);
        const int direction = command.direction;
        connect(action, &QAction::triggered, this, [this, direction] {
            if (direction == 0) {
                OnSortByCurrentColumn();
            } else {
                StepToDifference(direction);
            }
        });
        m_form.addAction(action);
    }
}

void ListCommands::ShowMessage(const QString& text, const char* caption)
{
    m_prompter.ShowMessage(&m_form, text, Text(caption));
}

int ListCommands::CurrentColumnOrSay(const char* text)
{
    const QModelIndex current = m_list.currentIndex();
    if (current.isValid()) return current.column();
    ShowMessage(Text(text), str::kCaptionWarning);
    return -1;
}

void ListCommands::OnEditCell()
{
    const QModelIndex current = m_list.currentIndex();
    if (!current.isValid()) return;
    m_list.setFocus();
    m_list.scrollTo(current);
    m_list.edit(current);
}

void ListCommands::OnSortByCurrentColumn()
{
    if (!m_document.HasFile()) return;
    // The arrow follows the document's sort, which the history may undo.
    if (const int column = CurrentColumnOrSay(str::kSortWithoutColumn); column >= 0) (void)m_edits.ClickHeader(column);
}

void ListCommands::OnDeleteRows()
{
    const std::vector<int> rows = m_finder.SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kDeleteWithoutSelection), str::kCaptionWarning);
        return;
    }
    if (!m_prompter.AskYesNo(&m_form, Text(str::kDeleteRowsFormat, rows.size()), Text(str::kCaptionWarning))) return;
    m_edits.DeleteRows(rows);
}

void ListCommands::OnCopyAsNew()
{
    const std::vector<int> rows = m_finder.SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    const std::size_t copies = m_edits.CopyAsNew(rows);
    if (copies == 0) {
        ShowMessage(Text(str::kCopyAsNewNoIds), str::kCaptionError);
        return;
    }
    // The copies, appended at the end, are what the user works on next: selected, and in sight.
    const int total = m_document.Table().RowCount();
    QItemSelection made;
    QModelIndex first;
    for (int row = total - static_cast<int>(copies); row < total; ++row) {
        const int listRow = m_finder.ListRow(row);
        if (listRow < 0) continue;
        const QModelIndex cell = m_list.model()->index(listRow, 0);
        made.select(cell, cell);
        if (!first.isValid()) first = cell;
    }
    if (!first.isValid()) return;
    QItemSelectionModel& selection = *m_list.selectionModel();
    selection.select(made, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int column = std::max(0, m_list.currentIndex().column());
    selection.setCurrentIndex(m_list.model()->index(first.row(), column), QItemSelectionModel::NoUpdate);
    // As many of them as fit, the first among them.
    m_list.scrollTo(m_list.model()->index(made.last().bottom(), column));
    m_list.scrollTo(selection.currentIndex());
}

void ListCommands::OnBulkChange()
{
    const std::vector<int> rows = m_finder.SelectedRows();
    if (rows.empty()) {
        ShowMessage(Text(str::kModifyWithoutSelection), str::kCaptionWarning);
        return;
    }
    // The current cell's column when it holds numbers, else the one changed last.
    const RecordTable& table = m_document.Table();
    const RecordSchema& schema = table.Schema();
    int column = m_list.currentIndex().column();
    if (column < 0 || column >= schema.ColumnCount() || !schema.Column(column).IsNumeric()) {
        column = m_lastBulkChange ? m_lastBulkChange->column : -1;
    }
    CBulkChangeDlg dialog(table.Kind(), rows.size(), column, m_prompter,
                          [&](const BulkChange& change) { return m_edits.PreviewChange(rows, change); }, &m_form);
    if (m_lastBulkChange) dialog.Propose(*m_lastBulkChange);
    if (dialog.exec() != QDialog::Accepted) return;
    m_lastBulkChange = dialog.Request();
    const BulkChange& change = dialog.Change();
    const BulkChangeResult result = m_edits.ChangeRows(rows, change);
    const QString named = RecordsNamed(table, result.rows);
    const QString title = Text(schema.Column(change.column).title);
    switch (result.outcome) {
    case BulkChangeResult::Outcome::Done: break;
    case BulkChangeResult::Outcome::OutOfRange:
        ShowMessage(Text(str::kBulkOutOfRangeFormat, title, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::Overflow:
        ShowMessage(Text(str::kBulkOverflowFormat, title, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::DivisionByZero:
        ShowMessage(Text(str::kBulkDivisionByZeroFormat, named), str::kCaptionError);
        break;
    case BulkChangeResult::Outcome::DuplicateId:
        ShowMessage(Text(str::kBulkDuplicateIdFormat, named), str::kCaptionError);
        break;
    }
}

void ListCommands::OnCopy()
{
    const std::vector<int> rows = m_finder.SelectedRows();
    if (rows.empty()) return;
    QGuiApplication::clipboard()->setText(Text(std::string_view(RowsAsText(m_document.Table(), rows))));
}

void ListCommands::OnPaste()
{
    if (!m_document.HasFile()) return;
    const QString text = QGuiApplication::clipboard()->text();
    const std::vector<int> rows = m_finder.SelectedRows();
    // One column of values, no header: into the selected rows' cells of the current column.
    if (!text.contains(QLatin1Char('\t')) && !rows.empty()) {
        PasteColumn(text, rows);
    } else {
        PasteRows(text);
    }
}

void ListCommands::PasteColumn(const QString& text, const std::vector<int>& rows)
{
    // The list frames the current cell's column; without a current cell there is no column to
    // take the values.
    const int column = CurrentColumnOrSay(str::kPasteWithoutColumn);
    if (column < 0) return;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    std::vector<QString> values;
    for (const QString& line : lines) values.push_back(line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
    if (values.empty()) {
        ShowMessage(Text(str::kPasteNothing), str::kCaptionWarning);
        return;
    }
    const CellsResult result = m_edits.SetCells(rows, column, values);
    switch (result.outcome) {
    case CellsResult::Outcome::Done: break;
    case CellsResult::Outcome::CountMismatch:
        ShowMessage(Text(str::kPasteCountMismatchFormat, values.size(), rows.size()), str::kCaptionError);
        break;
    case CellsResult::Outcome::NotANumber:
        ShowMessage(Text(str::kPasteCellsBadFormat, result.text + 1, Quoted(values[result.text])), str::kCaptionError);
        break;
    case CellsResult::Outcome::NotGbk:
        ShowMessage(Text(str::kPasteCellsNotGbkFormat, result.text + 1, Quoted(values[result.text])), str::kCaptionError);
        break;
    case CellsResult::Outcome::DuplicateId:
        ShowMessage(Text(str::kPasteCellsDuplicateFormat, RecordsNamed(m_document.Table(), result.rows)),
                    str::kCaptionError);
        break;
    }
}

void ListCommands::PasteRows(const QString& text)
{
    // Rows with their header, from this program or a spreadsheet: appended.
    const RecordTable& table = m_document.Table();
    const Utf8NameTranscoder names;
    RowImporter importer(table.Kind(), names, '\t');
    const QByteArray utf8 = text.toUtf8();
    importer.Consume(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), true);
    if (!importer.Ok()) {
        ShowMessage(Text(str::kPasteBadTextFormat, DescribeCsvErrors(importer, table.Kind())), str::kCaptionError);
        return;
    }
    std::vector<Record> records;
    records.reserve(importer.Records().Count());
    for (std::size_t i = 0; i < importer.Records().Count(); ++i) records.emplace_back(table.Kind(), importer.Records().RecordAt(i));
    if (records.empty()) {
        ShowMessage(Text(str::kPasteNothing), str::kCaptionWarning);
        return;
    }
    const std::vector<std::int32_t> refused = m_edits.PasteRecords(std::move(records));
    if (refused.empty()) return;
    ShowMessage(Text(str::kPasteRefusedFormat, IdsNamed(refused)), str::kCaptionError);
}

void ListCommands::StepToDifference(int direction)
{
    if (!m_document.HasFile()) return;
    const RecordTableModel& model = m_document.Model();
    const bool comparing = model.CurrentComparison() != nullptr;
    // Only the cells the user can see: a hidden column is passed over.
    std::uint64_t shown = 0;
    for (int column = 0; column < model.columnCount(); ++column) {
        if (!m_list.isColumnHidden(column)) shown |= std::uint64_t{1} << column;
    }
    const RowMarks marks = [&](int listRow) {
        const int row = m_finder.TableRow(listRow);
        return comparing ? model.DifferingColumns(row) : model.ChangedColumns(row);
    };
    const QModelIndex current = m_list.currentIndex();
    QAbstractItemModel& list = *m_list.model();
    const std::optional<MarkedCellFound> found =
        NextMarkedCell(list.rowCount(), {current.row(), current.column()}, direction, shown, marks);
    if (!found) {
        emit Reported(Text(comparing ? str::kNoDifferences : str::kNoChangedCells));
        return;
    }
    const QModelIndex cell = list.index(found->cell.row, found->cell.column);
    m_list.setFocus();
    m_list.selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list.scrollTo(cell);
    if (found->wrapped) emit Reported(Text(direction > 0 ? str::kDifferenceWrappedToStart : str::kDifferenceWrappedToEnd));
}

void ListCommands::OnTakeOtherValue()
{
    const Comparison* comparison = m_document.CurrentComparison();
    if (!comparison) {
        ShowMessage(Text(str::kTakeValueWithoutComparison), str::kCaptionWarning);
        return;
    }
    const int column = CurrentColumnOrSay(str::kTakeValueWithoutColumn);
    if (column < 0) return;
    std::vector<int> rows = m_finder.SelectedRows();
    // The current cell's row is the one the user pointed at, selected or not.
    if (rows.empty()) rows.push_back(m_finder.TableRow(m_list.currentIndex().row()));
    const TakenValues taken = m_edits.TakeOtherValues(std::move(rows), column);
    if (!taken.repeatedIds.empty()) {
        ShowMessage(Text(str::kTakeValueDuplicateIdFormat, IdsNamed(taken.repeatedIds)), str::kCaptionError);
    } else if (taken.cells == 0) {
        ShowMessage(Text(str::kTakeValueNothingFormat, m_document.Table().Schema().Column(column).title,
                         comparison->OtherName()),
                    str::kCaptionWarning);
    }
}

} // namespace rw
