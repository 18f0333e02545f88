// The editor's remembered settings over any INI file, as damage or a hand might leave it:
// every reading answers at once and within its bounds (the recent list at most eight
// entries, each with a path and a kind, no path twice; columns as many as asked for). A file
// opened then goes first in the recent list, the others keeping their order, and the list is
// read back the same from what was written. The input is the file.

#include "fuzz/FuzzCheck.h"
#include "data/Schema.h"
#include "view/EditorSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

using namespace rw;

void CheckRecent(const std::vector<RecentFile>& files)
{
    Require(files.size() <= EditorSettings::kMaxRecentFiles);
    for (std::size_t i = 0; i < files.size(); ++i) {
        Require(!files[i].path.isEmpty() && IsDataKind(files[i].kind));
        for (std::size_t j = 0; j < i; ++j) Require(files[j].path != files[i].path);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where the system has it: the settings are flushed to the disk when written.
    // One name, so that QSettings keeps one file's cache rather than a new one for each input,
    // and a time of its own for each input: QSettings reads a file again only when its size or
    // time changed. Removed after each input, since libFuzzer may end without cleaning up.
    static const QString path = QDir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
                                    .filePath(QStringLiteral("recwright-fuzz-settings-%1.ini").arg(QCoreApplication::applicationPid()));
    static qint64 run = 0;
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == static_cast<qint64>(size));
        Require(file.setFileTime(QDateTime::fromMSecsSinceEpoch(++run * 1000), QFileDevice::FileModificationTime));
    }
    std::vector<RecentFile> before;
    {
        EditorSettings settings(path);
        (void)settings.Resizable();
        (void)settings.Maximized();
        if (const auto frame = settings.FrameSize()) Require(frame->isValid() && !frame->isEmpty());
        for (const FileKind kind : kAllKinds) {
            const int count = SchemaOf(kind).ColumnCount();
            if (const auto layout = settings.Columns(kind, count)) {
                Require(layout->widths.size() == static_cast<std::size_t>(count) && layout->hidden.size() == layout->widths.size());
                Require(std::all_of(layout->widths.begin(), layout->widths.end(), [](int width) { return width >= 0; }));
            }
        }
        before = settings.RecentFiles();
        CheckRecent(before);

        const RecentFile opened{QStringLiteral("/opened/stditem.dat"), FileKind::Item};
        settings.AddRecentFile(opened);
        std::vector<RecentFile> expected{opened};
        for (const RecentFile& file : before) {
            if (file.path != opened.path && expected.size() < EditorSettings::kMaxRecentFiles) expected.push_back(file);
        }
        Require(settings.RecentFiles() == expected);
        before = expected;
    }
    Require(EditorSettings(path).RecentFiles() == before);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".lock"));
    return 0;
}
