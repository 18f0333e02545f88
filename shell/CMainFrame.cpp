#include "shell/CMainFrame.h"

#include "dialogs/CKeyDlg.h"
#include "plot/PlotDock.h"
#include "resources/Icons.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/Prompter.h"
#include "shell/RecentFilesMenu.h"
#include "shell/StatusTexts.h"
#include "view/CChildView.h"
#include "view/ColumnMenu.h"
#include "view/KindQuestion.h"
#include "view/LoadMessages.h"
#include "view/RecordList.h"
#include "ui/FileNames.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFile>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QStatusTipEvent>
#include <QUndoStack>

#include <algorithm>

namespace rw {

CMainFrame::CMainFrame(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_prompter(prompter),
      m_files(prompter),
      m_saver(m_document, m_files, prompter, *this),
      m_comparer(m_document, m_edits, m_files, prompter),
      m_transfer(m_document, m_edits, m_files, prompter, *this)
{
    setWindowTitle(Text(str::kAppTitle));
    setWindowIcon(WindowIcon());
    setAcceptDrops(true);
    OnCreate();
    CreateMenu();
    m_view->OnInitialUpdate();
    move(screen()->availableGeometry().topLeft());
    ApplyFrameMode();
}

// The plot and the form work on the document: they go before the document does.
CMainFrame::~CMainFrame()
{
    delete m_plot;
    delete m_view;
}

void CMainFrame::OnCreate()
{
    m_view = new CChildView(m_document, m_edits, m_saver, m_prompter, m_settings, this);
    // The form stands in a scroll area, which shows it whole wherever the screen has room
    // and scrolls it where the screen has not.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setWidget(m_view);
    setCentralWidget(m_scroll);
    // The find bar came or went: a fixed frame follows the form.
    connect(m_view, &CChildView::PreferredSizeChanged, this, [this] {
        if (!Resizable()) FitToScreen(m_screenRoom);
    });
    CreateStatusBar();
    connect(m_view, &CChildView::RowsShown, this, [this](int shown, int total, bool filtering) {
        m_shownPane->setVisible(filtering);
        m_shownPane->setText(Text(str::kStatusShownFormat, shown, total));
    });
    connect(&m_document, &TableDocument::Loaded, this, [this] {
        m_savedOverAtMs = 0;
        m_savedAsPath.clear();
        m_savedAsAtMs = 0;
    });
    connect(&m_document, &TableDocument::Saved, this, [this](const std::filesystem::path& target, bool overOpenedFile) {
        const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
        if (overOpenedFile) {
            m_savedOverAtMs = now;
        } else {
            m_savedAsPath = FromFsPath(target);
            m_savedAsAtMs = now;
        }
    });
    connect(m_view, &CChildView::Reported, this, &CMainFrame::Report);
    m_reportShown.setSingleShot(true);
    m_reportShown.setInterval(kReportMs);
    connect(&m_reportShown, &QTimer::timeout, this, [this] { m_panes[0]->setText(Text(str::kIdleMessage)); });
    m_clock.setInterval(kClockPeriodMs);
    connect(&m_clock, &QTimer::timeout, this, &CMainFrame::OnTimer);
    m_clock.start();
}

void CMainFrame::CreateMenu()
{
    QMenu* file = menuBar()->addMenu(Text(str::kMenuFile));
    QAction* open = AddCommand(file, str::kMenuOpen, str::kPromptOpen, ids::kCmdFileOpen);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(AddCommand(file, str::kMenuOpenAsKind, str::kPromptOpenAsKind, ids::kCmdFileOpenAsKind), &QAction::triggered,
            this, &CMainFrame::OnFileOpenAsKind);
    m_recentMenu = new RecentFilesMenu(m_settings, Text(str::kMenuRecentFiles), file);
    file->addMenu(m_recentMenu);
    m_recentMenu->menuAction()->setData(ids::kCmdRecentFiles);
    m_recentMenu->menuAction()->setStatusTip(StatusTextOfPrompt(Text(str::kPromptRecentFiles)));
    connect(m_recentMenu, &RecentFilesMenu::OpenRequested, this, &CMainFrame::OpenRecent);
    QAction* save = AddCommand(file, str::kMenuSave, str::kPromptSave, ids::kCmdFileSave);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &CMainFrame::OnFileSave);
    // There is nothing to save over until a file is open.
    save->setEnabled(false);
    connect(&m_document, &TableDocument::Loaded, save, [save] { save->setEnabled(true); });
    connect(AddCommand(file, str::kMenuFileInfo, str::kPromptFileInfo, ids::kCmdFileInfo), &QAction::triggered, this,
            &CMainFrame::OnFileInfo);
    file->addSeparator();
    connect(AddCommand(file, str::kMenuExport, str::kPromptExport, ids::kCmdFileExport), &QAction::triggered, this,
            [this] { m_transfer.OnExport(this); });
    connect(AddCommand(file, str::kMenuImport, str::kPromptImport, ids::kCmdFileImport), &QAction::triggered, this,
            [this] { (void)m_transfer.OnImport(this); });
    QAction* keepNames = AddCommand(file, str::kMenuKeepNames, str::kPromptKeepNames, ids::kCmdKeepNames);
    keepNames->setCheckable(true);
    connect(keepNames, &QAction::toggled, this, [this](bool keep) { m_transfer.SetKeepNames(keep); });
    file->addSeparator();
    connect(AddCommand(file, str::kMenuCompare, str::kPromptCompare, ids::kCmdCompare), &QAction::triggered, this,
            [this] { m_comparer.OnCompare(this); });
    QAction* clear = AddCommand(file, str::kMenuClearCompare, str::kPromptClearCompare, ids::kCmdClearCompare);
    connect(clear, &QAction::triggered, this, [this] { m_comparer.OnClearCompare(); });
    // Only while there are marks to clear.
    clear->setEnabled(false);
    connect(&m_document, &TableDocument::ComparisonChanged, clear,
            [this, clear] { clear->setEnabled(m_document.CurrentComparison() != nullptr); });
    file->addSeparator();
    connect(AddCommand(file, str::kMenuSetKey, str::kPromptSetKey, ids::kCmdSetKey), &QAction::triggered, this,
            &CMainFrame::OnSetKey);
    file->addSeparator();
    // Exit and About belong to the application, which connects them.
    AddCommand(file, str::kMenuExit, str::kPromptExit, ids::kCmdAppExit);

    CreateEditMenu();
    CreateViewMenu();

    QMenu* help = menuBar()->addMenu(Text(str::kMenuHelp));
    AddCommand(help, str::kMenuAbout, str::kPromptAbout, ids::kCmdAppAbout);
}

void CMainFrame::CreateEditMenu()
{
    // The history names the step each command would take back or do again.
    QMenu* edit = menuBar()->addMenu(Text(str::kMenuEdit));
    QUndoStack& history = m_document.History();
    const struct {
        QAction* action;
        QList<QKeySequence> keys;
        const char* prompt;
        int id;
    } steps[] = {
        {history.createUndoAction(this, Text(str::kMenuUndo)), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, str::kPromptUndo,
         ids::kCmdEditUndo},
        {history.createRedoAction(this, Text(str::kMenuRedo)),
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, str::kPromptRedo,
         ids::kCmdEditRedo},
    };
    for (const auto& step : steps) {
        step.action->setShortcuts(step.keys);
        step.action->setData(step.id);
        step.action->setStatusTip(StatusTextOfPrompt(Text(step.prompt)));
        edit->addAction(step.action);
    }
    // The form's commands, with the keys they have where they act.
    struct Command {
        int id;
        const char* prompt;
    };
    const std::initializer_list<std::initializer_list<Command>> groups = {
        {{ids::kCmdFind, str::kPromptFind}, {ids::kCmdFindNext, str::kPromptFindNext},
         {ids::kCmdFindPrevious, str::kPromptFindPrevious}},
        {{ids::kCmdNextDifference, str::kPromptNextDifference},
         {ids::kCmdPreviousDifference, str::kPromptPreviousDifference}},
        {{ids::kCmdEditCell, str::kPromptEditCell}, {ids::kCmdDeleteRows, str::kPromptDeleteRows},
         {ids::kCmdCopyAsNew, str::kPromptCopyAsNew}, {ids::kCmdBulkChange, str::kPromptBulkChange},
         {ids::kCmdTakeOtherValue, str::kPromptTakeOtherValue}},
        {{ids::kCmdCopy, str::kPromptCopy}, {ids::kCmdPaste, str::kPromptPaste}},
    };
    for (const auto& group : groups) {
        edit->addSeparator();
        for (const Command& command : group) AddViewCommand(edit, command.id, command.prompt);
    }
}

void CMainFrame::AddViewCommand(QMenu* menu, int commandId, const char* prompt)
{
    QAction* action = m_view->ListCommand(commandId);
    action->setStatusTip(StatusTextOfPrompt(Text(prompt)));
    menu->addAction(action);
}

void CMainFrame::CreateViewMenu()
{
    QMenu* view = menuBar()->addMenu(Text(str::kMenuView));
    m_resizable = AddCommand(view, str::kMenuResizable, str::kPromptResizable, ids::kCmdResizable);
    m_resizable->setCheckable(true);
    m_resizable->setChecked(m_settings.Resizable());
    connect(m_resizable, &QAction::toggled, this, [this](bool resizable) {
        m_settings.SetResizable(resizable);
        ApplyFrameMode();
    });
    view->addSeparator();
    AddViewCommand(view, ids::kCmdOnlyChanged, str::kPromptOnlyChanged);
    AddViewCommand(view, ids::kCmdOnlyDiffering, str::kPromptOnlyDiffering);
    // The comparison's box again, while there is one: its records only in the other file can
    // be taken over later too.
    QAction* onlyThere = AddCommand(view, str::kMenuRecordsOnlyThere, str::kPromptRecordsOnlyThere, ids::kCmdRecordsOnlyThere);
    connect(onlyThere, &QAction::triggered, this, [this] { m_comparer.OfferRecordsOnlyThere(this); });
    onlyThere->setEnabled(false);
    connect(&m_document, &TableDocument::ComparisonChanged, onlyThere,
            [this, onlyThere] { onlyThere->setEnabled(m_document.CurrentComparison() != nullptr); });
    view->addSeparator();
    AddViewCommand(view, ids::kCmdFitColumns, str::kPromptFitColumns);
    AddViewCommand(view, ids::kCmdSortByColumn, str::kPromptSortByColumn);
    auto* columns = new ColumnMenu(Text(str::kMenuShownColumns), view);
    view->addMenu(columns);
    columns->menuAction()->setData(ids::kCmdShownColumns);
    columns->menuAction()->setStatusTip(StatusTextOfPrompt(Text(str::kPromptShownColumns)));
    connect(columns, &QMenu::aboutToShow, this, [this, columns] {
        columns->clear();
        m_view->List()->FillColumnMenu(*columns);
    });
    view->addSeparator();
    QAction* plot = AddCommand(view, str::kMenuPlot, str::kPromptPlot, ids::kCmdPlot);
    plot->setCheckable(true);
    connect(plot, &QAction::toggled, this, &CMainFrame::ShowPlot);
}

void CMainFrame::ShowPlot(bool shown)
{
    if (shown && !Resizable()) {
        SetResizable(true);
        Report(Text(str::kPlotMadeResizable));
    }
    if (!m_plot) {
        if (!shown) return;
        m_plot = new PlotDock({m_document, *m_view->List(), *m_view->Finder(), m_settings, m_files, m_prompter, *this}, *this);
        QAction* plot = CommandAction(ids::kCmdPlot);
        connect(m_plot, &PlotDock::Closed, plot, [plot] { plot->setChecked(false); });
    }
    if (shown) {
        m_plot->Open();
    } else {
        m_plot->Close();
    }
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* text, const char* prompt, int commandId)
{
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setData(commandId);
    action->setStatusTip(StatusTextOfPrompt(QString::fromUtf8(prompt)));
    return action;
}

QAction* CMainFrame::CommandAction(int commandId) const
{
    for (QAction* action : findChildren<QAction*>()) {
        if (!action->isSeparator() && action->data() == commandId) return action;
    }
    return nullptr;
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    // Named, so that a style sheet or an accessibility tool can tell them apart.
    const std::array<const char*, 4> names{"message", "attribution", "date", "clock"};
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        m_panes[i] = new QLabel(bar);
        m_panes[i]->setObjectName(QString::fromLatin1(names[i]));
        m_panes[i]->setTextFormat(Qt::PlainText);
    }
    m_panes[0]->setText(Text(str::kIdleMessage));
    bar->addWidget(m_panes[0], 1);
    // How many records a save would write otherwise than the file holds, while that is any.
    m_changesPane = new QLabel(bar);
    m_changesPane->setObjectName(QStringLiteral("changes"));
    m_changesPane->setTextFormat(Qt::PlainText);
    m_changesPane->hide();
    bar->addPermanentWidget(m_changesPane);
    connect(&m_document, &TableDocument::Changed, this, &CMainFrame::ShowChanges);
    // A load, an import into an empty window, or such a table's first save names the file.
    connect(&m_document, &TableDocument::Loaded, this, &CMainFrame::ShowTitle);
    connect(&m_document, &TableDocument::Changed, this, &CMainFrame::ShowTitle);
    // How many rows the find bar's filter lets show, while it filters.
    m_shownPane = new QLabel(bar);
    m_shownPane->setObjectName(QStringLiteral("shown"));
    m_shownPane->setTextFormat(Qt::PlainText);
    m_shownPane->hide();
    bar->addPermanentWidget(m_shownPane);
    const QDateTime now = QDateTime::currentDateTime();
    m_panes[1]->setText(Text(str::kAttribution));
    m_panes[2]->setText(FormatStatusDate(now.date()));
    m_panes[3]->setText(FormatStatusClock(now.time()));
    const std::array<QString, 3> widest{m_panes[1]->text(), FormatStatusDate(QDate(2000, 12, 30)),
                                        FormatStatusClock(QTime(20, 8, 8))};
    for (std::size_t i = 0; i < kPaneWidths.size(); ++i) {
        QLabel* pane = m_panes[i + 1];
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        // The widths suit a small status font; where the dialog font needs more room, the pane
        // grows rather than cut its text off.
        const int fitted = pane->fontMetrics().horizontalAdvance(widest[i]) + 2 * pane->frameWidth() + 4;
        pane->setFixedWidth(std::max(kPaneWidths[i], fitted));
        bar->addPermanentWidget(pane);
    }
}

