#pragma once

// The one main window: the menu, the record form as its only pane, and the status bar with
// the message line, an attribution, the start-up date and a running clock. It has the size
// of the form and can be moved and minimized, but not resized or maximized, until 查看 ▸
// 可调整窗口大小 lets it be; then the form takes the room the frame has. Where the screen is too
// small for the form, the frame stays on it and the form's list gives way.

#include "exchange/TableComparer.h"
#include "exchange/TableSaver.h"
#include "exchange/TableTransfer.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "ui/FileChooser.h"
#include "ui/StatusReport.h"
#include "view/EditorSettings.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdint>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace rw {

class CChildView;
class PlotDock;
class Prompter;
class RecentFilesMenu;

// It holds the open document with its edits and the file dialogs' folder; the form works on
// them.
class CMainFrame : public QMainWindow, public StatusReport {
    Q_OBJECT
public:
    static constexpr int kClockPeriodMs = 500;
    // How long a report stays on the message line before the idle text comes back.
    static constexpr int kReportMs = 6000;
    // Least pixel widths of panes 1 to 3: attribution, date, clock.
    static constexpr std::array<int, 3> kPaneWidths{180, 81, 45};

    explicit CMainFrame(Prompter& prompter, QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] CChildView* View() const { return m_view; }
    // The menu command of that id (its QAction's data), or null.
    [[nodiscard]] QAction* CommandAction(int commandId) const;
    // The fixed frame: sized to the form, or to the screen's available area where the form
    // does not fit, its list then shorter down to a few rows, and scrolling only beyond that.
    void FitToScreen(const QRect& available);
    // Whether the frame may be resized and maximized (查看 ▸ 可调整窗口大小).
    [[nodiscard]] bool Resizable() const;
    void SetResizable(bool resizable);
    // 文件 ▸ 最近打开的文件.
    [[nodiscard]] RecentFilesMenu* RecentFiles() const { return m_recentMenu; }
    // 查看 ▸ 图表's dock; null until it is first opened.
    [[nodiscard]] PlotDock* Plot() const { return m_plot; }

    void OnFileOpen();
    // 按类型打开: any file, then its kind.
    void OnFileOpenAsKind();
    void OnFileSave();
    void OnFileInfo();
    // A file named on the command line or dropped on the window: opened directly when its
    // name is one of the three, else after asking for its kind. Unsaved changes are asked
    // about first, as Open does.
    void OpenPath(const QString& path);
    void OnSetKey();
    void OnTimer();
    // Opens a file of the list again, as the kind it was opened as.
    void OpenRecent(const RecentFile& file);
    // On the message line for a few seconds.
    void Report(const QString& text) override;

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The size and the maximized state, while the frame may change them, are remembered.
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Exit and the close box: unsaved changes are only dropped when the user agrees.
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreate();
    // Loads path (kind None: by its name) through the form, which says what the load left out
    // or why it failed, and keeps it among the recent files; a name that tells no kind may be
    // opened as a kind the user names.
    void Load(const QString& path, FileKind kind);
    void CreateMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    QAction* AddCommand(QMenu* menu, const char* text, const char* prompt, int commandId);
    // One of the form's commands, with its prompt.
    void AddViewCommand(QMenu* menu, int commandId, const char* prompt);
    // The frame as the settings or 查看 want it: fixed to the form, or resizable.
    void ApplyFrameMode();
    void CreateStatusBar();
    void FitToView();
    // 查看 ▸ 图表: the dock beside the list, which needs a frame that can be resized.
    void ShowPlot(bool shown);
    void ShowChanges();
    // The application's title, and the open file's name after it.
    void ShowTitle();

    Prompter& m_prompter;
    EditorSettings m_settings;
    TableDocument m_document;
    TableEdits m_edits{m_document};
    FileChooser m_files;
    TableSaver m_saver;
    TableComparer m_comparer;
    TableTransfer m_transfer;
    CChildView* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
    std::array<QLabel*, 4> m_panes{};
    QLabel* m_changesPane = nullptr; // "已修改 n 条记录" while anything is unsaved, or that the order changed
    QLabel* m_shownPane = nullptr;   // "显示 n / N 条" while the find bar filters
    QAction* m_resizable = nullptr;
    RecentFilesMenu* m_recentMenu = nullptr;
    PlotDock* m_plot = nullptr;
    QRect m_screenRoom; // the screen's available area the fixed frame was last fitted to
    QTimer m_clock;
    QTimer m_reportShown; // while a report stands on the message line
    QString m_report;
    // Saves since the last load, for 文件信息: over the opened file, and elsewhere.
    std::int64_t m_savedOverAtMs = 0;
    QString m_savedAsPath;
    std::int64_t m_savedAsAtMs = 0;
};

} // namespace rw
