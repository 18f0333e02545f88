#include "exchange/TableTransfer.h"

#include "exchange/SheetMessages.h"
#include "exchange/TableExport.h"
#include "exchange/TableImport.h"
#include "data/ListedFirst.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "text/GbkCodec.h"
#include "ui/FileChooser.h"
#include "ui/Prompter.h"
#include "ui/StatusReport.h"
#include "ui/Texts.h"
#include "view/CsvMessages.h"
#include "view/KindQuestion.h"
#include "ui/FileNames.h"
#include "view/SystemReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace rw {
namespace {

// The list of names changed, old → new, the first ten; the rest counted.
[[nodiscard]] QString NameChangeLines(const RowImporter& importer, bool gbkText)
{
    const auto shown = [&](const std::string& text) {
        return gbkText ? GbkCodec::Instance().Decode(text) : Text(std::string_view(text));
    };
    const auto& changes = importer.NameChanges();
    return ListedFirst(
        importer.NameChangeCount(), QStringLiteral("\n"),
        [&](std::size_t i) {
            return Text(str::kImportNameChangeFormat, changes[i].line, changes[i].id, shown(changes[i].storedText),
                        shown(changes[i].newText));
        },
        [](std::size_t more) { return QLatin1Char('\n') + Text(str::kImportMoreNamesFormat, more); });
}

// The export dialog's list of file types, in the order of TransferFormat.
[[nodiscard]] std::vector<FileFilter> ExportTypes()
{
    const QString csv = QStringLiteral("*.csv");
    const QString csvSuffix = QStringLiteral("csv");
    return {{Text(str::kExportFilterUtf8Bom), csv, csvSuffix},
            {Text(str::kExportFilterUtf8), csv, csvSuffix},
            {Text(str::kExportFilterGbk), csv, csvSuffix},
            {Text(str::kSheetFilter), QStringLiteral("*.xlsx"), QStringLiteral("xlsx")}};
}

[[nodiscard]] std::vector<FileFilter> ImportTypes()
{
    return {{Text(str::kImportFilter), QStringLiteral("*.csv *.txt *.xlsx"), {}},
            {Text(str::kAllFilesFilter), QStringLiteral("*"), {}}};
}

} // namespace

TableTransfer::TableTransfer(TableDocument& document, TableEdits& edits, FileChooser& files, Prompter& prompter,
                             StatusReport& status)
    : m_document(document), m_edits(edits), m_files(files), m_prompter(prompter), m_status(status)
{
}

void TableTransfer::OnExport(QWidget* owner)
{
    if (!m_document.HasFile()) {
        m_prompter.ShowMessage(owner, Text(str::kNoFileOpen), Text(str::kCaptionWarning));
        return;
    }
    const QString proposed = QFileInfo(Text(m_document.FileName())).completeBaseName();
    const std::optional<ChosenFile> choice =
        m_files.ChooseFileOfType(owner, FileDialogMode::Save, proposed, ExportTypes(), static_cast<int>(TransferFormat::CsvUtf8Bom));
    if (!choice) return;
    const RecordTable& table = m_document.Table();
    const TransferFormat format =
        NamesWorkbook(choice->path.toStdString()) ? TransferFormat::Sheet : static_cast<TransferFormat>(choice->filter);
    ExportOutcome outcome;
    {
        // Gone before any message, which it would otherwise cover.
        const std::unique_ptr<ProgressMeter> meter =
            m_prompter.StartProgress(owner, Text(str::kExportProgress), static_cast<std::uint64_t>(table.RowCount()));
        outcome = ExportTable(table, ToFsPath(choice->path), format, [&](std::size_t rows) { return meter->Advance(rows); });
    }
    if (outcome.cancelled) return;
    const QString shown = QDir::toNativeSeparators(choice->path);
    if (!outcome.written) {
        const QString reason = outcome.sheet.Ok() ? ReasonText(outcome.error, FileUse::Write) : SheetFailureText(outcome.sheet);
        m_prompter.ShowMessage(owner, Text(str::kExportFailedFormat, shown, reason), Text(str::kCaptionError));
        return;
    }
    QString text = Text(str::kExportedFormat, table.RowCount(), QFileInfo(choice->path).fileName());
    const FormulaLikeNames& formulas = outcome.formulaLike;
    if (formulas.count == 0) {
        m_status.Report(text);
        return;
    }
    // Once for the whole export, in its summary: the names stay as they are, for the round trip.
    text += Text(str::kExportFormulaNamesFormat, formulas.count, formulas.firstId,
                 GbkCodec::Instance().Decode(formulas.firstName));
    m_prompter.ShowMessage(owner, text, Text(str::kCaptionWarning));
}

