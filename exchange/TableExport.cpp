#include "exchange/TableExport.h"

#include "csv/CsvExport.h"
#include "csv/CsvTokenizer.h"
#include "data/PassThroughNames.h"
#include "system/Platform.h"
#include "sheet/SheetWriter.h"
#include "text/Utf8NameTranscoder.h"

namespace rw {
namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
constexpr std::size_t kRowsBetweenReports = 4096;

[[nodiscard]] ExportOutcome Failed(const std::error_code& error)
{
    ExportOutcome outcome;
    outcome.error = error;
    return outcome;
}

[[nodiscard]] ExportOutcome Cancelled()
{
    ExportOutcome outcome;
    outcome.cancelled = true;
    return outcome;
}

[[nodiscard]] ExportOutcome Written()
{
    ExportOutcome outcome;
    outcome.written = true;
    return outcome;
}

[[nodiscard]] const NameTranscoder& NamesOf(TransferFormat format)
{
    static const Utf8NameTranscoder utf8;
    static const PassThroughNames gbk;
    return format == TransferFormat::CsvGbk ? static_cast<const NameTranscoder&>(gbk) : utf8;
}

ExportOutcome ExportCsv(const RecordTable& table, const std::filesystem::path& path, TransferFormat format,
                        const RowProgress& keepGoing)
{
    AtomicFile file(path);
    if (!file.Ok()) return Failed(file.ErrorCode());
    CsvExporter exporter(table.Kind(), NamesOf(format));
    std::string piece;
    piece.reserve(kPieceBytes + 4096);
    if (format == TransferFormat::CsvUtf8Bom) piece.append(kUtf8ByteOrderMark);
    exporter.AppendHeader(piece);
    for (int row = 0; row < table.RowCount(); ++row) {
        exporter.AppendRow(table.RowBytes(row), piece);
        if (piece.size() >= kPieceBytes) {
            if (!file.Write(piece)) return Failed(file.ErrorCode());
            piece.clear();
        }
        if (keepGoing && (row + 1) % kRowsBetweenReports == 0 && !keepGoing(static_cast<std::size_t>(row) + 1)) {
            return Cancelled();
        }
    }
    if (!file.Write(piece) || !file.Commit(AtomicFile::Sync::Lazy)) return Failed(file.ErrorCode());
    ExportOutcome outcome = Written();
    outcome.formulaLike = exporter.FormulaLike();
    return outcome;
}

ExportOutcome ExportSheet(const RecordTable& table, const std::filesystem::path& path, const RowProgress& keepGoing)
{
    ExportOutcome outcome;
    outcome.sheet = WriteRecordSheet(
        path.string(), table.Kind(), static_cast<std::size_t>(table.RowCount()),
        [&](std::size_t row) { return table.RowBytes(static_cast<int>(row)); }, NamesOf(TransferFormat::CsvUtf8),
        [&](std::uint64_t done, std::uint64_t) { return !keepGoing || keepGoing(static_cast<std::size_t>(done)); });
    outcome.written = outcome.sheet.Ok();
    outcome.cancelled = outcome.sheet.failure == SheetFailure::Cancelled;
    return outcome;
}

} // namespace

ExportOutcome ExportTable(const RecordTable& table, const std::filesystem::path& path, TransferFormat format,
                          const RowProgress& keepGoing)
{
    if (format == TransferFormat::Sheet) return ExportSheet(table, path, keepGoing);
    return ExportCsv(table, path, format, keepGoing);
}

} // namespace rw
