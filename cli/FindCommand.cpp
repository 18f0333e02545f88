// recwright-cli find: the records a find-bar query meets, shown in export's columns, with an
// exit status a script can test as grep's: 0 some, 1 none, 2 could not tell.

#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/ExpressionText.h"
#include "cli/JsonText.h"
#include "csv/CsvExport.h"
#include "data/DecimalText.h"
#include "data/RecordBytes.h"
#include "query/RecordQuery.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <string>
#include <vector>

namespace rw {
namespace {

// No record meets the condition; anything that keeps find from answering.
constexpr int kExitNoneFound = 1;
constexpr int kExitNotAnswered = 2;
// Records written out at a time: about a megabyte of text.
constexpr std::size_t kPieceRecords = 2048;

// "position 3: ItemID=3 ItemName='月华灵液' Stdmode=0 ...": each column by its title.
void AppendLine(const RecordSchema& schema, const std::uint8_t* record, std::size_t position,
                const NameTranscoder& names, std::string& out)
{
    out += Format<str::kCliFindRecordFormat>(static_cast<long long>(position));
    for (int k = 0; k < schema.ColumnCount(); ++k) {
        out.append(" ").append(schema.Column(k).title).append("=");
        if (k == kNameColumn) {
            out += "'";
            names.AppendText(ReadShortName(schema, record), out);
            out += "'";
        } else {
            out += FormatInt32(ReadColumnValue(schema, record, k));
        }
    }
    out += "\n";
}

// {"position":3,"ItemID":3,"ItemName":"月华灵液",...}
void AppendObject(const RecordSchema& schema, const std::uint8_t* record, std::size_t position,
                  const NameTranscoder& names, std::string& out)
{
    out += "{";
    AppendJsonKey(out, "position", true);
    AppendJsonNumber(out, static_cast<long long>(position));
    for (int k = 0; k < schema.ColumnCount(); ++k) {
        AppendJsonKey(out, schema.Column(k).title);
        if (k == kNameColumn) {
            std::string name;
            names.AppendText(ReadShortName(schema, record), name);
            AppendJsonString(out, name);
        } else {
            AppendJsonNumber(out, ReadColumnValue(schema, record, k));
        }
    }
    out += "}";
}

// The records at positions (from 0) in the form the options ask for, a piece at a time.
[[nodiscard]] bool WriteFound(const CliOptions& options, const std::string& file, const DecodedRecords& decoded,
                              const std::vector<std::size_t>& found, CommandOutput& output)
{
    const RecordSchema& schema = SchemaOf(decoded.kind);
    const Utf8NameTranscoder names;
    CsvExporter csv(decoded.kind, names);
    std::string text;
    if (options.csv) csv.AppendHeader(text);
    if (options.json) {
        text += "{";
        AppendJsonKey(text, "file", true);
        AppendJsonString(text, file);
        AppendJsonKey(text, "kind");
        AppendJsonString(text, KindWord(decoded.kind));
        AppendJsonKey(text, "where");
        AppendJsonString(text, *options.where);
        AppendJsonKey(text, "records");
        text += "[\n";
    }
    for (std::size_t k = 0; k < found.size(); ++k) {
        const std::span<const std::uint8_t> record = decoded.RecordAt(found[k]);
        if (options.csv) {
            csv.AppendRow(record, text);
        } else if (options.json) {
            AppendObject(schema, record.data(), found[k] + 1, names, text);
            text += k + 1 < found.size() ? ",\n" : "\n";
        } else {
            AppendLine(schema, record.data(), found[k] + 1, names, text);
        }
        if ((k + 1) % kPieceRecords == 0) {
            if (!output.Put(text)) return false;
            text.clear();
        }
    }
    if (options.json) {
        text += "],";
        AppendJsonKey(text, "count", true);
        AppendJsonNumber(text, static_cast<long long>(found.size()));
        AppendJsonKey(text, "records_read");
        AppendJsonNumber(text, static_cast<long long>(decoded.Count()));
        text += "}\n";
    }
    return output.Put(text);
}

} // namespace

int RunFind(const CliOptions& options)
{
    const std::string& file = options.files[0];
    const std::optional<KindFits> fits = ExamineOrComplain(file);
    if (!fits) return kExitNotAnswered;
    const ChosenDataFile chosen = ChooseDataFile(options, file, *fits);
    if (!chosen.choice) return kExitNotAnswered;
    const DataFileChoice& choice = *chosen.choice;
    if (!FitsOrComplain(file, *fits, choice.kind)) return kExitNotAnswered;
    const RecordQuery query = RecordQuery::Parse(*options.where, choice.kind, Utf8NameTranscoder());
    if (query.Error()) {
        Complain(Format<str::kCliWhereFormat>(*options.where, QueryErrorText(*query.Error(), *options.where)));
        return kExitNotAnswered;
    }
    if (query.Empty()) {
        Complain(str::kCliUpdateEmptyWhere);
        return kExitNotAnswered;
    }
    const std::optional<DecodedRecords> decoded = ReadOrComplain(file, choice);
    if (!decoded) return kExitNotAnswered;
    WarnOfGaps(file, decoded->report, choice.kind, GapUse::Export);

    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < decoded->Count(); ++i) {
        if (query.Matches(decoded->RecordAt(i))) found.push_back(i);
    }
    CommandOutput output(std::nullopt);
    if (!output.Open()) return kExitNotAnswered;
    const bool written = WriteFound(options, file, *decoded, found, output);
    if (!output.Finish() || !written) return kExitNotAnswered;
    Complain(Format<str::kCliFindCountFormat>(file, static_cast<long long>(found.size()),
                                              static_cast<long long>(decoded->Count()), *options.where));
    return found.empty() ? kExitNoneFound : kExitOk;
}

} // namespace rw
