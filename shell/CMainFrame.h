#pragma once

// The one main window: the menu, the record form as its only pane, and the status bar with
// the message line, an attribution, the start-up date and a running clock. It has the size
// of the form and can be moved and minimized, but not resized or maximized.

#include <QMainWindow>
#include <QTimer>

#include "data/FileKind.h"

#include <array>

class QAction;
class QLabel;
class QMenu;

namespace rw {

class CChildView;
class CRecordDlg;
class Prompter;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClockPeriodMs = 500;
    // Least pixel widths of panes 1 to 3: attribution, date, clock.
    static constexpr std::array<int, 3> kPaneWidths{180, 81, 45};

    explicit CMainFrame(Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] CChildView* View() const { return m_pView; }
    // The menu command of that id (its QAction's data), or null.
    [[nodiscard]] QAction* CommandAction(int commandId) const;
    // Pane 0 is the message line, 1 to 3 attribution, date and clock.
    [[nodiscard]] QLabel* StatusPane(int pane) const { return m_panes.at(static_cast<std::size_t>(pane)); }

    void OnFileOpen();
    void OnSetKey();
    void OnTimer();
    // A record dialog's commit (RecordCommitEvent): 0 when the table took the record, 1 when
    // it refused it. A kind that names no table changes nothing and answers 0.
    int OnRecordModify(const CRecordDlg& dialog, FileKind kind);
    int OnRecordAdd(const CRecordDlg& dialog, FileKind kind);

protected:
    bool event(QEvent* event) override;
    // Exit and the close box: unsaved changes are only dropped when the user agrees.
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreate();
    void CreateMenu();
    QAction* AddCommand(QMenu* menu, const char* text, const char* prompt, int commandId);
    void CreateStatusBar();
    void FitToView();

    Prompter& m_prompter;
    CChildView* m_pView = nullptr;
    std::array<QLabel*, 4> m_panes{};
    QTimer m_clock;
};

} // namespace rw
