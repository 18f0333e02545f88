#include "data/LoadLoss.h"

#include "data/KindFit.h"

namespace rw {

LoadLoss LossOf(const DecodeReport& report, FileKind kind, std::size_t refusedRecords)
{
    const KindFit fit = FitOfKind(kind, report.announcedCount, report.fileSize);
    LoadLoss loss;
    loss.kind = kind;
    loss.announcedCount = report.announcedCount;
    loss.wholeRecords = WholeRecordCount(report, kind);
    if (report.Truncated()) loss.absentRecords = static_cast<std::size_t>(report.announcedCount) - report.recordsPresent;
    loss.cutRecordBytes = CutRecordBytes(report, kind);
    loss.missingBytes = fit.MissingBytes();
    loss.trailingBytes = fit.ExtraBytes();
    loss.refusedRecords = refusedRecords;
    if (!fit.Exact()) {
        const KindGuess guess = GuessKind(FitsOf(report.announcedCount, report.fileSize));
        if (guess.exact) loss.fittingKind = guess.best;
    }
    return loss;
}

} // namespace rw
