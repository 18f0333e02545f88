#pragma once

#include "ui/QtPrompter.h"
#include "view/EditorSettings.h"

#include <QApplication>
#include <QTranslator>

#include <memory>

namespace rw {

class CMainFrame;

// The application: sets up the program's look and metadata, creates the main frame and
// handles the commands that belong to the application as a whole (About, Exit).
class CEditorApp : public QApplication {
    Q_OBJECT
public:
    CEditorApp(int& argc, char** argv);
    ~CEditorApp() override;

    // Creates and shows the main frame, and opens the file the command line names, if any; the
    // caller runs exec() afterwards.
    bool InitInstance();
    void OnAppAbout();

    [[nodiscard]] CMainFrame* MainFrame() const { return m_mainWindow.get(); }

private:
    QTranslator m_qtTexts;
    EditorSettings m_settings; // the file dialogs' folders
    QtPrompter m_prompter{&m_settings};
    std::unique_ptr<CMainFrame> m_mainWindow;
};

} // namespace rw
