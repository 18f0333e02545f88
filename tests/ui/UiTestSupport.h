#pragma once

// What the window and dialog tests share: controls found by id, answers to the message boxes
// and file dialogs, sample data files of our own, and a main frame over a temporary folder.

#include "data/DataFile.h"
#include "data/KeySet.h"
#include "data/Record.h"
#include "data/Schema.h"
#include "dialogs/CRecordDlg.h"
#include "exchange/TransferFormat.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "shell/CMainFrame.h"
#include "ui/Prompter.h"
#include "view/CChildView.h"
#include "view/EditorSettings.h"
#include "view/RecordList.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace rw::test {

inline QString U(const char* text) { return QString::fromUtf8(text); }

template <typename T = QWidget>
T* FindControl(const QWidget& parent, int controlId)
{
    for (T* widget : parent.findChildren<T*>()) {
        if (widget->property(ids::kControlIdProperty).toInt() == controlId) return widget;
    }
    return nullptr;
}

// Runs handle on the modal window that the next statement opens, once it is up.
inline void WhenModalOpens(std::function<void(QWidget*)> handle)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle = std::move(handle)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            handle(modal);
        }
    });
    poll->start(10);
}

struct ShownMessage {
    QString text;
    QString caption;
    QWidget* owner;
};

struct AskedButtons {
    std::vector<Answer> buttons;
    Answer defaultAnswer;
    Answer escapeAnswer;
};

// Answers the file dialogs and the questions from queues (empty: cancelled, and the first
// button offered) and keeps the messages, questions and save dialogs' arguments.
class FakePrompter : public Prompter {
public:
    std::vector<ShownMessage> messages, questions;
    std::vector<AskedButtons> buttonsAsked; // one for each question
    std::function<void()> onMessage;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<Answer> answers;
    std::deque<std::optional<int>> items; // empty: cancelled
    std::vector<QStringList> itemsAsked;
    std::vector<int> itemsProposed; // the entry each list offered first
    std::vector<QString> foldersAsked;
    std::vector<QStringList> savesAsked; // proposed name, filter entry, patterns, default suffix

    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override
    {
        messages.push_back({text, caption, owner});
        if (onMessage) onMessage();
    }
    Answer Ask(QWidget* owner, const QString& text, const QString& caption, const std::vector<Answer>& buttons,
               Answer defaultAnswer, Answer escapeAnswer) override
    {
        questions.push_back({text, caption, owner});
        buttonsAsked.push_back({buttons, defaultAnswer, escapeAnswer});
        return Next(answers, buttons.front());
    }
    std::optional<int> ChooseItem(QWidget*, const QString&, const QString&, const QStringList& offered, int current) override
    {
        itemsAsked.push_back(offered);
        itemsProposed.push_back(current);
        return Next(items, std::optional<int>());
    }
    std::optional<QString> ChooseOpenFile(QWidget*, const QString& folder, const QString&, const QString&) override
    {
        return NextFile(folder);
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const QString& folder, const QString& proposedName,
                                          const QString& filterName, const QString& patterns,
                                          const QString& defaultSuffix) override
    {
        savesAsked.push_back({proposedName, filterName, patterns, defaultSuffix});
        return NextFile(folder);
    }

    // The type chosen in a dialog with a list of types: the next answer, else the one shown first.
    std::deque<int> typeAnswers;
    std::vector<std::vector<FileFilter>> typesOffered;
    std::optional<ChosenFile> ChooseFileOfType(QWidget*, FileDialogMode, const QString& folder, const QString&,
                                               const std::vector<FileFilter>& filters, int initial) override
    {
        typesOffered.push_back(filters);
        const std::optional<QString> path = NextFile(folder);
        if (!path) return std::nullopt;
        return ChosenFile{*path, Next(typeAnswers, initial)};
    }

    // Progress meters that cancel once cancelAt units are done (never by default); how many
    // are on the screen now.
    std::optional<std::uint64_t> cancelAt;
    int metersShown = 0;
    std::unique_ptr<ProgressMeter> StartProgress(QWidget*, const QString&, std::uint64_t) override
    {
        struct Meter final : ProgressMeter {
            explicit Meter(int& shown) : shown(shown) { ++shown; }
            ~Meter() override { --shown; }
            int& shown;
            std::optional<std::uint64_t> cancelAt;
            bool Advance(std::uint64_t done) override { return !cancelAt || done < *cancelAt; }
            void SetTotal(std::uint64_t) override {}
        };
        auto meter = std::make_unique<Meter>(metersShown);
        meter->cancelAt = cancelAt;
        return meter;
    }

    // What was shown and asked so far forgotten, for the next step's.
    void Forget()
    {
        messages.clear();
        questions.clear();
        buttonsAsked.clear();
    }

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T otherwise)
    {
        if (!queue.empty()) otherwise = queue.front(), queue.pop_front();
        return otherwise;
    }
    std::optional<QString> NextFile(const QString& folder)
    {
        foldersAsked.push_back(folder);
        return Next(fileAnswers, std::optional<QString>());
    }
};

