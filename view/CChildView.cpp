#include "view/CChildView.h"

#include "dialogs/CMagicDlg.h"
#include "dialogs/CMonsterDlg.h"
#include "dialogs/CStdItemDlg.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/DialogUnits.h"
#include "ui/Prompter.h"
#include "view/FormTemplate.h"
#include "view/RecordList.h"
#include "view/SortHeader.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStringList>
#include <QRegularExpressionValidator>
#include <QTableView>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace rw {

CChildView::CChildView(Prompter& prompter, QWidget* parent) : QWidget(parent), m_prompter(prompter), m_files(prompter)
{
    setFont(DialogFont());
    CreateControls();
}

void CChildView::CreateControls()
{
    const DialogUnits du(font());
    setFixedSize(du.Size(form::kWidth, form::kHeight));
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
    }
    m_countBox->setReadOnly(true);
    m_countBox->setFocusPolicy(Qt::ClickFocus);
    m_countBox->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_countBox));
    SetUpList();
    ConnectCommands();
}

void CChildView::SetUpList()
{
    m_header = new SortHeader(m_list);
    m_list->setHorizontalHeader(m_header);
    m_list->setModel(&m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = m_list->verticalHeader();
    rows->hide();
    // Fixed row heights keep a table of a million rows quick to scroll.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    QHeaderView* columns = m_list->horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    // The selection stays as visible when the list loses the focus.
    QPalette palette = m_list->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    m_list->setPalette(palette);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &CChildView::ApplyColumnWidths);
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
    connect(static_cast<RecordList*>(m_list), &RecordList::DoubleClicked, this, &CChildView::OnDblclkList);
    connect(m_header, &QHeaderView::sectionClicked, this, &CChildView::OnHeaderItemClick);
}

void CChildView::OnInitialUpdate()
{
    ApplyColumnWidths();
    EnableCommands(false);
    CreateDialogs();
}

