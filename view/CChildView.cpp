#include "view/CChildView.h"

#include "dialogs/CMagicDlg.h"
#include "dialogs/CMonsterDlg.h"
#include "dialogs/CStdItemDlg.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/DialogUnits.h"
#include "ui/FileNames.h"
#include "ui/Prompter.h"
#include "ui/TextFit.h"
#include "ui/Texts.h"
#include "view/CellEditor.h"
#include "view/CellTints.h"
#include "view/ColumnFit.h"
#include "view/EditorSettings.h"
#include "view/FindBar.h"
#include "view/FormTemplate.h"
#include "view/FrozenColumns.h"
#include "view/ListCommands.h"
#include "view/LoadMessages.h"
#include "view/RecordFinder.h"
#include "view/RecordList.h"
#include "view/RecordSearch.h"
#include "view/SortHeader.h"
#include "view/StepNames.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <functional>

namespace rw {

CChildView::CChildView(TableDocument& document, TableEdits& edits, SaveFlow& saves, Prompter& prompter,
                       EditorSettings& settings, QWidget* parent)
    : QWidget(parent), m_document(document), m_edits(edits), m_saves(saves), m_prompter(prompter), m_settings(settings)
{
    setFont(DialogFont());
    CreateControls();
    connect(&m_document, &TableDocument::Loaded, this, &CChildView::OnDocumentLoaded);
    connect(&m_document, &TableDocument::SortChanged, m_list, &RecordList::SetSortArrow);
    m_edits.SetStepNamer([this](const StepLabel& label) { return StepName(label, m_document.Table().Kind()); });
}

CChildView::~CChildView() { SaveColumnLayout(); }

void CChildView::CreateControls()
{
    const DialogUnits du(font());
    m_templateSize = du.Size(form::kWidth, form::kHeight);
    // Of the gap before the Save button, all but the gap between the other buttons.
    m_saveButtonGive = du.X(form::kSaveButtonGap - form::kButtonGap);
    for (const form::ControlTemplate& control : form::kControls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* widget = nullptr;
        switch (control.type) {
        case form::ControlType::List:
            widget = m_list = new RecordList(this);
            break;
        case form::ControlType::Label:
            widget = new QLabel(text, this);
            break;
        case form::ControlType::Edit: {
            auto* box = new QLineEdit(this);
            if (control.id == ids::kCountBox) m_countBox = box;
            if (control.id == ids::kIdBox) m_idBox = box;
            if (control.id == ids::kNameBox) m_nameBox = box;
            widget = box;
            break;
        }
        case form::ControlType::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            m_buttons[control.id] = button;
            widget = button;
            break;
        }
        case form::ControlType::GroupBox:
            widget = new QGroupBox(text, this);
            // It only frames the boxes in front of it; it must not take their clicks.
            widget->lower();
            break;
        }
        widget->setGeometry(du.Rect(control.x, control.y, control.width, control.height));
        if (control.id != 0) widget->setProperty(ids::kControlIdProperty, control.id);
        if (widget == m_list) {
            m_listTemplateHeight = widget->height();
        } else {
            m_belowList.emplace_back(widget, widget->pos());
        }
    }
    m_countBox->setReadOnly(true);
    m_countBox->setFocusPolicy(Qt::ClickFocus);
    m_countBox->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_countBox));
    SetUpList();
    m_findBar = new FindBar(this);
    m_findBar->hide();
    m_finder = new RecordFinder(m_document, *m_list, *m_findBar, this);
    connect(m_findBar, &FindBar::CloseRequested, this, &CChildView::HideFindBar);
    connect(m_finder, &RecordFinder::RowsShown, this, &CChildView::RowsShown);
    m_search = std::make_unique<RecordSearch>(m_document, *m_list, *m_finder, m_prompter, *this);
    ConnectCommands();
    resize(m_templateSize);
}

QSize CChildView::sizeHint() const { return m_templateSize + QSize(0, FindBarHeight()); }

