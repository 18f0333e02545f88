#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
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

// What info finds out about one file; the exit status says whether it was read.
struct FileInfo {
    int status = kExitOk;
    DataFileChoice choice;
    DecodeReport report;
    std::optional<long long> repeatedIds; // for tables that refuse a repeated ID
};

[[nodiscard]] FileInfo Unread(int status)
{
    FileInfo info;
    info.status = status;
    return info;
}

[[nodiscard]] FileInfo Examine(const CliOptions& options, const std::string& file)
{
    const std::optional<KindFits> fits = ExamineOrComplain(file);
    if (!fits) return Unread(kExitBadData);
    const ChosenDataFile chosen = ChooseDataFile(options, file, *fits);
    if (!chosen.choice) return Unread(chosen.status);
    if (!FitsOrComplain(file, *fits, chosen.choice->kind)) return Unread(kExitBadData);
    const std::optional<DecodedRecords> read = ReadOrComplain(file, *chosen.choice);
    if (!read) return Unread(kExitBadData);
    FileInfo info{kExitOk, *chosen.choice, read->report, std::nullopt};
    if (SchemaOf(info.choice.kind).uniqueIds) info.repeatedIds = RepeatedIds(*read);
    return info;
}

[[nodiscard]] std::string Text(const std::string& file, const FileInfo& info)
{
    const DecodeReport& report = info.report;
    std::string text = Format<str::kCliInfoFormat>(file, KindWord(info.choice.kind), SchemaOf(info.choice.kind).fileName,
                              static_cast<long long>(info.choice.key), static_cast<long long>(report.announcedCount),
                              static_cast<long long>(report.recordsPresent), static_cast<long long>(report.fileSize),
                              report.Truncated() ? str::kCliYes : str::kCliNo,
                              static_cast<long long>(report.trailingBytes));
    if (info.repeatedIds) text += Format<str::kCliInfoRepeatsFormat>(*info.repeatedIds);
    return text;
}

// One file's object; every key is there, null where the file could not be read.
void AppendJson(std::string& out, const std::string& file, const FileInfo& info, const std::vector<std::string>& complaints)
{
    const bool read = info.status == kExitOk;
    const DecodeReport& report = info.report;
    const auto number = [&](long long value) {
        if (read) AppendJsonNumber(out, value);
        else out += "null";
    };
    out += '{';
    AppendJsonKey(out, "file", true);
    AppendJsonString(out, file);
    AppendJsonKey(out, "error");
    if (read || complaints.empty()) out += "null";
    else AppendJsonString(out, complaints.back());
    AppendJsonKey(out, "kind");
    if (read) AppendJsonString(out, KindWord(info.choice.kind));
    else out += "null";
    AppendJsonKey(out, "kind_from");
    if (read) AppendJsonString(out, KindSourceWord(info.choice.source));
    else out += "null";
    AppendJsonKey(out, "key");
    number(info.choice.key);
    AppendJsonKey(out, "count_in_header");
    number(report.announcedCount);
    AppendJsonKey(out, "records_present");
    number(static_cast<long long>(report.recordsPresent));
    AppendJsonKey(out, "file_size");
    number(static_cast<long long>(report.fileSize));
    AppendJsonKey(out, "truncated");
    if (read) AppendJsonBool(out, report.Truncated());
    else out += "null";
    AppendJsonKey(out, "bytes_after_records");
    number(static_cast<long long>(report.trailingBytes));
    AppendJsonKey(out, "repeated_ids");
    if (read && info.repeatedIds) AppendJsonNumber(out, *info.repeatedIds);
    else out += "null";
    out += '}';
}

// All files in one object, written once at the end; a file that could not be read is in it
// with the reason, as well as on standard error.
[[nodiscard]] int RunInfoJson(const CliOptions& options)
{
    int status = kExitOk;
    std::string json = "{\"files\":[\n";
    ComplaintLog complaints;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        complaints.Clear();
        const FileInfo info = Examine(options, options.files[i]);
        status = std::max(status, info.status);
        AppendJson(json, options.files[i], info, complaints.Messages());
        json += i + 1 < options.files.size() ? ",\n" : "\n";
    }
    json += "]}\n";
    return std::max(status, PrintOrComplain(json));
}

} // namespace

int RunInfo(const CliOptions& options)
{
    if (options.json) return RunInfoJson(options);
    int status = kExitOk;
    for (const std::string& file : options.files) {
        const FileInfo info = Examine(options, file);
        status = std::max(status, info.status);
        if (info.status != kExitOk) continue;
        // Said once; the files after it would only say it again.
        if (PrintOrComplain(Text(file, info)) != kExitOk) return std::max(status, int{kExitBadData});
    }
    return status;
}

} // namespace rw
