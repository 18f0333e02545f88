#include "cli/CliText.h"
#include "cli/Commands.h"
#include "data/DataFile.h"
#include "data/RecordBytes.h"
#include "data/UniqueIds.h"
#include "resources/Strings.h"

#include <algorithm>
#include <vector>

namespace rw {
namespace {

// Records whose ID an earlier record already has: those the editor refuses on loading.
[[nodiscard]] long long RepeatedIds(const DecodedRecords& decoded)
{
    long long repeated = 0;
    UniqueIds(decoded.kind).ClaimInOrder(
        static_cast<std::uint32_t>(decoded.Count()),
        [&](std::uint32_t i) { return LoadInt32(decoded.RecordAt(i).data()); }, [](std::uint32_t) {},
        [&](std::uint32_t) { ++repeated; });
    return repeated;
}

// The exit status for the file, and whether standard output still takes text.
struct Shown {
    int status = kExitOk;
    bool printed = true;
};

[[nodiscard]] Shown ShowOne(const CliOptions& options, const std::string& file)
{
    const std::optional<KindFits> fits = ExamineOrComplain(file);
    if (!fits) return {kExitBadData};
    const std::optional<DataFileChoice> choice = ChooseDataFile(options, file);
    if (!choice) return {kExitBadUsage};
    if (!FitsOrComplain(file, *fits, choice->kind)) return {kExitBadData};
    const std::optional<DecodedRecords> read = ReadOrComplain(file, *choice);
    if (!read) return {kExitBadData};
    const DecodeReport& report = read->report;
    const RecordSchema& schema = SchemaOf(choice->kind);
    std::string text = Format<str::kCliInfoFormat>(file, KindWord(choice->kind), schema.fileName,
                              static_cast<long long>(choice->key), static_cast<long long>(report.announcedCount),
                              static_cast<long long>(report.recordsPresent), static_cast<long long>(report.fileSize),
                              report.Truncated() ? str::kCliYes : str::kCliNo,
                              static_cast<long long>(report.trailingBytes));
    if (schema.uniqueIds) text += Format<str::kCliInfoRepeatsFormat>(RepeatedIds(*read));
    if (PrintOrComplain(text) == kExitOk) return {};
    return {kExitBadData, false};
}

} // namespace

int RunInfo(const CliOptions& options)
{
    int status = kExitOk;
    for (const std::string& file : options.files) {
        const Shown shown = ShowOne(options, file);
        status = std::max(status, shown.status);
        // Said once; the files after it would only say it again.
        if (!shown.printed) break;
    }
    return status;
}

} // namespace rw
