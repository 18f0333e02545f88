// Tables in and out through the 文件 menu, and comparison with another file, as a user
// drives them.

#include "exchange/OnlyInOtherDialog.h"
#include "resources/Strings.h"
#include "tests/ui/UiTestSupport.h"
#include "text/GbkCodec.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

#include <numeric>

namespace rw::test {
namespace {

class TransferTest : public FrameFixture {
protected:
    void Run(int commandId) { frame.CommandAction(commandId)->trigger(); }
    static int Cli(const QStringList& arguments)
    {
        QProcess cli;
        cli.start(QStringLiteral(RECWRIGHT_CLI), arguments);
        cli.waitForFinished(60'000);
        return cli.exitCode();
    }
    // Names a spreadsheet would make into something else, and one GBK cannot hold as text.
    QString OpenTricky(FileKind kind)
    {
        const QString path = Open({kind, {0, 1, 2, 3, 4}});
        const char* names[] = {"007", "1e5", "=1+1", "3/4", "晨露药剂"};
        for (int row = 0; row < 5; ++row) EditCell(row, kNameColumn, U(names[row]));
        SaveOver();
        return path;
    }
    // A CSV of kind with the given (ID, name) rows, no Raw, every field 0.
    static QByteArray Csv(FileKind kind, const std::vector<std::pair<QByteArray, QByteArray>>& rows)
    {
        const RecordSchema& schema = SchemaOf(kind);
        QByteArrayList titles;
        for (const ColumnSpec& column : schema.columns) titles << QByteArray(column.title.data(), int(column.title.size()));
        QByteArray text = titles.join(',') + '\n';
        for (const auto& [id, name] : rows) text += id + ',' + name + QByteArray(",0").repeated(schema.ColumnCount() - 2) + '\n';
        return text;
    }
    [[nodiscard]] QVariant Tint(int row, int column) { return Model().index(row, column).data(Qt::BackgroundRole); }
    [[nodiscard]] QString Tip(int row, int column) { return Model().index(row, column).data(Qt::ToolTipRole).toString(); }
};

// Each kind in one of the types: the CSV itself is the record library's test, and the fixed
// CSVs of every kind are the command line's (Cli.ExportWritesTheFixedCsvOfEachKindByteForByte),
// whose bytes the window's export is held to here.
TEST_F(TransferTest, ExportGivesTheCommandLinesBytesAndImportTheTableBackForEveryKindAndType)
{
    struct Type { TransferFormat type; const char* encoding; };
    const Type types[] = {{TransferFormat::CsvUtf8Bom, "utf-8-bom"}, {TransferFormat::CsvUtf8, "utf-8"}, {TransferFormat::CsvGbk, "gbk"}};
    for (const FileKind kind : kAllKinds) {
        const QString data = OpenTricky(kind);
        const Type& t = types[static_cast<int>(kind)]; // each kind and each type once
        const QString ours = dir.filePath(QStringLiteral("ours.csv"));
        const QString theirs = dir.filePath(QStringLiteral("theirs.csv"));
        Export(ours, t.type);
        ASSERT_EQ(Cli({"export", data, "-o", theirs, "--encoding", t.encoding}), 0) << t.encoding;
        EXPECT_EQ(Bytes(ours), Bytes(theirs)) << t.encoding << " kind " << int(kind);

        // The import brings the very records back.
        Import(ours);
        const QString saved = dir.filePath(QStringLiteral("saved.dat"));
        prompter.fileAnswers.push_back(saved);
        view.OnSave();
        EXPECT_EQ(Bytes(saved), Bytes(data)) << t.encoding << " kind " << int(kind);

        // A workbook keeps every name as it was.
        const QString sheet = dir.filePath(QStringLiteral("table.xlsx"));
        const QByteArray before = Bytes(data);
        Export(sheet, TransferFormat::CsvUtf8); // the name's suffix decides
        EXPECT_TRUE(Bytes(sheet).startsWith("PK\x03\x04")) << "a workbook, not CSV";
        Import(sheet);
        SaveOver();
        EXPECT_EQ(Bytes(data), before) << "kind " << int(kind);
    }
}

// Names a spreadsheet may take for formulas stay as they are in the CSV, and the export's
// summary warns of them once, pointing to a workbook, which keeps them as text; no progress
// window covers it.
TEST_F(TransferTest, NamesThatMayReadAsFormulasAreWarnedOfOnce)
{
    prompter.onMessage = [&] { EXPECT_EQ(prompter.metersShown, 0) << "a progress window over the message"; };
    Open({FileKind::Item, {1, 2, 3, 4}});
    const char* names[] = {"a=b", "=1+1", "@SUM(A1)", "-3"};
    for (int row = 0; row < 4; ++row) EditCell(row, kNameColumn, U(names[row]));
    SaveOver();
    struct Case { TransferFormat type; const char* file; bool warned; };
    const Case cases[] = {{TransferFormat::CsvUtf8Bom, "names.csv", true}, {TransferFormat::Sheet, "names.xlsx", false}};
    for (const Case& c : cases) {
        const std::size_t before = prompter.messages.size();
        const QString path = dir.filePath(U(c.file));
        Export(path, c.type);
        // Without a warning the status bar says it went well.
        ASSERT_EQ(prompter.messages.size(), before + (c.warned ? 1 : 0)) << c.file;
        const QString shown = c.warned ? prompter.messages.back().text : MessageLine();
        if (c.warned) {
            EXPECT_EQ(prompter.messages.back().caption, U(str::kCaptionWarning)) << c.file;
        }
        EXPECT_TRUE(shown.startsWith(U("已把4条记录导出到[%1]").arg(U(c.file)))) << shown.toStdString();
        EXPECT_EQ(shown.contains(U("有3个名称以 =、+、- 或 @ 开头（第一个：ID 2 “=1+1”）")), c.warned) << shown.toStdString();
        EXPECT_EQ(shown.contains(U("请导出为Excel工作簿（.xlsx）")), c.warned) << shown.toStdString();
    }
}

TEST_F(TransferTest, RefusedImportsChangeNothingAndSayWhy)
{
    Open({FileKind::Item, {1, 2}});
    const auto file = [&](const char* name, const QByteArray& bytes) { return WriteBytes(dir.filePath(U(name)), bytes); };
    struct Case { QString path; const char* expected; };
    const Case cases[] = {
        {file("monsters.csv", Csv(FileKind::Monster, {{"1", "a"}})), "是怪物（monster.dat）的表格"},
        {file("bad.csv", Csv(FileKind::Item, {{"1", "a"}, {"x", "b"}})), "第3行第1列：ItemID：“x”不是"},
        {file("damaged.xlsx", "PK\x03\x04 but nothing more"), "damaged.xlsx"},
        {file("empty.csv", Csv(FileKind::Item, {})), "中没有记录"},
        {dir.filePath(QStringLiteral("missing.csv")), "无法读取[%1]：文件不存在"},
        {dir.path(), "无法读取[%1]：它不是普通文件，而是文件夹、设备或管道"},
    };
    for (const Case& c : cases) {
        Import(c.path);
        // Only some of the texts name the file.
        QString expected = U(c.expected);
        if (expected.contains(QLatin1String("%1"))) expected = expected.arg(QDir::toNativeSeparators(c.path));
        EXPECT_TRUE(LastMessage().contains(expected)) << c.expected << " in " << LastMessage().toStdString();
        EXPECT_EQ(Ids(), (std::vector<std::int32_t>{1, 2}));
        EXPECT_EQ(UndoText(), U("撤销")) << "nothing to undo";
    }
}

TEST_F(TransferTest, ChangedNamesAreListedAndKeptWhenAsked)
{
    Open({FileKind::Item, {1, 2}});
    const QString csv = dir.filePath(QStringLiteral("items.csv"));
    // The summary shows each CSV's names in its own encoding.
    const std::pair<TransferFormat, QByteArray> types[] = {
        {TransferFormat::CsvUtf8, "霜纹"}, {TransferFormat::CsvGbk, GbkCodec::Instance().Encode(U("霜纹"))->c_str()}};
    for (const auto& [type, name] : types) {
        SCOPED_TRACE(int(type));
        Export(csv, type);
        WriteBytes(csv, Bytes(csv).replace(",N1,", "," + name + ","));
        Import(csv);
        EXPECT_TRUE(LastMessage().contains(U("第2行，ID 1：“N1” → “霜纹”"))) << LastMessage().toStdString();
        // Raw said in the user's words.
        EXPECT_TRUE(LastMessage().contains(U("记录的原始字节（Raw列，保存着各列不显示的内容）")));
        EXPECT_EQ(Cell(0, kNameColumn), U("霜纹"));
        Undo();
    }
    Export(csv);
    WriteBytes(csv, Bytes(csv).replace(",N1,", ",7,"));

    frame.CommandAction(ids::kCmdKeepNames)->setChecked(true);
    Import(csv);
    EXPECT_TRUE(LastMessage().contains(U("已按设置保留原名称"))) << LastMessage().toStdString();
    EXPECT_EQ(Cell(0, kNameColumn), QStringLiteral("N1"));
    EXPECT_TRUE(!Unsaved() || Pane("changes").text() == U("已修改 0 条记录"));
}

TEST_F(TransferTest, CancelledTransfersChangeNothingAndAnEmptyWindowAsksTheKind)
{
    const QString csv = WriteBytes(dir.filePath(QStringLiteral("spells.csv")), Csv(FileKind::Magic, {{"5", "a"}}));
    prompter.cancelAt = 1;
    Import(csv);
    EXPECT_EQ(frame.windowTitle(), U(str::kAppTitle));
    prompter.cancelAt.reset();

    prompter.items.push_back(1); // 魔法
    Import(csv);
    ASSERT_TRUE(frame.windowTitle().endsWith(QStringLiteral("[magic.dat]")));
    EXPECT_EQ(Ids(), std::vector<std::int32_t>{5});

    std::vector<std::int32_t> many(5000);
    std::iota(many.begin(), many.end(), 1);
    prompter.answers.push_back(Answer::Discard); // the imported table
    Open({FileKind::Item, many});
    ASSERT_EQ(RowCount(), 5000);
    const QString target = dir.filePath(QStringLiteral("out.csv"));
    prompter.cancelAt = 4096;
    Export(target);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(TransferTest, CompareMarksWhatDiffersAndOffersRecordsOnlyThere)
{
    const QString other = Write(QStringLiteral("stditem.dat.bak"), {FileKind::Item, {1, 2, 4}});
    Open({FileKind::Item, {3, 2, 1}});
    EditCell(RowOfId(2), 5, QStringLiteral("9"));
    const QVariant none = Tint(RowOfId(1), 5);

    // One box: the summary above the records only in the other file. Closed, it can be had
    // again from 查看, and its records taken over then.
    const auto answer = [&](bool takeOver) {
        WhenModalOpens([&, takeOver](QWidget* modal) {
            auto* dialog = qobject_cast<OnlyInOtherDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("summary"))->text().contains(U("1条记录有不同之处")));
            EXPECT_EQ(dialog->List()->model()->rowCount(), 1);
            takeOver ? dialog->TakeOverButton()->click() : dialog->reject();
        });
    };
    EXPECT_FALSE(frame.CommandAction(ids::kCmdRecordsOnlyThere)->isEnabled());
    prompter.fileAnswers.push_back(other);
    answer(false);
    Run(ids::kCmdCompare);
    EXPECT_TRUE(prompter.messages.empty()) << LastMessage().toStdString();
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{3, 2, 1}));
    ASSERT_TRUE(frame.CommandAction(ids::kCmdRecordsOnlyThere)->isEnabled());
    answer(true);
    Run(ids::kCmdRecordsOnlyThere);
    EXPECT_EQ(Ids(), (std::vector<std::int32_t>{3, 2, 1, 4}));
    // Nothing is left to take: the summary alone.
    Run(ids::kCmdRecordsOnlyThere);
    EXPECT_TRUE(LastMessage().contains(U("1条记录有不同之处"))) << LastMessage().toStdString();