bool CMainFrame::Resizable() const { return m_resizable->isChecked(); }

void CMainFrame::SetResizable(bool resizable) { m_resizable->setChecked(resizable); }

void CMainFrame::ApplyFrameMode()
{
    const bool resizable = Resizable();
    const bool shown = isVisible();
    const QPoint at = pos(); // where the frame stands, which new flags lose
    setWindowFlag(Qt::WindowMaximizeButtonHint, resizable);
    statusBar()->setSizeGripEnabled(resizable);
    if (resizable) {
        // The form fills the frame, as large as the frame is and at least as small as it may be.
        layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        for (QWidget* widget : std::initializer_list<QWidget*>{this, m_scroll, m_view}) {
            widget->setMinimumSize(0, 0);
            widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        m_scroll->setWidgetResizable(true);
        const QSize remembered = m_settings.FrameSize().value_or(size());
        resize(remembered.boundedTo(screen()->availableGeometry().size()));
        if (m_settings.Maximized()) setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        m_scroll->setWidgetResizable(false);
        FitToView();
    }
    // New window flags take effect on a window shown anew.
    if (shown) {
        show();
        // A window shown anew may be put with its inside where its frame stood; Qt, which
        // believes it in place, sends only a position that differs from what it believes.
        QTimer::singleShot(0, this, [this, at] {
            move(at + QPoint(1, 1));
            move(at);
        });
    }
}

void CMainFrame::FitToView()
{
    // The form has a fixed size; the frame follows it and keeps it, as far as the screen allows.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FitToScreen(screen()->availableGeometry());
}

void CMainFrame::FitToScreen(const QRect& available)
{
    m_screenRoom = available;
    // Before the window is shown its frame has no size yet; the style's title bar stands in.
    const int decoration = std::max(frameGeometry().height() - height(), style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int sides = std::max(frameGeometry().width() - width(), 0);
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    const QSize room(std::max(available.width() - sides, 1), std::max(available.height() - decoration - chrome, 1));
    const QSize wanted = m_view->sizeHint();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Too wide, the form scrolls sideways; too high, its list gives way first, so that the
    // column titles and the buttons stay in sight together, and only then does it scroll.
    const QSize least = m_view->minimumSizeHint();
    const int width = std::clamp(room.width(), least.width(), wanted.width());
    const bool across = width > room.width();
    const int roomDown = room.height() - (across ? scrollBar : 0);
    const QSize form(width, std::clamp(roomDown, least.height(), wanted.height()));
    const bool down = form.height() > roomDown;
    m_view->setFixedSize(form);
    QSize shown = form;
    if (down) shown.rwidth() += scrollBar;
    if (across) shown.rheight() += scrollBar;
    m_scroll->setFixedSize(shown.boundedTo(room));
    adjustSize();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_resizable && Resizable() && isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        m_settings.SetFrameSize(size());
    }
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_resizable && Resizable()) {
        m_settings.SetMaximized(windowState() & Qt::WindowMaximized);
    }
}