bool TableTransfer::OnImport(QWidget* owner)
{
    const std::optional<ChosenFile> chosen = m_files.ChooseFileOfType(owner, FileDialogMode::Open, {}, ImportTypes(), 0);
    if (!chosen) return false;
    const std::optional<QString> path = chosen->path;
    const QString shown = QDir::toNativeSeparators(*path);
    std::optional<FileKind> kind = m_document.HasFile() ? std::optional(m_document.Kind()) : std::nullopt;
    if (!kind) kind = AskFileKind(m_prompter, owner, m_document.Keys(), *path);
    if (!kind) return false;

    ImportReading reading;
    {
        const std::unique_ptr<ProgressMeter> meter = m_prompter.StartProgress(owner, Text(str::kImportProgress), 0);
        std::uint64_t whole = 0;
        reading = ReadTableFile(ToFsPath(*path), *kind, m_keepNames, [&](std::uint64_t done, std::uint64_t total) {
            // The meter learns the whole once the reader knows it.
            if (total != whole) {
                whole = total;
                meter->SetTotal(total);
            }
            return meter->Advance(done);
        });
    }
    switch (reading.failure) {
    case ImportFailure::Cancelled: return false;
    case ImportFailure::CannotRead:
        m_prompter.ShowMessage(owner, Text(str::kImportCannotReadFormat, shown, ReasonText(reading.error, FileUse::Read)),
                               Text(str::kCaptionError));
        return false;
    case ImportFailure::NotAFile:
        m_prompter.ShowMessage(owner, Text(str::kImportCannotReadFormat, shown, Text(str::kReasonNotRegularFile)),
                               Text(str::kCaptionError));
        return false;
    case ImportFailure::Sheet:
        m_prompter.ShowMessage(owner, Text(str::kImportCannotReadFormat, shown, SheetFailureText(reading.sheet)),
                               Text(str::kCaptionError));
        return false;
    case ImportFailure::None: break;
    }
    const RowImporter& importer = *reading.importer;
    if (!importer.Ok()) {
        // A header of another kind says so plainly rather than as a list of titles.
        const auto& errors = importer.Errors();
        if (!errors.empty() && errors.front().kind == CsvIssue::Kind::BadHeader) {
            const FileKind other = KindOfHeader(errors.front().text);
            if (other != FileKind::None && other != *kind) {
                m_prompter.ShowMessage(owner, Text(str::kImportWrongKindFormat, shown, KindWord(other), KindWord(*kind)),
                                       Text(str::kCaptionError));
                return false;
            }
        }
        m_prompter.ShowMessage(owner, Text(str::kImportErrorsFormat, shown, DescribeCsvErrors(importer, *kind)),
                               Text(str::kCaptionError));
        return false;
    }
    if (importer.Records().Count() == 0) {
        m_prompter.ShowMessage(owner, Text(str::kImportEmptyFormat, shown), Text(str::kCaptionError));
        return false;
    }
    m_edits.ImportRecords(*kind, importer.Records());
    ReportImport(owner, QFileInfo(*path).fileName(), reading, *kind);
    return true;
}

void TableTransfer::ReportImport(QWidget* owner, const QString& shownName, const ImportReading& reading, FileKind kind)
{
    const RowImporter& importer = *reading.importer;
    QString text = Text(str::kImportedFormat, shownName, importer.Records().Count());
    QStringList warnings;
    for (const CsvIssue& issue : importer.Warnings()) {
        if (issue.kind != CsvIssue::Kind::NoRecords) warnings.push_back(DescribeCsvIssue(issue, kind));
    }
    if (!warnings.isEmpty()) text += Text(str::kImportWarningsHeading) + QLatin1Char('\n') + warnings.join(QLatin1Char('\n'));
    if (importer.NameChangeCount() > 0) {
        text += Text(m_keepNames ? str::kImportNamesKeptFormat : str::kImportNamesChangedFormat, importer.NameChangeCount());
        text += QLatin1Char('\n') + NameChangeLines(importer, reading.gbkNames);
    }
    if (warnings.isEmpty() && importer.NameChangeCount() == 0) {
        m_status.Report(text);
    } else {
        m_prompter.ShowMessage(owner, text, Text(str::kCaptionNotice));
    }
}

} // namespace rw