    // The other value is in the tooltip; how marks follow sorts and edits is the model's test.
    EXPECT_NE(Tint(RowOfId(2), 5), none);
    EXPECT_TRUE(Tip(RowOfId(2), 5).contains(QStringLiteral("stditem.dat.bak"))) << Tip(RowOfId(2), 5).toStdString();
    EXPECT_TRUE(Tip(RowOfId(3), kIdColumn).contains(U(str::kCompareOnlyHere)));

    // Another kind is refused by its name before anything is read.
    prompter.fileAnswers.push_back(Write(QStringLiteral("magic.dat"), {FileKind::Magic, {1}}));
    Run(ids::kCmdCompare);
    EXPECT_TRUE(LastMessage().contains(U("无法比较"))) << LastMessage().toStdString();
    ASSERT_TRUE(frame.CommandAction(ids::kCmdClearCompare)->isEnabled());
    Run(ids::kCmdClearCompare);
    EXPECT_EQ(Tint(RowOfId(3), kIdColumn), Tint(RowOfId(1), kIdColumn));
    EXPECT_FALSE(frame.CommandAction(ids::kCmdClearCompare)->isEnabled());
    EXPECT_FALSE(frame.CommandAction(ids::kCmdRecordsOnlyThere)->isEnabled());
}

} // namespace
} // namespace rw::test