void CChildView::CreateDialogs()
{
    // Owned by the form; their commits go to the window it stands in, the main frame.
    QWidget* frame = window();
    m_dialogs = {new CStdItemDlg(m_prompter, frame, this), new CMagicDlg(m_prompter, frame, this),
                 new CMonsterDlg(m_prompter, frame, this)};
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

void CChildView::ApplyColumnWidths()
{
    for (int column = 0; column < m_model.columnCount(); ++column) {
        m_list->horizontalHeader()->resizeSection(column, m_model.ColumnWidth(column));
    }
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

void CChildView::ShowRecordCount(int count)
{
    m_countBox->setText(QString::number(count == -1 ? m_model.rowCount() : count));
}

void CChildView::ShowMessage(const QString& text, const char* caption)
{
    m_prompter.ShowMessage(this, text, QString::fromUtf8(caption));
}

LoadReport CChildView::LoadDataFile(const QString& path)
{
    const QString bareName = QFileInfo(path).fileName();
    const LoadReport report =
        m_model.Load(std::filesystem::path(QFile::encodeName(path).toStdString()), bareName.toStdString(), m_keys);
    if (!report.Loaded()) return report;

    // No dialog may commit into a table of another kind or another load.
    HideDialogs();
    m_header->SetSortArrow(-1, true);
    // Also when the file held no records: the box must not go on showing the last table's count.
    ShowRecordCount(-1);
    EnableCommands(true);
    return report;
}

void CChildView::ReportLoadedFile(const LoadReport& report)
{
    ReportRefusedRecords(report.refusedIds);
    const DecodeReport& decode = report.decode;
    const QString bareName = QString::fromStdString(m_model.Session().FileName());
    if (decode.Truncated()) {
        ShowMessage(QString::asprintf(str::kTruncatedFormat, bareName.toUtf8().constData(), decode.announcedCount,
                                      static_cast<int>(decode.recordsPresent)),
                    str::kCaptionWarning);
    }
    if (decode.trailingBytes > 0) {
        ShowMessage(QString::fromUtf8(str::kTrailingBytesFormat)
                        .arg(bareName, QString::number(decode.announcedCount), QString::number(decode.trailingBytes)),
                    str::kCaptionWarning);
    }
}

void CChildView::ReportRefusedRecords(const std::vector<std::int32_t>& ids)
{
    // One box a record, as an edit's refusal shows; past the first few the user may stop
    // them, and a summary names them all at the end.
    constexpr std::size_t kPlainBoxes = 3;
    constexpr std::size_t kIdsListed = 40;
    const QString caption = QString::fromUtf8(str::kCaptionError);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const QString text = QString::fromUtf8(str::kLoadDuplicateIdFormat).arg(ids[i]);
        if (i < kPlainBoxes) {
            m_prompter.ShowMessage(this, text, caption);
        } else if (m_prompter.Ask(this, text, caption, {Answer::Ok, Answer::StopShowing}, Answer::Ok,
                                  Answer::StopShowing) == Answer::StopShowing) {
            break;
        }
    }
    if (ids.size() <= kPlainBoxes) return;

    // Each ID once, in the order of its first refusal, with how often it was refused.
    std::vector<std::pair<std::int32_t, std::size_t>> distinct;
    std::unordered_map<std::int32_t, std::size_t> where;
    for (const std::int32_t id : ids) {
        const auto [it, added] = where.try_emplace(id, distinct.size());
        if (added) distinct.emplace_back(id, 0);
        ++distinct[it->second].second;
    }
    QStringList listed;
    for (std::size_t i = 0; i < std::min(distinct.size(), kIdsListed); ++i) {
        const auto [id, times] = distinct[i];
        listed.push_back(times == 1 ? QString::number(id)
                                    : QString::fromUtf8(str::kLoadRefusedTimesFormat).arg(id).arg(times));
    }
    QString list = listed.join(QStringLiteral(", "));
    if (distinct.size() > kIdsListed) {
        list += QString::fromUtf8(str::kLoadRefusedMoreFormat).arg(static_cast<qulonglong>(distinct.size() - kIdsListed));
    }
    ShowMessage(QString::fromUtf8(str::kLoadRefusedSummaryFormat).arg(QString::number(ids.size()), list),
                str::kCaptionError);
}

QString CChildView::LoadFailureReason(const DecodeReport& report)
{
    switch (report.failure) {
    case LoadFailure::NotRegularFile: return QString::fromUtf8(str::kReasonNotRegularFile);
    case LoadFailure::NoRecords:
        return QString::fromUtf8(str::kReasonNoRecordsFormat).arg(report.announcedCount);
    case LoadFailure::TooLarge:
        return QString::fromUtf8(str::kReasonTooLargeFormat)
            .arg(QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(static_cast<qint64>(report.fileSize)));
    case LoadFailure::CannotRead:
    case LoadFailure::None: break;
    }
    const std::error_code& error = report.error;
    const char* words = str::kReasonSystemOther;
    if (error == std::errc::no_such_file_or_directory) words = str::kReasonNoFile;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        words = str::kReasonNoPermission;
    }
    if (error == std::errc::too_many_symbolic_link_levels) words = str::kReasonLinkLoop;
    if (error == std::errc::filename_too_long) words = str::kReasonNameTooLong;
    if (error == std::errc::not_a_directory) words = str::kReasonNotAFolder;
    if (error == std::errc::io_error) words = str::kReasonIoError;
    if (!error) return QString::fromUtf8(words);
    return QString::fromUtf8(str::kReasonSystemFormat)
        .arg(QString::fromUtf8(words), QString::fromLocal8Bit(SystemText(error).c_str()));
}

bool CChildView::PutRecord(const Record& record, int row)
{
    return ReportPut(m_model.Put(record, row), row == -1);
}

bool CChildView::PutRecordByKey(const Record& record, RowKey key)
{
    return ReportPut(m_model.PutByKey(record, key), false);
}

bool CChildView::ReportPut(const PutResult& result, bool appended)
{
    switch (result.outcome) {
    case PutOutcome::Accepted:
        if (appended) ShowRecordCount(result.row + 1);
        return true;
    case PutOutcome::DuplicateId:
        ShowMessage(QString::asprintf(str::kDuplicateIdFormat, result.idText.c_str()), str::kCaptionError);
        return false;
    case PutOutcome::NoSuchRow:
        ShowMessage(QString::fromUtf8(str::kRecordGone), str::kCaptionError);
        return false;
    case PutOutcome::WrongKind:
        break;
    }
    return false;
}

} // namespace rw
