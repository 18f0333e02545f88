// Saves over the opened file: the one backup kept beside it and the names it will not go
// through, and the question before writing over a file that was not loaded whole.

#include "resources/Strings.h"
#include "tests/SignalAt.h"
#include "tests/ui/SaveChild.h"
#include "tests/ui/UiTestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#ifndef _WIN32
#include "tests/cli/CliFixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <cstring>
#include <numeric>

namespace rw::test {
namespace {

class SaveTest : public FrameFixture {
protected:
    void CtrlS() { QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+S"))); }
    static QString Native(const QString& path) { return QDir::toNativeSeparators(path); }
    // How many item records the file holds, read with key.
    static std::size_t RecordsIn(const QString& path, std::uint8_t key = KeySet{}.For(FileKind::Item))
    {
        return ReadDataFile(QFile::encodeName(path).toStdString(), FileKind::Item, key).Count();
    }
};

// 文件 ▸ 保存 (Ctrl+S) writes the opened file itself, and before the first such save after an
// opening keeps the file as it was opened as its .bak; later saves leave that backup alone, and
// a Ctrl+S with nothing unsaved writes nothing at all. 保存 over the opened file keeps it too.
TEST_F(SaveTest, CtrlSKeepsTheFileAsOpenedOnceAndWritesNothingWhenNothingIsUnsaved)
{
    QAction& save = *frame.CommandAction(ids::kCmdFileSave);
    EXPECT_FALSE(save.isEnabled());
    const QString path = Open({.ids = {1, 2, 3}});
    const QString bak = path + QStringLiteral(".bak");
    const QByteArray original = Bytes(path);
    ShowActive();
    EXPECT_TRUE(save.isEnabled());

    CtrlS();
    EXPECT_TRUE(prompter.messages.empty()) << "nothing to save";
    EXPECT_FALSE(QFileInfo::exists(bak));

    DeleteFirstRow();
    CtrlS();
    EXPECT_TRUE(prompter.messages.empty()) << "the status bar says it";
    EXPECT_EQ(MessageLine(), U("stditem.dat文件已保存！"));
    EXPECT_FALSE(Unsaved());
    EXPECT_EQ(Bytes(bak), original);
    EXPECT_EQ(RecordsIn(path), 2u);

    DeleteFirstRow();
    save.trigger();
    EXPECT_EQ(RecordsIn(path), 1u);
    EXPECT_EQ(Bytes(bak), original) << "the file as it was opened";

    // A new key is something a save would write, though no record changed.
    SetItemKey("9");
    ShowActive(); // the keys go to the frame again
    Pane("message").clear();
    CtrlS();
    EXPECT_EQ(MessageLine(), U("stditem.dat文件已保存！"));
    EXPECT_EQ(RecordsIn(path, 9), 1u);
    const QByteArray saved = Bytes(path);

    // Each opening has its backup: the file as this one found it.
    view.OnRefresh();
    DeleteFirstRow();
    prompter.fileAnswers.push_back(path); // 保存, onto the opened file
    view.OnSave();
    EXPECT_EQ(Bytes(bak), saved);
    EXPECT_EQ(RecordsIn(path, 9), 0u);

    prompter.answers = {Answer::Discard};
    QTest::keySequence(&frame, QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(prompter.foldersAsked.size(), 3u) << "Ctrl+O brought the open dialog up";
}

#ifndef _WIN32
// Links, a pipe or a hard link of the table planted under the backup's name: the backup goes
// nowhere else, never waits, and is never the table. A hard link is replaced by a new file;
// anything else stops the save, with the reason, before the table is touched.
TEST_F(SaveTest, TheBackupGoesNowhereElseWhateverIsPlantedUnderItsName)
{
    const QString path = dir.filePath(QStringLiteral("stditem.dat"));
    const QString bak = path + QStringLiteral(".bak");
    const QString elsewhere = dir.filePath(QStringLiteral("other/elsewhere.dat"));
    const QString victim = WriteSample(dir.filePath(QStringLiteral("victim.dat")), {.ids = {99}});
    const QByteArray victimBytes = Bytes(victim);
    const auto name = [](const QString& file) { return QFile::encodeName(file); };
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { ::link(name(path).constData(), name(bak).constData()); }, nullptr},
        {[&] { QFile::link(victim, bak); }, "一个符号链接"},
        {[&] { QFile::link(elsewhere, bak); }, "一个符号链接"},
        {[&] { QFile::link(path, bak); }, "一个符号链接"},
        {[&] { ::mkfifo(name(bak).constData(), 0600); }, "一个管道或设备"},
    };
    for (const auto& [plant, what] : cases) {
        SCOPED_TRACE(what ? what : "hard link");
        QFile::remove(bak);
        prompter.answers = {Answer::Discard};
        const QByteArray original = Bytes(Open({.ids = {1, 2, 3}}));
        plant();
        // A reader of the pipe, so that a save that opened it would write rather than wait.
        const int reader = ::open(name(bak).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
        DeleteFirstRow();
        SaveOver();
        EXPECT_EQ(LastMessage(), what ? Shown(str::kCaptionError, U("无法把原来的文件备份为[%1]：这个名称已被%2占用，备份只替换本用户的"
                                                                    "普通文件。文件没有保存！请把它移走或改名后再保存。")
                                                                      .arg(Native(bak), U(what)))
                                      : QString());
        if (!what) {
            EXPECT_EQ(MessageLine(), U("stditem.dat文件已保存！"));
        }
        prompter.messages.clear();
        EXPECT_EQ(Bytes(victim), victimBytes);
        EXPECT_FALSE(QFileInfo::exists(elsewhere));
        if (reader >= 0 && what) {
            char got[16];
            EXPECT_LE(::read(reader, got, sizeof got), 0) << "nothing went into the pipe";
        }
        if (reader >= 0) ::close(reader);
        EXPECT_EQ(Bytes(what ? path : bak), original);
        EXPECT_EQ(Unsaved(), what != nullptr);
    }
}
#endif

// A file loaded with loss is not written over without a question that names what the save
// will not keep, default 否, for Ctrl+S and for 保存 onto it alike; a save elsewhere, or after
// the file has been written over once, asks nothing.
TEST_F(SaveTest, ASaveOverAFileNotLoadedWholeAsksFirstAndNamesWhatIsLost)
{
    ShowActive();
    struct Case { const char* name; SampleFile sample; QStringList lost; };
    const Case cases[] = {
        {"bytes after the records", {.ids = {1, 2, 3, 4, 5}, .header = 4}, {U("· 最后一条记录之后的 184 字节")}},
        {"a header that counts more", {.ids = {1, 2, 3, 4}, .header = 12},
         {U("· 文件头所说的12条记录：文件缺 1,472 字节，缺的记录没有载入，不完整的记录以0补足")}},
        {"repeated IDs", {.ids = {4, 4, 5, 4, 6, 7}}, {U("· 因ID重复而没有载入的 2 条记录")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.answers = {Answer::Discard};
        const QString path = Open(c.sample);
        const QByteArray loaded = Bytes(path);
        const QString question =
            U("文件[%1]载入时有内容没有载入。保存会覆盖它，下列内容将不会保留：\n%2\n是否仍然保存？").arg(Native(path), c.lost.join('\n'));
        DeleteFirstRow();
        for (const auto& save : std::vector<std::function<void()>>{
                 [&] { CtrlS(); }, [&] { prompter.fileAnswers.push_back(path), view.OnSave(); }}) {
            prompter.Forget();
            prompter.answers = {Answer::No};
            save();
            ASSERT_EQ(prompter.questions.size(), 1u);
            EXPECT_EQ(prompter.questions[0].text, question);
            EXPECT_EQ(prompter.buttonsAsked[0].defaultAnswer, Answer::No);
            EXPECT_EQ(Bytes(path), loaded);
        }
        // Elsewhere, nothing of that file is lost.
        prompter.questions.clear();
        prompter.fileAnswers.push_back(dir.filePath(QStringLiteral("copy.dat")));
        view.OnSave();
        EXPECT_TRUE(prompter.questions.empty());
        // 是 writes, keeping the file as loaded beside it; what it wrote is then the file.
        DeleteFirstRow();
        prompter.answers = {Answer::Yes};
        CtrlS();
        EXPECT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(Bytes(path + QStringLiteral(".bak")), loaded);
        DeleteFirstRow();
        CtrlS();
        EXPECT_EQ(prompter.questions.size(), 1u);
        QFile::remove(path + QStringLiteral(".bak"));
    }
}

// The opened file replaced by a folder: the save says so, with no question about changes it
// could not overwrite, and no word of the backup.
TEST_F(SaveTest, AnOpenedFileReplacedByAFolderIsSaidToBeOne)
{
    const QString path = Open({.ids = {1, 2}});
    DeleteFirstRow();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("stditem.dat")));
    prompter.questions.clear();
    SaveOver();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(LastMessage(), Shown(str::kCaptionError, U("文件[%1]保存失败：它是一个文件夹").arg(Native(path))));
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".bak")));
    EXPECT_TRUE(Unsaved());
}

