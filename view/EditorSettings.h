#pragma once

// What the editor remembers between runs, in Qt's settings in the platform's usual place for a
// user's settings (an INI file there): whether the frame may be resized and how large it was,
// each kind's column widths and hidden columns and its plot dock, the files opened last, and the
// folders the file dialogs have been to. Nothing remembered means a first start: the fixed frame,
// the kinds' own widths, no recent files.

#include "data/FileKind.h"
#include "ui/FileDialogHistory.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QSettings;

namespace rw {

// One kind's columns as the user left them: a width for every column, and which are hidden.
struct ColumnLayout {
    std::vector<int> widths;
    std::vector<bool> hidden;
};

// One kind's plot dock as the user left it: its place, the plot type and the columns plotted.
struct PlotLayout {
    int area = 0; // a Qt::DockWidgetArea; 0 when none is remembered
    bool floating = false;
    QSize size;
    bool scatter = false;
    int xColumn = -1; // -1 when none is remembered
    int yColumn = -1;
};

struct RecentFile {
    QString path;
    FileKind kind = FileKind::None; // the kind it was opened as
    friend bool operator==(const RecentFile&, const RecentFile&) = default;
};

class EditorSettings final : public FileDialogHistory {
public:
    static constexpr std::size_t kMaxRecentFiles = 8;

    // The user's settings.
    EditorSettings();
    // Those an INI file holds, for a reader that is given one.
    explicit EditorSettings(const QString& iniFile);
    ~EditorSettings() override;
    EditorSettings(const EditorSettings&) = delete;
    EditorSettings& operator=(const EditorSettings&) = delete;

    [[nodiscard]] bool Resizable() const;
    void SetResizable(bool resizable);
    // The frame's size while it could be resized, and whether it was maximized.
    [[nodiscard]] std::optional<QSize> FrameSize() const;
    void SetFrameSize(QSize size);
    [[nodiscard]] bool Maximized() const;
    void SetMaximized(bool maximized);

    // Nothing when nothing fitting columnCount columns is remembered.
    [[nodiscard]] std::optional<ColumnLayout> Columns(FileKind kind, int columnCount) const;
    void SetColumns(FileKind kind, const ColumnLayout& layout);

    // The last first, at most kMaxRecentFiles, each path once. An entry without a path or a
    // kind is passed over, and not counted.
    [[nodiscard]] std::vector<RecentFile> RecentFiles() const;
    // Puts file first, once, dropping the oldest beyond the limit.
    void AddRecentFile(const RecentFile& file);
    void RemoveRecentFile(const QString& path);

    [[nodiscard]] QStringList DialogFolders() const override;
    void SetDialogFolders(const QStringList& folders) override;
    // Columns are kept by title: one the kind lacks comes back as -1.
    [[nodiscard]] PlotLayout Plot(FileKind kind) const;
    void SetPlot(FileKind kind, const PlotLayout& layout);

    // Forgets everything.
    void Clear();

private:
    void SetRecentFiles(const std::vector<RecentFile>& files);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace rw
