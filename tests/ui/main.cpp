#include "shell/CEditorApp.h"
#ifdef RECWRIGHT_SAVE_CHILD
#include "system/Platform.h"
#include "tests/ui/SaveChild.h"
#endif

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The windows are tested inside the program's own application object, so they get the
// program's font and metadata.
int main(int argc, char** argv)
{
    // Headless unless told otherwise, on a screen as large as a desktop's: the offscreen
    // platform's own is 800 × 600, smaller than the form. The tests that need a small screen
    // say so themselves. The test list is also read at build time, without a display.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString config;
    if (platform.isEmpty() || platform == "offscreen") {
        const QString name = QStringLiteral("recwright-offscreen-%1.json").arg(QCoreApplication::applicationPid());
#ifdef _WIN32
        // The platform's arguments are split at colons, a drive's too: a name in the current folder.
        config = name;
#else
        config = QDir::temp().filePath(name);
#endif
        QFile file(config);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1200,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    // The editor's settings go to a folder of the run's own, never to the user's.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    rw::CEditorApp app(argc, argv);
    if (!config.isEmpty()) QFile::remove(config); // read while the application started
#ifdef RECWRIGHT_SAVE_CHILD
    // One save of the editor's, run by a test that sends it signals or limits its files.
    if (argc == 4 && qstrcmp(argv[1], rw::test::kSaveChildOption) == 0) {
        rw::RemoveTemporaryFilesOnSignals(); // as the editor's main does
        return rw::test::RunSaveChild(QFile::decodeName(argv[2]), QString::fromLatin1(argv[3]));
    }
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