// After 保存 writes the table elsewhere, the window still stands for the opened file: its title
// names it, 文件信息 tells the table and that file as they are now, and Ctrl+S writes the
// changes over it.
TEST_F(SaveTest, AfterASaveElsewhereTheTitleInfoAndCtrlSStayWithTheOpenedFile)
{
    const QString path = Open({.ids = {1, 2, 3}});
    ShowActive();
    const QString title = frame.windowTitle();
    const auto info = [&] {
        prompter.messages.clear();
        frame.CommandAction(ids::kCmdFileInfo)->trigger();
        return prompter.messages.empty() ? QString() : prompter.messages.back().text;
    };
    DeleteFirstRow();
    const QString elsewhere = dir.filePath(QStringLiteral("stditem2.dat"));
    prompter.fileAnswers.push_back(elsewhere);
    view.OnSave();
    ASSERT_EQ(RecordsIn(elsewhere), 2u);
    EXPECT_EQ(frame.windowTitle(), title);
    QString text = info();
    for (const QString& line : {U("记录数：2\n"), U("文件大小：556 字节\n"), U("另存为：%1（").arg(Native(elsewhere)),
                                U(str::kFileInfoBehind)}) {
        EXPECT_TRUE(text.contains(line)) << line.toStdString() << " in " << text.toStdString();
    }
    CtrlS();
    EXPECT_EQ(RecordsIn(path), 2u);
    EXPECT_EQ(frame.windowTitle(), title);
    text = info();
    EXPECT_TRUE(text.contains(U("文件大小：372 字节\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U("保存时间："))) << text.toStdString();
    EXPECT_FALSE(text.contains(U(str::kFileInfoBehind)));
}

#ifndef _WIN32
// The editor's saves over the opened file (SaveChild.h), each in a process of its own, with a
// table large enough for a copy into a linked file to take several writes.
class SaveFaultTest : public SaveTest {
protected:
    struct ChildRun {
        int status = -1; // the exit status, or 128 + the signal that ended it
        std::string said; // the messages the editor showed, a line each
    };
    [[nodiscard]] std::string Child(const char* how) const
    {
        return Quoted(QCoreApplication::applicationFilePath().toStdString()) + " " + kSaveChildOption + " " +
               Quoted(table.toStdString()) + " " + how;
    }
    ChildRun Run(const std::string& line)
    {
        const QString said = dir.filePath(QStringLiteral("said.txt"));
        const std::string command = "QT_QPA_PLATFORM=offscreen; export QT_QPA_PLATFORM; T=" + Quoted(table.toStdString()) +
                                    "\n{ " + line + "\n} 2>" + Quoted(said.toStdString()) + " >/dev/null";
        const int status = std::system(command.c_str());
        ChildRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}};
        for (const QByteArray& line : Bytes(said).split('\n')) {
            if (line.startsWith(kSaidPrefix)) run.said += line.mid(static_cast<qsizetype>(std::strlen(kSaidPrefix))).toStdString() + "\n";
        }
        return run;
    }
    void Reset(bool linked)
    {
        for (const QString& name : {table, table + QStringLiteral(".bak"), other}) QFile::remove(name);
        ASSERT_FALSE(WriteBytes(table, old).isEmpty());
        if (linked) {
            ASSERT_EQ(::link(QFile::encodeName(table).constData(), QFile::encodeName(other).constData()), 0);
        }
    }
    // The hidden files a save leaves behind.
    [[nodiscard]] QStringList Leftovers() const { return QDir(dir.path()).entryList({QStringLiteral(".*")}, QDir::Hidden | QDir::Files); }

    const QString table = dir.filePath(QStringLiteral("stditem.dat"));
    const QString other = dir.filePath(QStringLiteral("other-name.dat"));
    QByteArray old;
    void SetUp() override
    {
        std::vector<std::int32_t> ids(20'000);
        std::iota(ids.begin(), ids.end(), 1);
        WriteSample(table, {.ids = ids});
        old = Bytes(table);
    }
};

// A signal that ends the editor at several moments of Ctrl+S or 保存, over a file linked under
// a second name or not: the file holds its old bytes or its new ones, never a mix, under both
// names; the backup, when there is one, holds the file as opened; nothing is left behind.
TEST_F(SaveFaultTest, ASignalAtAnyMomentOfASaveLeavesTheOldFileOrTheNew)
{
    if (!CanSendSignalsAt()) GTEST_SKIP() << "strace cannot trace here";
    // The temporary file flushed, the backup or the file renamed in, the copy into a linked
    // file half done and ending.
    const std::pair<const char*, int> moments[] = {{"fsync", 1}, {"rename", 1}, {"rename", 2}, {"pwrite64", 2}, {"ftruncate", 1}};
    for (const char* how : {"ctrl-s", "save"}) {
        Reset(false);
        ASSERT_EQ(Run(Child(how)).status, 0);
        const QByteArray wanted = Bytes(table);
        ASSERT_NE(wanted, old);
        for (const bool linked : {false, true}) {
            for (const auto& [call, when] : moments) {
                const std::string signal = when % 2 ? "SIGTERM" : "SIGINT";
                SCOPED_TRACE(std::string(how) + (linked ? " linked, " : ", ") + signal + " at " + call + " " + std::to_string(when));
                Reset(linked);
                const ChildRun run = Run(WithSignalAt(Child(how), call, when, signal));
                const QByteArray now = Bytes(table);
                EXPECT_TRUE(now == old || now == wanted) << "a mix of old and new bytes";
                if (linked && std::string_view(call) == "pwrite64") {
                    EXPECT_NE(run.status, 0) << "the signal came half way through the copy";
                }
                if (run.status == 0) {
                    EXPECT_EQ(now, wanted);
                } else {
                    EXPECT_EQ(run.status, 128 + (signal == "SIGTERM" ? SIGTERM : SIGINT)) << run.said;
                }
                if (linked) {
                    EXPECT_EQ(Bytes(other), now);
                }
                if (QFileInfo::exists(table + QStringLiteral(".bak"))) {
                    EXPECT_EQ(Bytes(table + QStringLiteral(".bak")), old);
                }
                EXPECT_EQ(Leftovers(), QStringList());
            }
        }
    }
}

// A save that runs out of room (a file size limit, as on a full disk) leaves the file as it was
// and no backup, and says why; one during which another program writes the file (changes it,
// adds to it, cuts it short) writes nothing over that program's file, the backup neither.
TEST_F(SaveFaultTest, AFullDiskOrAnotherProgramsWriteStopsTheSaveWithNothingChanged)
{
    for (const char* how : {"ctrl-s", "save"}) {
        SCOPED_TRACE(how);
        Reset(false);
        const ChildRun run = Run("(ulimit -f 1000; " + Child(how) + ")");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.said, U("文件[%1]保存失败：文件太大，超过了系统允许的大小\n").arg(Native(table)).toStdString());
        EXPECT_EQ(Bytes(table), old);
        EXPECT_FALSE(QFileInfo::exists(table + QStringLiteral(".bak")));
        EXPECT_EQ(Leftovers(), QStringList());
    }

    if (!CanSendSignalsAt()) GTEST_SKIP() << "strace cannot trace here";
    const std::pair<const char*, const char*> writes[] = {
        {"changed", "printf '\\125' | dd of=\"$T\" bs=1 seek=200 conv=notrunc 2>/dev/null"},
        {"grown", "printf 'more' >>\"$T\""},
        {"shrunk", "truncate -s -184 \"$T\""},
    };
    const std::string log = dir.filePath(QStringLiteral("strace.log")).toStdString();
    // Held still once the new file is flushed (before the backup), and once the backup is.
    for (const int when : {1, 2}) {
        for (const auto& [what, write] : writes) {
            for (const char* how : {"ctrl-s", "save"}) {
                SCOPED_TRACE(std::string(what) + " after fsync " + std::to_string(when) + ", " + how);
                Reset(false);
                std::filesystem::remove(log);
                const ChildRun run =
                    Run(StoppedWhile(WithSignalAt(Child(how), "fsync", when, "SIGSTOP", log), log, std::string(write) + " && cp \"$T\" \"$T.theirs\""));
                EXPECT_EQ(run.status, 1);
                EXPECT_EQ(run.said, (U(str::kChangedWhileSavingFormat).arg(Native(table)) + '\n').toStdString());
                EXPECT_EQ(Bytes(table), Bytes(table + QStringLiteral(".theirs"))) << "their change is kept";
                EXPECT_FALSE(QFileInfo::exists(table + QStringLiteral(".bak")));
                EXPECT_EQ(Leftovers(), QStringList());
            }
        }
    }
}
#endif

// The status bar says what a save would write otherwise: changed records, another order, both;
// the question before closing says when the order is all.
TEST_F(SaveTest, TheStatusBarTellsChangedRecordsFromAnotherOrder)
{
    const struct {
        const char* steps; // d: delete the first row, s: sort by name, S: Ctrl+S, u: undo
        const char* said;  // nothing: the pane is hidden
    } cases[] = {
        {"s", "记录顺序已改变"},
        {"ds", "已修改 1 条记录，记录顺序已改变"},
        {"sd", "已修改 1 条记录，记录顺序已改变"},
        {"d", "已修改 1 条记录"},
        {"sSu", "记录顺序已改变"}, // the saved file has the sorted order
        {"sSs", "记录顺序已改变"},
        {"du", ""},
        {"dsu", "已修改 1 条记录"},
        {"dsuu", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        prompter.answers = {Answer::Discard};
        Open({.ids = {3, 1, 2}});
        ShowActive();
        for (const char step : std::string_view(c.steps)) {
            switch (step) {
            case 'd': DeleteFirstRow(); break;
            case 's': view.OnHeaderItemClick(kNameColumn); break;
            case 'S': CtrlS(); break;
            case 'u': Undo(); break;
            }
        }
        EXPECT_EQ(Pane("changes").isVisible() ? Pane("changes").text() : QString(), U(c.said));
        prompter.questions.clear();
        prompter.answers = {Answer::Cancel};
        EXPECT_EQ(frame.close(), *c.said == '\0');
        if (*c.said != '\0') {
            ASSERT_EQ(prompter.questions.size(), 1u);
            EXPECT_EQ(prompter.questions[0].text, U(std::string_view(c.said) == "记录顺序已改变" ? str::kSaveOrderQuestion
                                                                                          : str::kSaveChangesQuestion));
        }
    }
}

} // namespace
} // namespace rw::test
