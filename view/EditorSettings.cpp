#include "view/EditorSettings.h"

#include "data/Schema.h"

#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace rw {
namespace {

constexpr char kResizableKey[] = "frame/resizable";
constexpr char kFrameSizeKey[] = "frame/size";
constexpr char kMaximizedKey[] = "frame/maximized";
constexpr char kRecentKey[] = "recent";
constexpr char kRecentSizeKey[] = "size"; // as QSettings writes an array's
constexpr char kRecentPathKey[] = "path";
constexpr char kRecentKindKey[] = "kind";
constexpr char kDialogFoldersKey[] = "fileDialogs/folders";

// "columns/item", "columns/magic", "columns/monster"; "plot/item" and so on.
[[nodiscard]] QString KindGroup(const char* prefix, FileKind kind)
{
    QString name = QString::fromUtf8(SchemaOf(kind).fileName);
    return QString::fromUtf8(prefix) + QLatin1Char('/') + name.left(name.indexOf(QLatin1Char('.')));
}
[[nodiscard]] QString ColumnsGroup(FileKind kind) { return KindGroup("columns", kind); }

[[nodiscard]] QString TitleOf(const RecordSchema& schema, int column)
{
    if (column < 0 || column >= schema.ColumnCount()) return {};
    const std::string_view title = schema.Column(column).title;
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}
[[nodiscard]] int ColumnTitled(const RecordSchema& schema, const QString& title)
{
    for (int column = 0; column < schema.ColumnCount(); ++column) {
        if (TitleOf(schema, column) == title) return column;
    }
    return -1;
}

// A kind stored by its file name, which stays the same whatever the enum's numbers.
[[nodiscard]] QString KindName(FileKind kind) { return IsDataKind(kind) ? QString::fromUtf8(SchemaOf(kind).fileName) : QString(); }
[[nodiscard]] FileKind KindNamed(const QString& name)
{
    for (const FileKind kind : kAllKinds) {
        if (name == KindName(kind)) return kind;
    }
    return FileKind::None;
}

} // namespace

// INI files on every platform (the registry is not one place tests can redirect).
EditorSettings::EditorSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Recwright"),
                                             QStringLiteral("Recwright")))
{
}

EditorSettings::EditorSettings(const QString& iniFile) : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

EditorSettings::~EditorSettings() = default;

bool EditorSettings::Resizable() const { return m_settings->value(kResizableKey, false).toBool(); }

void EditorSettings::SetResizable(bool resizable) { m_settings->setValue(kResizableKey, resizable); }

std::optional<QSize> EditorSettings::FrameSize() const
{
    const QSize size = m_settings->value(kFrameSizeKey).toSize();
    if (!size.isValid() || size.isEmpty()) return std::nullopt;
    return size;
}

void EditorSettings::SetFrameSize(QSize size) { m_settings->setValue(kFrameSizeKey, size); }

bool EditorSettings::Maximized() const { return m_settings->value(kMaximizedKey, false).toBool(); }

void EditorSettings::SetMaximized(bool maximized) { m_settings->setValue(kMaximizedKey, maximized); }

std::optional<ColumnLayout> EditorSettings::Columns(FileKind kind, int columnCount) const
{
    if (!IsDataKind(kind)) return std::nullopt;
    m_settings->beginGroup(ColumnsGroup(kind));
    const QStringList widths = m_settings->value(QStringLiteral("widths")).toStringList();
    const QStringList hidden = m_settings->value(QStringLiteral("hidden")).toStringList();
    m_settings->endGroup();
    if (widths.size() != columnCount) return std::nullopt;
    ColumnLayout layout;
    for (const QString& text : widths) {
        bool ok = false;
        const int width = text.toInt(&ok);
        if (!ok || width < 0) return std::nullopt;
        layout.widths.push_back(width);
    }
    // Hidden columns by title: a title the kind lacks is passed over.
    const RecordSchema& schema = SchemaOf(kind);
    for (int column = 0; column < columnCount && column < schema.ColumnCount(); ++column) {
        const std::string_view title = schema.Column(column).title;
        layout.hidden.push_back(hidden.contains(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()))));
    }
    layout.hidden.resize(static_cast<std::size_t>(columnCount), false);
    return layout;
}

