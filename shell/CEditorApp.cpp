#include "shell/CEditorApp.h"

#include "resources/Icons.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/ResponseTimer.h"
#include "ui/DialogUnits.h"

#include <QAction>
#include <QLibraryInfo>

namespace rw {

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Recwright"));
    setApplicationVersion(QStringLiteral(RECWRIGHT_VERSION));
    setDesktopFileName(QStringLiteral("recwright"));
    setWindowIcon(ProgramIcon());
    setFont(DialogFont());
    // The program speaks Simplified Chinese whatever the desktop's language, so Qt's own
    // texts (message box buttons, file dialogs) do too: the copy built into the program, or
    // else where Qt's translations are installed.
    if (m_qtTexts.load(QStringLiteral("qtbase_zh_CN"), QStringLiteral(":/translations")) ||
        m_qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&m_qtTexts);
    }
    ResponseTimer::InstallIfAsked(this);
}

CEditorApp::~CEditorApp() = default;

bool CEditorApp::InitInstance()
{
    m_mainWindow = std::make_unique<CMainFrame>(m_prompter);
    connect(m_mainWindow->CommandAction(ids::kCmdAppAbout), &QAction::triggered, this, &CEditorApp::OnAppAbout);
    connect(m_mainWindow->CommandAction(ids::kCmdAppExit), &QAction::triggered, m_mainWindow.get(), &QWidget::close);
    m_mainWindow->show();
    // "recwright PATH" opens the file, as a drop on the window does.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) m_mainWindow->OpenPath(arguments.at(1));
    return true;
}

void CEditorApp::OnAppAbout()
{
    CAboutDlg about(m_mainWindow.get());
    about.exec();
}

} // namespace rw