// The column of a kind with that title, or -1.
inline int ColumnTitled(FileKind kind, std::string_view title)
{
    const RecordSchema& schema = SchemaOf(kind);
    for (int column = 0; column < schema.ColumnCount(); ++column) {
        if (schema.Column(column).title == title) return column;
    }
    return -1;
}

// A data file of our own: one record per ID, named "N<id>".
struct SampleFile {
    FileKind kind = FileKind::Item;
    std::vector<std::int32_t> ids;
    std::optional<std::int32_t> header = std::nullopt; // a count other than ids.size()
    std::uint8_t key = KeySet{}.For(kind);
};

// A file that holds these bytes alone; its path, or none if it cannot be written.
inline QString WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() ? path : QString();
}

// Records written whole as a data file with key; the header's count may say otherwise.
inline QString WriteRecords(const QString& path, FileKind kind, const std::vector<Record>& records, std::uint8_t key,
                            std::optional<std::int32_t> header = std::nullopt)
{
    std::vector<std::uint8_t> bytes =
        EncodeBytes(kind, key, records.size(), [&](std::size_t i, std::span<std::uint8_t> out) {
            std::copy(records[i].Bytes().begin(), records[i].Bytes().end(), out.begin());
        });
    if (header) StoreInt32(bytes.data(), *header);
    return WriteBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

inline QString WriteSample(const QString& path, const SampleFile& sample)
{
    std::vector<Record> records;
    for (const std::int32_t id : sample.ids) {
        Record& record = records.emplace_back(sample.kind);
        record.SetId(id);
        (void)record.SetName("N" + std::to_string(id));
    }
    return WriteRecords(path, sample.kind, records, sample.key, sample.header);
}

// The kind whose columns a list shows (its name column's title tells).
inline FileKind KindShownBy(const QAbstractItemModel& list)
{
    const QString name = list.headerData(kNameColumn, Qt::Horizontal).toString();
    for (const FileKind kind : kAllKinds) {
        if (name == QString::fromUtf8(SchemaOf(kind).Column(kNameColumn).title)) return kind;
    }
    return FileKind::None;
}

// Each frame starts as on a first start: nothing remembered from the frames before.
struct ForgottenSettings {
    ForgottenSettings() { EditorSettings().Clear(); }
};

// A main frame over a temporary folder, reached as the user reaches it: the list, the form's
// controls by id, the menus' commands, the status bar's panes by name, the files written.
class FrameFixture : public ::testing::Test {
protected:
    FakePrompter prompter;
    ForgottenSettings forgotten;
    CMainFrame frame{prompter};
    CChildView& view = *frame.View();
    QTemporaryDir dir;

    QString Write(const QString& name, const SampleFile& sample) { return WriteSample(dir.filePath(name), sample); }
    void OpenPath(const std::optional<QString>& path)
    {
        prompter.fileAnswers.push_back(path);
        frame.OnFileOpen();
    }
    // Writes these records, whole, under their kind's file name and opens it.
    QString OpenRecords(const std::vector<Record>& records)
    {
        const FileKind kind = records.front().Kind();
        const QString path = WriteRecords(dir.filePath(QString::fromUtf8(SchemaOf(kind).fileName)), kind, records, KeySet{}.For(kind));
        OpenPath(path);
        return path;
    }
    // Writes the sample under its kind's file name and opens it.
    QString Open(const SampleFile& sample)
    {
        const QString path = Write(QString::fromUtf8(SchemaOf(sample.kind).fileName), sample);
        OpenPath(path);
        return path;
    }
    // What the list shows: every row of the table, or those a filter lets through.
    [[nodiscard]] QAbstractItemModel& Model() const { return *view.List()->model(); }
    [[nodiscard]] int RowCount() const { return Model().rowCount(); }
    [[nodiscard]] QString Cell(int row, int column) const { return Model().index(row, column).data().toString(); }
    [[nodiscard]] std::int32_t IdAt(int row) const { return Cell(row, kIdColumn).toInt(); }
    // The first row of the list with that ID, or -1.
    [[nodiscard]] int RowOfId(std::int32_t id) const
    {
        for (int row = 0; row < RowCount(); ++row) {
            if (IdAt(row) == id) return row;
        }
        return -1;
    }
    [[nodiscard]] std::vector<std::int32_t> Ids() const
    {
        std::vector<std::int32_t> ids;
        for (int row = 0; row < RowCount(); ++row) ids.push_back(IdAt(row));
        return ids;
    }
    // The IDs of the selected rows, in the list's order.
    [[nodiscard]] std::vector<std::int32_t> SelectedIds() const
    {
        std::vector<std::int32_t> ids;
        for (int row = 0; row < RowCount(); ++row) {
            if (view.List()->selectionModel()->isRowSelected(row, {})) ids.push_back(IdAt(row));
        }
        return ids;
    }
    // A pane of the status bar: "message", "attribution", "date", "clock", "changes", "shown".
    [[nodiscard]] QLabel& Pane(const char* name) const
    {
        return *frame.statusBar()->findChild<QLabel*>(QString::fromLatin1(name));
    }
    [[nodiscard]] QString MessageLine() const { return Pane("message").text(); }
    // Whether the status bar counts unsaved changes.
    [[nodiscard]] bool Unsaved() const { return !Pane("changes").isHidden(); }
    // 编辑 ▸ 撤销 and 重做, whose texts name the steps they would take ("撤销" alone: none).
    [[nodiscard]] QString UndoText() const { return frame.CommandAction(ids::kCmdEditUndo)->text(); }
    void Undo() { frame.CommandAction(ids::kCmdEditUndo)->trigger(); }
    void Redo() { frame.CommandAction(ids::kCmdEditRedo)->trigger(); }
    // Ctrl+S.
    void SaveOver() { frame.CommandAction(ids::kCmdFileSave)->trigger(); }
    // 文件 ▸ 导出 to path, that type chosen in the dialog; 文件 ▸ 导入 from path.
    void Export(const QString& path, TransferFormat type = TransferFormat::CsvUtf8)
    {
        prompter.fileAnswers.push_back(path);
        prompter.typeAnswers.push_back(static_cast<int>(type));
        frame.CommandAction(ids::kCmdFileExport)->trigger();
    }
    void Import(const QString& path)
    {
        prompter.fileAnswers.push_back(path);
        frame.CommandAction(ids::kCmdFileImport)->trigger();
    }
    // A cell typed over in place (F2), as the user would; the editor closes with Enter.
    void EditCell(int row, int column, const QString& text)
    {
        frame.show();
        view.List()->setCurrentIndex(Model().index(row, column));
        view.ListCommand(ids::kCmdEditCell)->trigger();
        ASSERT_NE(Editor(), nullptr);
        Editor()->setText(text);
        QTest::keyClick(Editor(), Qt::Key_Return);
    }
    [[nodiscard]] QString Count() const { return FindControl<QLineEdit>(view, ids::kCountBox)->text(); }
    void Select(std::initializer_list<int> rows)
    {
        QItemSelectionModel& selection = *view.List()->selectionModel();
        selection.clearSelection();
        for (const int row : rows) {
            selection.select(Model().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    void DeleteFirstRow()
    {
        Select({0});
        view.OnDelete();
    }
    void ShowActive()
    {
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    // The list's open cell editor; a closed one lingers hidden until it is deleted.
    [[nodiscard]] QLineEdit* Editor()
    {
        for (QLineEdit* box : view.List()->findChildren<QLineEdit*>()) {
            if (box->isVisible()) return box;
        }
        return nullptr;
    }
    // The file's bytes, or none if it cannot be read.
    [[nodiscard]] static QByteArray Bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    [[nodiscard]] FileKind KindShown() const { return KindShownBy(Model()); }
    // The form's edit dialog of kind, and that of the kind the list shows.
    [[nodiscard]] CRecordDlg& DialogOf(FileKind kind) const
    {
        for (CRecordDlg* dialog : view.findChildren<CRecordDlg*>()) {
            if (dialog->Kind() == kind) return *dialog;
        }
        return *view.findChild<CRecordDlg*>();
    }
    [[nodiscard]] CRecordDlg& Dialog() const { return DialogOf(KindShown()); }
    [[nodiscard]] QLineEdit& Box(int column)
    {
        return *FindControl<QLineEdit>(Dialog(), SchemaOf(Dialog().Kind()).Column(column).controlId);
    }
    void Commit() { FindControl<QPushButton>(Dialog(), Dialog().Template().commitId)->click(); }
    // The last message as "caption|text".
    [[nodiscard]] QString LastMessage() const
    {
        return prompter.messages.empty() ? QString() : prompter.messages.back().caption + QLatin1Char('|') +
                                                           prompter.messages.back().text;
    }
    static QString Shown(const char* caption, const QString& text) { return U(caption) + QLatin1Char('|') + text; }
    static QString Shown(const char* caption, const char* text) { return Shown(caption, U(text)); }
    void SetSearchText(int boxId, const QString& text) { FindControl<QLineEdit>(view, boxId)->setText(text); }
    // 文件 ▸ 设置 with the item key typed in and OK pressed.
    void SetItemKey(const char* key)
    {
        WhenModalOpens([key](QWidget* dialog) {
            FindControl<QLineEdit>(*dialog, ids::kItemKeyBox)->setText(QString::fromLatin1(key));
            FindControl<QPushButton>(*dialog, ids::kOk)->click();
        });
        frame.OnSetKey();
    }
};

} // namespace rw::test
