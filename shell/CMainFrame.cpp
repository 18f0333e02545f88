#include "shell/CMainFrame.h"

#include "dialogs/CKeyDlg.h"
#include "dialogs/CRecordDlg.h"
#include "dialogs/RecordCommitEvent.h"
#include "resources/Icons.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/Prompter.h"
#include "shell/StatusTexts.h"
#include "view/CChildView.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <algorithm>

namespace rw {

CMainFrame::CMainFrame(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_prompter(prompter)
{
    setWindowTitle(QString::fromUtf8(str::kAppTitle));
    setWindowIcon(WindowIcon());
    OnCreate();
    CreateMenu();
    m_pView->OnInitialUpdate();
    FitToView();
    move(0, 0);
}

void CMainFrame::OnCreate()
{
    m_pView = new CChildView(m_prompter, this);
    setCentralWidget(m_pView);
    CreateStatusBar();
    m_clock.setInterval(kClockPeriodMs);
    connect(&m_clock, &QTimer::timeout, this, &CMainFrame::OnTimer);
    m_clock.start();
}

void CMainFrame::CreateMenu()
{
    QMenu* file = menuBar()->addMenu(QString::fromUtf8(str::kMenuFile));
    connect(AddCommand(file, str::kMenuOpen, str::kPromptOpen, ids::kCmdFileOpen), &QAction::triggered, this,
            &CMainFrame::OnFileOpen);
    file->addSeparator();
    connect(AddCommand(file, str::kMenuSetKey, str::kPromptSetKey, ids::kCmdSetKey), &QAction::triggered, this,
            &CMainFrame::OnSetKey);
    file->addSeparator();
    // Exit and About belong to the application, which connects them.
    AddCommand(file, str::kMenuExit, str::kPromptExit, ids::kCmdAppExit);
    QMenu* help = menuBar()->addMenu(QString::fromUtf8(str::kMenuHelp));
    AddCommand(help, str::kMenuAbout, str::kPromptAbout, ids::kCmdAppAbout);
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
    for (QLabel*& pane : m_panes) {
        pane = new QLabel(bar);
        pane->setTextFormat(Qt::PlainText);
    }
    m_panes[0]->setText(QString::fromUtf8(str::kIdleMessage));
    bar->addWidget(m_panes[0], 1);
    const QDateTime now = QDateTime::currentDateTime();
    m_panes[1]->setText(QString::fromUtf8(str::kAttribution));
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

void CMainFrame::FitToView()
{
    // The form has a fixed size; the frame follows it and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

bool CMainFrame::event(QEvent* event)
{
    // A highlighted menu command's prompt replaces the message line; an empty tip (the menu
    // closed or left) brings back the idle text.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_panes[0]->setText(tip.isEmpty() ? QString::fromUtf8(str::kIdleMessage) : tip);
        return true;
    }
    if (event->type() == RecordCommitEvent::kModifyType || event->type() == RecordCommitEvent::kAddType) {
        auto& commit = static_cast<RecordCommitEvent&>(*event);
        commit.SetResult(commit.IsModify() ? OnRecordModify(*commit.Dialog(), commit.Kind())
                                           : OnRecordAdd(*commit.Dialog(), commit.Kind()));
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::OnTimer()
{
    m_panes[3]->setText(FormatStatusClock(QTime::currentTime()));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_pView->MayDiscardChanges(this)) {
        event->ignore();
        return;
    }
    m_pView->HideDialogs();
    event->accept();
}

int CMainFrame::OnRecordModify(const CRecordDlg& dialog, FileKind kind)
{
    if (!IsDataKind(kind)) return RecordCommitEvent::kAccepted;
    // By the row's identity, so a sort or the deletion of other rows since the dialog opened
    // does not matter.
    const bool put = dialog.GetRowKey() == kNoRowKey
                         ? m_pView->PutRecord(dialog.GetRecord(), dialog.GetRow())
                         : m_pView->PutRecordByKey(dialog.GetRecord(), dialog.GetRowKey());
    return put ? RecordCommitEvent::kAccepted : RecordCommitEvent::kRefused;
}

int CMainFrame::OnRecordAdd(const CRecordDlg& dialog, FileKind kind)
{
    if (!IsDataKind(kind)) return RecordCommitEvent::kAccepted;
    return m_pView->PutRecord(dialog.GetRecord(), -1) ? RecordCommitEvent::kAccepted : RecordCommitEvent::kRefused;
}

void CMainFrame::OnFileOpen()
{
    if (!m_pView->MayDiscardChanges(this)) return;
    const std::optional<QString> path = m_pView->Files().ChooseFileToOpen(this);
    if (!path) return;
    const QString bareName = QFileInfo(*path).fileName();
    const LoadReport report = m_pView->LoadDataFile(*path);
    if (report.Loaded()) {
        setWindowTitle(QString::fromUtf8(str::kAppTitle) + QString::fromUtf8(str::kTitleFileOpen) + bareName +
                       QString::fromUtf8(str::kTitleFileClose));
        m_pView->ReportLoadedFile(report);
        return;
    }
    // The name decides whether this is a data file at all; any other failure says why.
    const QString text = report.NamesDataFile()
                             ? QString::fromUtf8(str::kOpenFailedFormat)
                                   .arg(QDir::toNativeSeparators(*path), CChildView::LoadFailureReason(report.decode))
                             : QString::fromUtf8(str::kNotADataFile);
    m_prompter.ShowMessage(this, text, QString::fromUtf8(str::kCaptionError));
}

void CMainFrame::OnSetKey()
{
    CKeyDlg dialog(m_pView->Keys(), m_prompter, this);
    if (dialog.exec() == QDialog::Accepted) dialog.GetKeys(m_pView->Keys());
}

} // namespace rw