QSize CChildView::minimumSizeHint() const
{
    // The header, three rows and the scroll bar across.
    const int rows = m_list->verticalHeader()->defaultSectionSize();
    const int leastList = m_list->horizontalHeader()->sizeHint().height() + 3 * rows +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * m_list->frameWidth();
    return {m_templateSize.width() - m_saveButtonGive, m_templateSize.height() - m_listTemplateHeight + leastList + FindBarHeight()};
}

int CChildView::FindBarHeight() const { return m_findBar->isHidden() ? 0 : m_findBar->sizeHint().height(); }

void CChildView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CChildView::LayOut()
{
    const int bar = FindBarHeight();
    const int grown = height() - bar - m_templateSize.height();
    m_list->setGeometry(0, 0, width(), m_listTemplateHeight + grown);
    // Narrower than the template, the Save button closes up to the others.
    const int narrower = std::clamp(m_templateSize.width() - width(), 0, m_saveButtonGive);
    for (const auto& [widget, at] : m_belowList) {
        widget->move(at.x() - (widget == Button(ids::kSave) ? narrower : 0), at.y() + grown);
    }
    if (bar > 0) m_findBar->setGeometry(0, height() - bar, width(), bar);
}

void CChildView::SetUpList()
{
    m_list->SetColumnTips([this](int column) { return ColumnTip(m_document.Table().Schema(), column); });
    // The list and its frozen columns each have an editor of their own: a view closes only the
    // editors it opened, and warns of any other its delegate tells it to close.
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{m_list, m_list->Frozen()}) {
        view->setItemDelegate(new CellEditor(
            [this](const QModelIndex& cell, const QString& text, bool report) { return CommitCell(cell, text, report); },
            [this](int column) { return column == kNameColumn ? m_document.Table().Schema().TypedNameCapacity() : 0; },
            [this](int row, int column, bool rowGone, RecordList::EditMove move) {
                m_list->MoveAfterEdit(row, column, rowGone, move);
            },
            view));
    }
    // Typing on a cell edits it, as F2 does; a double-click keeps opening the modify dialog.
    m_list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_document.Model().SetCellColouring(&CellTint);
    // Last: the frozen columns take the list's edit triggers with its model.
    m_list->setModel(&m_document.Model());
    // The columns the user left are kept before another table's come.
    connect(&m_document.Model(), &QAbstractItemModel::modelAboutToBeReset, this, &CChildView::SaveColumnLayout);
    connect(&m_document.Model(), &QAbstractItemModel::modelReset, this, &CChildView::ApplyColumnLayout);
    connect(m_list, &RecordList::ColumnsShownChanged, this, &CChildView::SaveColumnLayout);
    // Rows come and go by loads, edits and the history alike; the count follows them all.
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(&m_document.Model(), signal, this, &CChildView::ShowRecordCount);
    }
    connect(&m_document.Model(), &QAbstractItemModel::modelReset, this, &CChildView::ShowRecordCount);
}

void CChildView::ConnectCommands()
{
    const std::pair<int, void (CChildView::*)()> commands[] = {
        {ids::kRefresh, &CChildView::OnRefresh},   {ids::kAdd, &CChildView::OnAdd},
        {ids::kModify, &CChildView::OnModify},     {ids::kDelete, &CChildView::OnDelete},
        {ids::kSearchId, &CChildView::OnSearchId}, {ids::kSearchName, &CChildView::OnSearchName},
        {ids::kSave, &CChildView::OnSave},
    };
    for (const auto& [id, handler] : commands) connect(Button(id), &QPushButton::clicked, this, handler);
    connect(m_list, &RecordList::DoubleClicked, this, &CChildView::OnDblclkList);
    connect(m_list->Header(), &QHeaderView::sectionClicked, this, &CChildView::OnHeaderItemClick);
    auto* listCommands = new ListCommands(m_document, m_edits, m_prompter, *m_list, *m_finder, *this);
    connect(listCommands, &ListCommands::Reported, this, &CChildView::Reported);
    AddFormCommands();
}