bool CMainFrame::event(QEvent* event)
{
    // A highlighted menu command's prompt replaces the message line; an empty tip (the menu
    // closed or left) brings back the idle text.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        const QString idle = m_reportShown.isActive() ? m_report : Text(str::kIdleMessage);
        m_panes[0]->setText(tip.isEmpty() ? idle : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::ShowChanges()
{
    m_changesPane->setVisible(m_document.Modified());
    if (m_document.Modified()) m_changesPane->setText(UnsavedText(m_document));
}

void CMainFrame::ShowTitle()
{
    QString title = Text(str::kAppTitle);
    if (m_document.HasFile()) title += Text(str::kTitleFileOpen) + Text(m_document.FileName()) + Text(str::kTitleFileClose);
    setWindowTitle(title);
}

void CMainFrame::Report(const QString& text)
{
    m_report = text;
    m_panes[0]->setText(text);
    m_reportShown.start();
}

void CMainFrame::OnTimer()
{
    m_panes[3]->setText(FormatStatusClock(QTime::currentTime()));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_saver.MayDiscardChanges(this)) {
        event->ignore();
        return;
    }
    m_view->HideDialogs();
    event->accept();
}

void CMainFrame::OnFileOpen()
{
    if (!m_saver.MayDiscardChanges(this)) return;
    if (const std::optional<QString> path = m_files.ChooseFileToOpen(this)) Load(*path, FileKind::None);
}

void CMainFrame::OnFileOpenAsKind()
{
    if (!m_saver.MayDiscardChanges(this)) return;
    const std::optional<QString> path = m_files.ChooseAnyFileToOpen(this);
    if (!path) return;
    if (const std::optional<FileKind> kind = AskDataFileKind(m_prompter, this, m_document.Keys(), *path)) Load(*path, *kind);
}

void CMainFrame::OpenPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        m_prompter.ShowMessage(this, Text(str::kDropNotAFileFormat, QDir::toNativeSeparators(path)),
                               Text(str::kCaptionError));
        return;
    }
    if (!m_saver.MayDiscardChanges(this)) return;
    if (KindFromName(info.fileName().toStdString()) != FileKind::None) {
        Load(info.absoluteFilePath(), FileKind::None);
        return;
    }
    if (const std::optional<FileKind> kind = AskDataFileKind(m_prompter, this, m_document.Keys(), path)) Load(info.absoluteFilePath(), *kind);
}

