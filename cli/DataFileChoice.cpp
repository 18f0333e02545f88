#include "cli/CliText.h"
#include "cli/Commands.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "resources/Strings.h"

#include <filesystem>

namespace rw {

std::string_view KindWord(FileKind kind)
{
    switch (kind) {
    case FileKind::Item: return "item";
    case FileKind::Magic: return "magic";
    case FileKind::Monster: return "monster";
    case FileKind::None: break;
    }
    return "none";
}

std::string_view KindSourceWord(KindSource source)
{
    switch (source) {
    case KindSource::Option: return "option";
    case KindSource::Size: return "size";
    case KindSource::Name: break;
    }
    return "name";
}

FileKind KindByName(const std::string& file) { return KindFromName(Utf8FromPath(PathFromUtf8(file).filename())); }

FileKind KindBySize(const KindFits& fits)
{
    const KindGuess guess = GuessKind(fits);
    return guess.exact ? guess.best : FileKind::None;
}

void SayKindBySize(const std::string& file, FileKind kind) { Complain(Format<str::kCliKindBySizeFormat>(file, KindWord(kind))); }

std::uint8_t KeyFor(const CliOptions& options, FileKind kind) { return options.key.value_or(KeySet{}.For(kind)); }

DataFileChoice ChoiceOf(const CliOptions& options, FileKind kind, KindSource source)
{
    return {kind, KeyFor(options, kind), source};
}

namespace {

// Neither the name nor the size tells the kind; the exit status.
[[nodiscard]] int ComplainOfNoKind(const std::string& dataFile, const KindFits& fits)
{
    std::vector<std::string_view> could;
    for (const FileKind kind : kAllKinds) {
        if (MisfitOf(fits, kind) == Misfit::None) could.push_back(KindWord(kind));
    }
    const KindFit& fit = fits.front();
    if (!could.empty()) {
        Complain(Format<str::kCliKindNotToldFormat>(dataFile, ListOf(could, " or ")));
        return kExitBadUsage;
    }
    if (!fit.HasRecords()) {
        Complain(Format<str::kCliBadCountFormat>(dataFile, static_cast<long long>(fit.count)));
    } else {
        Complain(Format<str::kCliNoKindFitsFormat>(dataFile, static_cast<long long>(fit.count),
                                                   static_cast<long long>(fit.fileSize)));
    }
    return kExitBadData;
}

} // namespace

ChosenDataFile ChooseDataFile(const CliOptions& options, const std::string& dataFile, const KindFits& fits)
{
    if (options.kind != FileKind::None) return {ChoiceOf(options, options.kind, KindSource::Option)};
    if (const FileKind kind = KindByName(dataFile); kind != FileKind::None) return {ChoiceOf(options, kind, KindSource::Name)};
    if (const FileKind kind = KindBySize(fits); kind != FileKind::None) {
        SayKindBySize(dataFile, kind);
        return {ChoiceOf(options, kind, KindSource::Size)};
    }
    return {std::nullopt, ComplainOfNoKind(dataFile, fits)};
}

std::optional<KindFits> ExamineOrComplain(const std::string& dataFile)
{
    const FileFits examined = FitsOfFile(PathFromUtf8(dataFile));
    if (examined.notRegularFile) {
        Complain(Format<str::kCliCannotReadFormat>(dataFile, str::kCliNotRegularFile));
        return std::nullopt;
    }
    if (examined.error) {
        Complain(Format<str::kCliCannotReadFormat>(dataFile, SystemText(examined.error)));
        return std::nullopt;
    }
    return examined.fits;
}

bool FitsOrComplain(const std::string& dataFile, const KindFits& fits, FileKind kind)
{
    const KindFit& fit = FitFor(fits, kind);
    switch (MisfitOf(fits, kind)) {
    case Misfit::None: return true;
    case Misfit::NoRecords: Complain(Format<str::kCliBadCountFormat>(dataFile, static_cast<long long>(fit.count))); break;
    case Misfit::OtherKind: {
        const FileKind other = GuessKind(fits).best;
        Complain(Format<str::kCliOtherKindFormat>(dataFile, KindWord(kind), static_cast<long long>(fit.count),
                                                  KindWord(other), KindWord(other)));
        break;
    }
    case Misfit::CountTooLarge:
        Complain(Format<str::kCliCountTooLargeFormat>(dataFile, KindWord(kind), static_cast<long long>(fit.count),
                                                      static_cast<long long>(fit.expectedSize),
                                                      static_cast<long long>(fit.fileSize)));
        break;
    }
    return false;
}

std::optional<DecodedRecords> ReadOrComplain(const std::string& dataFile, const DataFileChoice& choice)
{
    DecodedRecords decoded = ReadDataFile(PathFromUtf8(dataFile), choice.kind, choice.key);
    if (decoded.report.loaded) return decoded;
    ComplainOfLoadFailure(dataFile, decoded.report);
    return std::nullopt;
}

void ComplainOfLoadFailure(const std::string& dataFile, const DecodeReport& report)
{
    switch (report.failure) {
    case LoadFailure::NoRecords:
        Complain(Format<str::kCliBadCountFormat>(dataFile, static_cast<long long>(report.announcedCount)));
        break;
    case LoadFailure::NotRegularFile: Complain(Format<str::kCliCannotReadFormat>(dataFile, str::kCliNotRegularFile)); break;
    case LoadFailure::TooLarge:
        Complain(Format<str::kCliTooLargeFormat>(dataFile, static_cast<long long>(report.fileSize)));
        break;
    case LoadFailure::CannotRead:
    case LoadFailure::None:
        Complain(Format<str::kCliCannotReadFormat>(dataFile, SystemText(report.error)));
        break;
    }
}

void WarnOfGaps(const std::string& dataFile, const DecodeReport& report, FileKind kind, GapUse use)
{
    const bool diff = use == GapUse::Diff;
    const auto announced = static_cast<long long>(report.announcedCount);
    if (report.Truncated()) {
        const auto held = static_cast<long long>(diff ? WholeRecordCount(report, kind) : report.recordsPresent);
        Complain(diff ? Format<str::kCliDiffTruncatedFormat>(dataFile, announced, held)
                      : Format<str::kCliTruncatedFormat>(dataFile, announced, held));
    }
    if (const std::uint64_t cut = CutRecordBytes(report, kind); diff && cut > 0) {
        Complain(Format<str::kCliDiffCutRecordFormat>(dataFile, static_cast<long long>(WholeRecordCount(report, kind) + 1),
                                                      static_cast<long long>(cut),
                                                      static_cast<long long>(SchemaOf(kind).recordSize)));
    }
    if (report.trailingBytes > 0) {
        const auto trailing = static_cast<long long>(report.trailingBytes);
        Complain(diff ? Format<str::kCliDiffTrailingBytesFormat>(dataFile, trailing, announced)
                      : Format<str::kCliTrailingBytesFormat>(dataFile, trailing, announced));
    }
}

std::optional<FileStamp> IdentityOf(std::string_view name, std::optional<int> standardStream)
{
    if (name != "-" || !standardStream) return StampOf(PathFromUtf8(name));
    return StampOf(static_cast<StandardStream>(*standardStream));
}

} // namespace rw
