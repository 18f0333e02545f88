#include "exchange/TableComparer.h"

#include "exchange/OnlyInOtherDialog.h"
#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "table/TableEdits.h"
#include "ui/FileChooser.h"
#include "ui/Prompter.h"
#include "ui/Texts.h"
#include "view/KindQuestion.h"
#include "view/LoadMessages.h"
#include "ui/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cassert>

namespace rw {

TableComparer::TableComparer(TableDocument& document, TableEdits& edits, FileChooser& files, Prompter& prompter)
    : m_document(document), m_edits(edits), m_files(files), m_prompter(prompter)
{
    m_document.Model().SetComparisonWording([](const ComparisonNote& note) {
        QStringList lines;
        if (note.onlyHere) lines.push_back(Text(str::kCompareOnlyHere));
        if (note.valueDiffers) lines.push_back(Text(str::kCompareOtherValueFormat, note.otherName, note.otherValue));
        if (note.hiddenDiffer) lines.push_back(Text(str::kCompareHiddenDiffer));
        return lines.join(QLatin1Char('\n'));
    });
}

void TableComparer::OnCompare(QWidget* owner)
{
    if (!m_document.HasFile()) {
        m_prompter.ShowMessage(owner, Text(str::kNoFileOpen), Text(str::kCaptionWarning));
        return;
    }
    const std::optional<QString> path = m_files.ChooseAnyFileToOpen(owner);
    if (!path) return;
    const QString shown = QDir::toNativeSeparators(*path);
    const QString bareName = QFileInfo(*path).fileName();
    const FileKind named = KindFromName(bareName.toStdString());
    if (named != FileKind::None && named != m_document.Kind()) {
        m_prompter.ShowMessage(owner, Text(str::kCompareWrongKindFormat, shown, KindWord(named), KindWord(m_document.Kind())),
                               Text(str::kCaptionError));
        return;
    }
    const DecodeReport report = m_document.CompareWith(ToFsPath(*path), bareName.toStdString());
    if (!report.loaded) {
        m_prompter.ShowMessage(owner, Text(str::kCompareFailedFormat, shown, LoadFailureReason(report)),
                               Text(str::kCaptionError));
        return;
    }
    // A file whose size does not fit its count is likely of another kind, read with the wrong layout.
    ShowComparison(owner, report.Truncated() || report.trailingBytes > 0
                              ? Text(str::kCompareSizeNoteFormat, bareName, KindWord(m_document.Kind()))
                              : QString());
}

void TableComparer::OfferRecordsOnlyThere(QWidget* owner)
{
    if (!m_document.CurrentComparison()) {
        m_prompter.ShowMessage(owner, Text(str::kTakeValueWithoutComparison), Text(str::kCaptionWarning));
        return;
    }
    ShowComparison(owner, QString());
}

void TableComparer::ShowComparison(QWidget* owner, const QString& note)
{
    const Comparison& comparison = *m_document.CurrentComparison();
    const QString otherName = Text(comparison.OtherName());
    // The counts as the comparison was made; the records listed are those no row has now.
    const QString summary =
        (comparison.DifferingRows() == 0 && comparison.RowsOnlyHere() == 0 && comparison.RecordsOnlyThere() == 0
             ? Text(str::kCompareEqualFormat, otherName)
             : Text(str::kCompareSummaryFormat, otherName, comparison.DifferingRows(), comparison.RowsOnlyHere(),
                    comparison.RecordsOnlyThere())) +
        note;
    std::vector<std::size_t> only = comparison.OnlyInOther(m_document.Table());
    if (only.empty()) {
        m_prompter.ShowMessage(owner, summary, Text(str::kCaptionNotice));
        return;
    }
    OnlyInOtherDialog dialog(comparison, m_document.Kind(), std::move(only), summary, owner);
    if (dialog.exec() != QDialog::Accepted) return;
    // The dialog offers only records whose ID no row holds, one of each ID, and nothing
    // changes the table while it is open: the duplicate-ID rule has nothing to refuse.
    [[maybe_unused]] const std::vector<std::int32_t> refused = m_edits.TakeOver(dialog.Chosen());
    assert(refused.empty());
}

void TableComparer::OnClearCompare() { m_document.ClearComparison(); }

} // namespace rw