void CMainFrame::Load(const QString& path, FileKind kind)
{
    const LoadReport report = m_view->LoadDataFile(path, kind);
    if (report.Loaded()) {
        m_settings.AddRecentFile({QFileInfo(path).absoluteFilePath(), m_document.Kind()});
        return;
    }
    if (report.NamesDataFile()) return;
    // The name decides whether this is a data file at all; the user may say which it is.
    if (m_prompter.Ask(this, Text(str::kNotADataFile), Text(str::kCaptionError), {Answer::Ok, Answer::OpenAsKind},
                       Answer::Ok, Answer::Ok) != Answer::OpenAsKind) {
        return;
    }
    if (const std::optional<FileKind> chosen = AskDataFileKind(m_prompter, this, m_document.Keys(), path)) Load(path, *chosen);
}

void CMainFrame::OpenRecent(const RecentFile& file)
{
    if (!m_saver.MayDiscardChanges(this)) return;
    // The kind its name says, as Open would take it, or the kind the user named for it, which
    // the file may no longer be (another file put in its place).
    const bool named = KindFromName(QFileInfo(file.path).fileName().toStdString()) == file.kind;
    if (!named && !MayLoadAsKind(m_prompter, this, file.path, file.kind)) return;
    Load(file.path, named ? FileKind::None : file.kind);
    if (!QFileInfo::exists(file.path)) m_settings.RemoveRecentFile(file.path);
}

