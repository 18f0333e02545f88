#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/DiffReport.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "data/RecordDiff.h"
#include "resources/Strings.h"

#include <exception>
#include <filesystem>
#include <new>

namespace rw {
namespace {

// 1 answers that the tables differ, so whatever keeps diff from answering is 2, bad data
// included, as with diff(1): a script can then tell "different" from "not compared".
constexpr int kExitDiffer = 1;
constexpr int kExitNotCompared = 2;

// --kind; else what the names tell, a name that tells nothing taking the other's kind
// (stditem.dat compared with its backup stditem.dat.bak is the usual case); else, when
// neither name tells, what the sizes tell.
[[nodiscard]] std::optional<DataFileChoice> ChooseBoth(const CliOptions& options, const std::string& a, const KindFits& fitsA,
                                                      const std::string& b, const KindFits& fitsB)
{
    if (options.kind != FileKind::None) return ChoiceOf(options, options.kind, KindSource::Option);
    const auto choose = [&](FileKind kindA, FileKind kindB, KindSource source) -> std::optional<DataFileChoice> {
        if (kindA != FileKind::None && kindB != FileKind::None && kindA != kindB) {
            Complain(Format<str::kCliDiffKindsDifferFormat>(a, b, KindWord(kindA), KindWord(kindB)));
            return std::nullopt;
        }
        return ChoiceOf(options, kindA != FileKind::None ? kindA : kindB, source);
    };
    const FileKind namedA = KindByName(a);
    const FileKind namedB = KindByName(b);
    if (namedA != FileKind::None || namedB != FileKind::None) return choose(namedA, namedB, KindSource::Name);
    const FileKind sizedA = KindBySize(fitsA);
    const FileKind sizedB = KindBySize(fitsB);
    if (sizedA == FileKind::None && sizedB == FileKind::None) {
        Complain(Format<str::kCliDiffUnknownKindFormat>(a, b));
        return std::nullopt;
    }
    std::optional<DataFileChoice> choice = choose(sizedA, sizedB, KindSource::Size);
    if (choice && !options.quiet) {
        if (sizedA != FileKind::None) SayKindBySize(a, sizedA);
        if (sizedB != FileKind::None) SayKindBySize(b, sizedB);
    }
    return choice;
}

// The records compared: those the file holds whole. A record the file ends inside is not
// compared, since its missing bytes would be compared as zeros.
[[nodiscard]] std::span<const std::uint8_t> ComparedRecords(const DecodedRecords& decoded)
{
    return std::span<const std::uint8_t>(decoded.bytes).first(decoded.WholeCount() * decoded.RecordSize());
}

[[nodiscard]] int Compare(const CliOptions& options)
{
    const std::string& fileA = options.files[0];
    const std::string& fileB = options.files[1];
    const std::optional<KindFits> fitsA = ExamineOrComplain(fileA);
    if (!fitsA) return kExitNotCompared;
    const std::optional<KindFits> fitsB = ExamineOrComplain(fileB);
    if (!fitsB) return kExitNotCompared;
    const std::optional<DataFileChoice> choice = ChooseBoth(options, fileA, *fitsA, fileB, *fitsB);
    if (!choice) return kExitNotCompared;
    if (!FitsOrComplain(fileA, *fitsA, choice->kind) || !FitsOrComplain(fileB, *fitsB, choice->kind)) return kExitNotCompared;
    CommandOutput output(options.output);
    if (output.IsTheInput(fileA) || output.IsTheInput(fileB)) return kExitNotCompared;
    const std::optional<DecodedRecords> a = ReadOrComplain(fileA, *choice);
    if (!a) return kExitNotCompared;
    const std::optional<DecodedRecords> b = ReadOrComplain(fileB, *choice);
    if (!b) return kExitNotCompared;
    if (!options.quiet) {
        WarnOfGaps(fileA, a->report, choice->kind, GapUse::Diff);
        WarnOfGaps(fileB, b->report, choice->kind, GapUse::Diff);
    }

    const RecordSchema& schema = SchemaOf(choice->kind);
    const std::span<const std::uint8_t> recordsA = ComparedRecords(*a);
    const std::span<const std::uint8_t> recordsB = ComparedRecords(*b);
    const std::vector<RecordChange> changes = DiffRecords(schema, recordsA, recordsB);
    const int answer = changes.empty() ? kExitOk : kExitDiffer;
    if (options.quiet) return answer;
    const DiffReport report(schema, {fileA, fileB, recordsA, recordsB}, changes);
    if (!output.Open()) return kExitNotCompared;
    const auto put = [&](std::string_view piece) { return output.Put(piece); };
    const bool made = options.csv ? report.WriteCsv(put) : options.json ? report.WriteJson(put) : report.WriteText(put);
    if (!output.Finish() || !made) return kExitNotCompared;
    return answer;
}

} // namespace

int RunDiff(const CliOptions& options)
{
    // As main does for every command, but with diff's status for a comparison that stopped.
    try {
        return Compare(options);
    } catch (const std::bad_alloc&) {
        Complain(str::kCliOutOfMemory);
    } catch (const std::exception& e) {
        Complain(str::kCliStopped, e.what());
    }
    return kExitNotCompared;
}

} // namespace rw