void CChildView::AddFormCommands()
{
    // The find bar's keys act anywhere in the window; 查看's command has none.
    const struct {
        const char* text;
        int id;
        QKeySequence key;
        std::function<void()> run;
    } commands[] = {
        {str::kMenuFind, ids::kCmdFind, QKeySequence(QKeySequence::Find), [this] { ShowFindBar(); }},
        {str::kMenuFindNext, ids::kCmdFindNext, QKeySequence(Qt::Key_F3), [this] { ShowFindBar(false), m_finder->FindNext(); }},
        {str::kMenuFindPrevious, ids::kCmdFindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3),
         [this] { ShowFindBar(false), m_finder->FindPrevious(); }},
        {str::kMenuFitColumns, ids::kCmdFitColumns, {}, [this] { OnFitColumns(); }},
    };
    for (const auto& command : commands) {
        auto* action = new QAction(Text(command.text), this);
        action->setData(command.id);
        action->setShortcut(command.key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command.run);
        addAction(action);
    }
    addActions({m_finder->OnlyChanged(), m_finder->OnlyDiffering()});
}

void CChildView::ShowFindBar(bool focus)
{
    if (m_findBar->isHidden()) {
        // The form grows by the bar's height where the frame lets it; else the list gives way.
        m_findBar->show();
        updateGeometry();
        emit PreferredSizeChanged();
        LayOut();
    }
    if (focus) m_findBar->FocusQuery();
}

void CChildView::HideFindBar()
{
    m_finder->StopMatching();
    m_findBar->hide();
    updateGeometry();
    emit PreferredSizeChanged();
    LayOut();
    m_list->setFocus();
}

QAction* CChildView::ListCommand(int commandId) const
{
    for (QAction* action : m_list->actions() + actions()) {
        if (action->data() == commandId) return action;
    }
    return nullptr;
}

void CChildView::OnInitialUpdate()
{
    ApplyColumnLayout();
    EnableCommands(false);
    // Owned by the form; they stand as windows of their own.
    m_dialogs = {new CStdItemDlg(m_prompter, *this, this), new CMagicDlg(m_prompter, *this, this),
                 new CMonsterDlg(m_prompter, *this, this)};
}

CRecordDlg* CChildView::Dialog(FileKind kind) const
{
    return IsDataKind(kind) ? m_dialogs[static_cast<std::size_t>(kind)] : nullptr;
}

void CChildView::HideDialogs()
{
    for (CRecordDlg* dialog : m_dialogs) {
        if (dialog) dialog->hide();
    }
}

void CChildView::ApplyColumnLayout()
{
    const RecordTableModel& model = m_document.Model();
    m_layoutKind = model.Table().Kind();
    ColumnLayout layout;
    for (int column = 0; column < model.columnCount(); ++column) layout.widths.push_back(model.ColumnWidth(column));
    if (const std::optional<ColumnLayout> remembered = m_settings.Columns(m_layoutKind, model.columnCount())) {
        layout = *remembered;
    }
    m_list->ApplyLayout(layout);
}

void CChildView::SaveColumnLayout()
{
    // Only the table's own columns: before the first layout was applied there are none yet.
    if (!IsDataKind(m_layoutKind) || m_list->model() == nullptr ||
        m_list->model()->columnCount() != SchemaOf(m_layoutKind).ColumnCount()) {
        return;
    }
    m_settings.SetColumns(m_layoutKind, m_list->Layout());
}

void CChildView::OnFitColumns()
{
    const RecordTable& table = m_document.Table();
    for (int column = 0; column < table.ColumnCount(); ++column) {
        if (!m_list->isColumnHidden(column)) m_list->setColumnWidth(column, FittingColumnWidth(*m_list, table, column));
    }
    // The columns start again beside the frozen ones: none stays out of sight to their left.
    m_list->horizontalScrollBar()->setValue(0);
    SaveColumnLayout();
}

