#include "table/LoadLoss.h"

#include "data/KindFit.h"

namespace rw {

LoadLoss LossOf(const LoadReport& report)
{
    const DecodeReport& decode = report.decode;
    const KindFit fit = FitOfKind(report.kind, decode.announcedCount, decode.fileSize);
    LoadLoss loss;
    loss.kind = report.kind;
    loss.announcedCount = decode.announcedCount;
    loss.missingBytes = fit.MissingBytes();
    loss.trailingBytes = fit.ExtraBytes();
    loss.refusedRecords = report.refusedIds.size();
    if (!fit.Exact()) {
        const KindGuess guess = GuessKind(FitsOf(decode.announcedCount, decode.fileSize));
        if (guess.exact) loss.fittingKind = guess.best;
    }
    return loss;
}

} // namespace rw