void CMainFrame::OnFileInfo()
{
    if (!m_document.HasFile()) {
        m_prompter.ShowMessage(this, Text(str::kNoFileOpen), Text(str::kFileInfoCaption));
        return;
    }
    // The table as it stands, and the file as it is on the disk now.
    const QString path = FromFsPath(m_document.FilePath());
    const QFileInfo onDisk(path);
    const QString size = m_document.HasFilePath() && onDisk.exists() ? Text(str::kFileInfoSizeFormat, onDisk.size())
                                                                      : Text(str::kFileInfoGone);
    const auto when = [](std::int64_t ms) {
        return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    };
    // A save over the file wrote only the records.
    const std::uint64_t trailing = m_savedOverAtMs != 0 ? 0 : m_document.LoadedReport().trailingBytes;
    QString text = Text(str::kFileInfoFormat, QDir::toNativeSeparators(path), KindWord(m_document.Kind()),
                        m_document.Keys().For(m_document.Kind()), m_document.Table().RowCount(), size, trailing,
                        when(m_document.LoadedAtMs()));
    if (m_savedOverAtMs != 0) text += Text(str::kFileInfoSavedFormat, when(m_savedOverAtMs));
    if (!m_savedAsPath.isEmpty()) text += Text(str::kFileInfoSavedAsFormat, QDir::toNativeSeparators(m_savedAsPath), when(m_savedAsAtMs));
    if (m_document.Modified()) text += Text(str::kFileInfoUnsavedFormat, UnsavedText(m_document));
    if (m_document.OpenedFileBehind()) text += Text(str::kFileInfoBehind);
    m_prompter.ShowMessage(this, text, Text(str::kFileInfoCaption));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        m_prompter.ShowMessage(this, Text(str::kDropManyFiles), Text(str::kCaptionError));
        return;
    }
    OpenPath(urls.front().toLocalFile());
}

void CMainFrame::OnFileSave()
{
    // The form's messages, as its Save button's are.
    if (m_document.HasFile()) (void)m_saver.SaveToOpenedFile(m_view);
}

void CMainFrame::OnSetKey()
{
    CKeyDlg dialog(m_document.Keys(), m_prompter, this);
    if (dialog.exec() == QDialog::Accepted) m_document.SetKeys(dialog.GetKeys());
}

} // namespace rw