QPushButton* CChildView::Button(int controlId) const
{
    const auto found = m_buttons.find(controlId);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CChildView::EnableCommands(bool enable)
{
    for (const int id : form::kCommandButtons) Button(id)->setEnabled(enable);
}

void CChildView::ShowRecordCount()
{
    // A million records are wider than the box: the number shows whole, in a smaller size.
    ShowWhole(*m_countBox, font(), QString::number(m_document.Table().RowCount()));
}

void CChildView::ShowMessage(const QString& text, const char* caption, QWidget* owner)
{
    m_prompter.ShowMessage(owner ? owner : this, text, Text(caption));
}

QString CChildView::ColumnTip(const RecordSchema& schema, int column)
{
    if (column < 0 || column >= schema.ColumnCount()) return {};
    const ColumnSpec& spec = schema.Column(column);
    if (spec.IsNumeric()) return Text(str::kColumnTipNumberFormat, spec.title, spec.offset);
    return Text(str::kColumnTipNameFormat, spec.title, schema.nameOffset, schema.nameCapacity, schema.nameLengthOffset);
}

LoadReport CChildView::LoadDataFile(const QString& path, FileKind kind)
{
    return Load(ToFsPath(path), QFileInfo(path).fileName().toStdString(), kind, str::kOpenFailedFormat);
}

LoadReport CChildView::Load(std::filesystem::path path, std::string bareName, FileKind kind, const char* failedFormat)
{
    const QString shownPath = QDir::toNativeSeparators(FromFsPath(path));
    const LoadReport report = m_document.Load(std::move(path), std::move(bareName), kind);
    if (report.Loaded()) {
        ReportLoadedFile(report);
    } else if (report.NamesDataFile()) {
        // The window's: Open may come from its menu, its title or a file dropped on it.
        ShowMessage(Text(failedFormat, shownPath, LoadFailureReason(report.decode)), str::kCaptionError, window());
    }
    return report;
}

void CChildView::OnDocumentLoaded()
{
    // Where the file is, for the user who wonders which of several it is.
    const QString path = QDir::toNativeSeparators(FromFsPath(m_document.FilePath()));
    m_countBox->setToolTip(path);
    m_list->cornerWidget()->setToolTip(path);
    // No dialog may commit into a table of another kind or another load.
    HideDialogs();
    // Again, now that the list shows the table itself whatever the find bar showed before.
    ApplyColumnLayout();
    m_list->SetSortArrow(-1, true);
    m_findBar->SetKind(m_document.Kind());
    EnableCommands(true);
}

void CChildView::ReportLoadedFile(const LoadReport& report)
{
    ReportRefusedRecords(report.refusedIds);
    const DecodeReport& decode = report.decode;
    const std::string& bareName = m_document.FileName();
    if (decode.Truncated()) {
        ShowMessage(Text(str::kTruncatedFormat, bareName, decode.announcedCount, decode.recordsPresent),
                    str::kCaptionWarning);
    }
    if (decode.trailingBytes > 0) {
        ShowMessage(Text(str::kTrailingBytesFormat, bareName, decode.announcedCount, decode.trailingBytes),
                    str::kCaptionWarning);
    }
}

void CChildView::ReportRefusedRecords(const std::vector<std::int32_t>& ids)
{
    // One box a record, as an edit's refusal shows; past the first few the user may stop
    // them, and a summary names them all at the end.
    constexpr std::size_t kPlainBoxes = 3;
    const QString caption = Text(str::kCaptionError);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const QString text = Text(str::kLoadDuplicateIdFormat, ids[i]);
        if (i < kPlainBoxes) {
            m_prompter.ShowMessage(this, text, caption);
        } else if (m_prompter.Ask(this, text, caption, {Answer::Ok, Answer::StopShowing}, Answer::Ok,
                                  Answer::StopShowing) == Answer::StopShowing) {
            break;
        }
    }
    if (ids.size() > kPlainBoxes) ShowMessage(RefusedRecordsSummary(ids), str::kCaptionError);
}

} // namespace rw