void EditorSettings::SetColumns(FileKind kind, const ColumnLayout& layout)
{
    if (!IsDataKind(kind)) return;
    const RecordSchema& schema = SchemaOf(kind);
    QStringList widths;
    for (const int width : layout.widths) widths.push_back(QString::number(width));
    QStringList hidden;
    for (std::size_t column = 0; column < layout.hidden.size() && static_cast<int>(column) < schema.ColumnCount(); ++column) {
        if (!layout.hidden[column]) continue;
        const std::string_view title = schema.Column(static_cast<int>(column)).title;
        hidden.push_back(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    }
    m_settings->beginGroup(ColumnsGroup(kind));
    m_settings->setValue(QStringLiteral("widths"), widths);
    m_settings->setValue(QStringLiteral("hidden"), hidden);
    m_settings->endGroup();
}

PlotLayout EditorSettings::Plot(FileKind kind) const
{
    PlotLayout layout;
    if (!IsDataKind(kind)) return layout;
    const RecordSchema& schema = SchemaOf(kind);
    m_settings->beginGroup(KindGroup("plot", kind));
    layout.area = m_settings->value(QStringLiteral("area"), 0).toInt();
    layout.floating = m_settings->value(QStringLiteral("floating"), false).toBool();
    layout.size = m_settings->value(QStringLiteral("size")).toSize();
    layout.scatter = m_settings->value(QStringLiteral("type")).toString() == QStringLiteral("scatter");
    layout.xColumn = ColumnTitled(schema, m_settings->value(QStringLiteral("x")).toString());
    layout.yColumn = ColumnTitled(schema, m_settings->value(QStringLiteral("y")).toString());
    m_settings->endGroup();
    return layout;
}

void EditorSettings::SetPlot(FileKind kind, const PlotLayout& layout)
{
    if (!IsDataKind(kind)) return;
    const RecordSchema& schema = SchemaOf(kind);
    m_settings->beginGroup(KindGroup("plot", kind));
    m_settings->setValue(QStringLiteral("area"), layout.area);
    m_settings->setValue(QStringLiteral("floating"), layout.floating);
    m_settings->setValue(QStringLiteral("size"), layout.size);
    m_settings->setValue(QStringLiteral("type"), layout.scatter ? QStringLiteral("scatter") : QStringLiteral("histogram"));
    m_settings->setValue(QStringLiteral("x"), TitleOf(schema, layout.xColumn));
    m_settings->setValue(QStringLiteral("y"), TitleOf(schema, layout.yColumn));
    m_settings->endGroup();
}

std::vector<RecentFile> EditorSettings::RecentFiles() const
{
    // The entries the file holds, never as many as its size says: a size of two billion, by
    // hand or damage, would be two billion look-ups each time a file is opened.
    m_settings->beginGroup(kRecentKey);
    // The groups before any value: listing them reads every section of the file, so that a key
    // a damaged file gives in two sections of one name reads the same at every call.
    const QStringList groups = m_settings->childGroups();
    const int size = m_settings->value(kRecentSizeKey).toInt();
    std::vector<int> entries;
    for (const QString& group : groups) {
        bool number = false;
        const int entry = group.toInt(&number);
        // As the entry's own key writes it: "1", never "01" or "+1".
        if (number && entry >= 1 && entry <= size && group == QString::number(entry)) entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end());
    std::vector<RecentFile> files;
    for (auto entry = entries.begin(); entry != entries.end() && files.size() < kMaxRecentFiles; ++entry) {
        const QString prefix = QString::number(*entry) + QLatin1Char('/');
        RecentFile file{m_settings->value(prefix + QLatin1String(kRecentPathKey)).toString(),
                        KindNamed(m_settings->value(prefix + QLatin1String(kRecentKindKey)).toString())};
        const bool listed = std::any_of(files.begin(), files.end(), [&](const RecentFile& known) { return known.path == file.path; });
        if (!file.path.isEmpty() && IsDataKind(file.kind) && !listed) files.push_back(std::move(file));
    }
    m_settings->endGroup();
    return files;
}

void EditorSettings::AddRecentFile(const RecentFile& file)
{
    std::vector<RecentFile> files = RecentFiles();
    std::erase_if(files, [&](const RecentFile& known) { return known.path == file.path; });
    files.insert(files.begin(), file);
    if (files.size() > kMaxRecentFiles) files.resize(kMaxRecentFiles);
    SetRecentFiles(files);
}

void EditorSettings::RemoveRecentFile(const QString& path)
{
    std::vector<RecentFile> files = RecentFiles();
    std::erase_if(files, [&](const RecentFile& known) { return known.path == path; });
    SetRecentFiles(files);
}

void EditorSettings::SetRecentFiles(const std::vector<RecentFile>& files)
{
    m_settings->remove(kRecentKey);
    m_settings->beginWriteArray(kRecentKey, static_cast<int>(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        m_settings->setArrayIndex(static_cast<int>(i));
        m_settings->setValue(kRecentPathKey, files[i].path);
        m_settings->setValue(kRecentKindKey, KindName(files[i].kind));
    }
    m_settings->endArray();
}

QStringList EditorSettings::DialogFolders() const
{
    const QStringList folders = m_settings->value(kDialogFoldersKey).toStringList();
    return folders.mid(std::max<qsizetype>(0, folders.size() - kMaxFolders));
}

void EditorSettings::SetDialogFolders(const QStringList& folders) { m_settings->setValue(kDialogFoldersKey, folders); }

void EditorSettings::Clear() { m_settings->clear(); }

} // namespace rw
