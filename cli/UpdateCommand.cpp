// recwright-cli update: the records a find-bar query meets changed as 批量修改 changes them,
// by the same rules, and written back as the editor's save writes them.

#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/DiffReport.h"
#include "cli/SetExpression.h"
#include "data/Backup.h"
#include "data/BulkChange.h"
#include "data/DataFile.h"
#include "data/LoadLoss.h"
#include "data/RecordBytes.h"
#include "data/RecordDiff.h"
#include "data/RecordQuery.h"
#include "data/UniqueIds.h"
#include "resources/Strings.h"
#include "text/Utf8NameTranscoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace rw {
namespace {

// A refusal names this many records, then how many more.
constexpr std::size_t kRecordsNamed = 10;

// The records as the editor's table holds them once loaded: every one the file holds a byte
// of, but those whose ID an earlier record has. They keep the decoded bytes, closed up over
// the records left out, so that a large table is held once here and once changed.
class LoadedRecords {
public:
    explicit LoadedRecords(DecodedRecords decoded) : m_kind(decoded.kind), m_bytes(std::move(decoded.bytes))
    {
        const std::size_t size = SchemaOf(m_kind).recordSize;
        const auto count = static_cast<std::uint32_t>(decoded.Count());
        m_positions.reserve(count);
        UniqueIds ids(m_kind);
        ids.ClaimInOrder(
            count, [&](std::uint32_t i) { return LoadInt32(m_bytes.data() + i * size); },
            [&](std::uint32_t i) {
                // Records ahead, whose IDs are still to be read, are never written over.
                if (m_positions.size() != i) {
                    std::copy_n(m_bytes.data() + i * size, size, m_bytes.data() + m_positions.size() * size);
                }
                m_positions.push_back(i);
            },
            [&](std::uint32_t) { ++m_repeats; });
    }

    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] std::span<const std::uint8_t> Bytes() const
    {
        return std::span<const std::uint8_t>(m_bytes).first(Count() * SchemaOf(m_kind).recordSize);
    }
    [[nodiscard]] std::size_t Count() const { return m_positions.size(); }
    // Where record i stands in the file, from 0.
    [[nodiscard]] std::size_t PositionOf(std::size_t i) const { return m_positions[i]; }
    // Records left out as repeated IDs.
    [[nodiscard]] std::size_t Repeats() const { return m_repeats; }

private:
    FileKind m_kind;
    PageBuffer m_bytes;
    std::vector<std::size_t> m_positions;
    std::size_t m_repeats = 0;
};

[[nodiscard]] std::string QueryErrorText(const QueryError& error)
{
    switch (error.kind) {
    case QueryError::Kind::UnknownColumn:
        return Format<str::kCliQueryUnknownColumnFormat>(error.text) +
               (error.nearest.empty() ? std::string() : Format<str::kCliDidYouMeanFormat>(error.nearest));
    case QueryError::Kind::NameColumn: return Format<str::kCliQueryNameColumnFormat>(error.text);
    case QueryError::Kind::NoOperator: return Format<str::kCliQueryNoOperatorFormat>(error.text);
    case QueryError::Kind::NoNumber: return Format<str::kCliQueryNoNumberFormat>(error.text);
    case QueryError::Kind::EmptyAlternative: return str::kCliQueryEmptyAlternative;
    case QueryError::Kind::NotInRange: break;
    }
    return Format<str::kCliQueryNotInRangeFormat>(error.text);
}

// What a write of the loaded records would not keep of the file; nothing when it keeps all.
[[nodiscard]] std::vector<std::string> LossesOf(const DecodeReport& report, FileKind kind, std::size_t repeats)
{
    const LoadLoss loss = LossOf(report, kind, repeats);
    std::vector<std::string> losses;
    if (loss.absentRecords > 0) {
        losses.push_back(Format<str::kCliUpdateLossTruncatedFormat>(static_cast<long long>(loss.announcedCount),
                                                                    static_cast<long long>(loss.wholeRecords)));
    }
    if (loss.cutRecordBytes > 0) {
        losses.push_back(Format<str::kCliUpdateLossCutFormat>(static_cast<long long>(loss.wholeRecords + 1)));
    }
    if (loss.trailingBytes > 0) {
        losses.push_back(Format<str::kCliUpdateLossTrailingFormat>(static_cast<long long>(loss.trailingBytes)));
    }
    if (loss.refusedRecords > 0) {
        losses.push_back(Format<str::kCliUpdateLossRepeatsFormat>(static_cast<long long>(loss.refusedRecords)));
    }
    return losses;
}

[[nodiscard]] std::string Joined(const std::vector<std::string>& parts, std::string_view joiner)
{
    std::string text;
    for (const std::string& part : parts) text.append(text.empty() ? "" : joiner).append(part);
    return text;
}

// The records being changed, one --set after another; a --set that a rule refuses changes
// nothing and says why, naming the records.
class RecordChanger {
public:
    RecordChanger(const std::string& file, const LoadedRecords& loaded, std::vector<std::size_t> matched)
        : m_file(file), m_loaded(loaded), m_schema(SchemaOf(loaded.Kind())),
          m_after(loaded.Bytes().begin(), loaded.Bytes().end()),
          m_matched(std::move(matched))
    {
    }

    [[nodiscard]] const std::vector<std::uint8_t>& After() const { return m_after; }

    // False, with the reason said, when the rule refuses the change.
    [[nodiscard]] bool Apply(const SetExpression& set)
    {
        if (set.SetsName()) {
            for (const std::size_t i : m_matched) {
                // A name given as it stands leaves its record alone, as in the editor.
                if (ReadShortName(m_schema, At(i)) == set.nameBytes) continue;
                Record record(m_schema.kind, std::span<const std::uint8_t>(At(i), m_schema.recordSize));
                record.SetTypedName(set.nameBytes);
                std::copy(record.Bytes().begin(), record.Bytes().end(), At(i));
            }
            return true;
        }
        const std::uint16_t offset = m_schema.Column(set.change.column).offset;
        std::vector<std::int32_t> values(m_matched.size());
        std::vector<std::size_t> outOfRange;
        for (std::size_t k = 0; k < m_matched.size(); ++k) {
            const std::optional<std::int32_t> value = BulkChangedValue(set.change, LoadInt32(At(m_matched[k]) + offset));
            if (!value) outOfRange.push_back(m_matched[k]);
            values[k] = value.value_or(0);
        }
        if (!outOfRange.empty()) {
            Complain(Format<str::kCliUpdateOutOfRangeFormat>(m_file, set.text, static_cast<long long>(outOfRange.size()),
                                                             RecordsNamed(outOfRange)));
            return false;
        }
        if (set.change.column == kIdColumn && !IdsMayChange(set, values)) return false;
        for (std::size_t k = 0; k < m_matched.size(); ++k) StoreInt32(At(m_matched[k]) + offset, values[k]);
        return true;
    }

private:
    [[nodiscard]] std::uint8_t* At(std::size_t i) { return m_after.data() + i * m_schema.recordSize; }

    // The duplicate-ID rule, and the room a monster file has for its first record's ID.
    [[nodiscard]] bool IdsMayChange(const SetExpression& set, const std::vector<std::int32_t>& values)
    {
        if (m_schema.kind == FileKind::Monster && !m_matched.empty() && m_loaded.PositionOf(m_matched.front()) == 0 &&
            values.front() != LoadInt32(At(m_matched.front()))) {
            Complain(Format<str::kCliUpdateFirstMonsterIdFormat>(m_file, set.text, static_cast<long long>(values.front())));
            return false;
        }
        UniqueIds held(m_schema.kind);
        std::vector<bool> rewritten(m_loaded.Count(), false);
        for (std::size_t i = 0; i < m_loaded.Count(); ++i) (void)held.Claim(LoadInt32(At(i)), static_cast<std::uint32_t>(i));
        for (const std::size_t i : m_matched) rewritten[i] = true;
        const std::vector<std::size_t> sharing =
            MembersSharingIds(held, [&](std::uint32_t holder) { return static_cast<bool>(rewritten[holder]); }, values);
        if (sharing.empty()) return true;
        std::vector<std::size_t> records;
        for (const std::size_t member : sharing) records.push_back(m_matched[member]);
        Complain(Format<str::kCliUpdateSharedIdsFormat>(m_file, set.text, static_cast<long long>(records.size()),
                                                        RecordsNamed(records)));
        return false;
    }

    // "ID 5 'name' (position 3), …, and 4 more": the records as they stand before the change.
    [[nodiscard]] std::string RecordsNamed(const std::vector<std::size_t>& records)
    {
        std::vector<std::string> named;
        for (std::size_t k = 0; k < records.size() && k < kRecordsNamed; ++k) {
            const std::uint8_t* record = At(records[k]);
            std::string name;
            m_names.AppendText(ReadShortName(m_schema, record), name);
            named.push_back(Format<str::kCliUpdateRecordFormat>(static_cast<long long>(LoadInt32(record)), name,
                                                                static_cast<long long>(m_loaded.PositionOf(records[k]) + 1)));
        }
        if (records.size() > kRecordsNamed) {
            named.push_back(Format<str::kCliUpdateMoreRecordsFormat>(static_cast<long long>(records.size() - kRecordsNamed)));
        }
        return Joined(named, ", ");
    }

    const std::string& m_file;
    const LoadedRecords& m_loaded;
    const RecordSchema& m_schema;
    std::vector<std::uint8_t> m_after;
    std::vector<std::size_t> m_matched;
    Utf8NameTranscoder m_names;
};

// The backups an update in place keeps: --backup and --suffix, else what the environment says
// for a --backup without a CONTROL, as cp, mv and install read it. Empty, with the reason
// said, when --backup leaves VERSION_CONTROL to say and it says nothing --backup takes.
[[nodiscard]] std::optional<BackupNaming> ChosenBackupNaming(const CliOptions& options)
{
    BackupNaming naming;
    if (options.suffix) naming.suffix = *options.suffix;
    // Without --backup, the one backup the README and the editor promise.
    if (!options.backup) return naming;
    naming.control = BackupControl::Existing;
    if (options.backupControl) {
        naming.control = *options.backupControl;
    } else if (const char* word = std::getenv("VERSION_CONTROL"); word && *word) {
        std::string suggestion;
        const std::optional<BackupControl> control = BackupControlNamed(word, suggestion);
        if (!control) {
            Complain(Format<str::kCliBadVersionControlFormat>(word) + suggestion);
            return std::nullopt;
        }
        naming.control = *control;
    }
    // A suffix that would put the backup elsewhere, or on the table itself, is passed over.
    if (const char* suffix = std::getenv("SIMPLE_BACKUP_SUFFIX"); !options.suffix && suffix && IsBackupSuffix(suffix)) {
        naming.suffix = suffix;
    }
    return naming;
}

void ComplainOfBackup(const std::string& file, const std::filesystem::path& backupPath, const BackupReport& backup)
{
    std::string reason;
    switch (backup.fault) {
    case BackupFault::TableChanged: Complain(Format<str::kCliUpdateChangedSinceReadFormat>(file)); return;
    case BackupFault::NameTaken: reason = str::kCliBackupNameTaken; break;
    case BackupFault::NameIsTable: reason = str::kCliBackupNameIsTable; break;
    case BackupFault::TableNotAFile: reason = str::kCliBackupTableNotAFile; break;
    case BackupFault::TableUnreadable:
    case BackupFault::CannotWrite:
    case BackupFault::None: reason = backup.error.message(); break;
    }
    Complain(Format<str::kCliBackupFailedFormat>(file, Utf8FromPath(backupPath), reason));
}

[[nodiscard]] int Update(const CliOptions& options)
{
    const std::string& file = options.files[0];
    const std::optional<KindFits> fits = ExamineOrComplain(file);
    if (!fits) return kExitBadData;
    const ChosenDataFile chosen = ChooseDataFile(options, file, *fits);
    if (!chosen.choice) return chosen.status;
    const DataFileChoice& choice = *chosen.choice;
    if (!FitsOrComplain(file, *fits, choice.kind)) return kExitBadData;

    // What to change is checked whole before anything is read.
    const Utf8NameTranscoder names;
    const RecordQuery query = RecordQuery::Parse(*options.where, choice.kind, names);
    if (query.Error()) {
        Complain(Format<str::kCliWhereFormat>(*options.where, QueryErrorText(*query.Error())));
        return kExitBadUsage;
    }
    if (query.Empty()) {
        Complain(str::kCliUpdateEmptyWhere);
        return kExitBadUsage;
    }
    const RecordSchema& schema = SchemaOf(choice.kind);
    std::vector<SetExpression> sets;
    for (const std::string& text : options.sets) {
        ParsedSet parsed = ParseSetExpression(text, schema);
        if (!parsed.set) {
            Complain(Format<str::kCliSetFormat>(text, parsed.error));
            return kExitBadUsage;
        }
        sets.push_back(std::move(*parsed.set));
    }
    if (options.output && (options.backup || options.suffix)) {
        Complain(str::kCliUpdateBackupWithOutput);
        return kExitBadUsage;
    }
    const std::optional<BackupNaming> naming = ChosenBackupNaming(options);
    if (!naming) return kExitBadUsage;
    const std::filesystem::path path = PathFromUtf8(file);
    const std::filesystem::path target = options.output ? PathFromUtf8(*options.output) : path;
    if (options.output && SameFile(IdentityOf(*options.output, std::nullopt), IdentityOf(file, std::nullopt))) {
        Complain(Format<str::kCliUpdateOutputIsInputFormat>(*options.output));
        return kExitBadUsage;
    }

    std::optional<DecodedRecords> decoded = ReadOrComplain(file, choice);
    if (!decoded) return kExitBadData;
    const DecodeReport read = decoded->report;
    const LoadedRecords loaded(std::move(*decoded));
    std::vector<std::size_t> matched;
    for (std::size_t i = 0; i < loaded.Count(); ++i) {
        if (query.Matches(loaded.Bytes().subspan(i * schema.recordSize, schema.recordSize))) {
            matched.push_back(i);
        }
    }
    if (matched.empty()) {
        Complain(Format<str::kCliUpdateNothingMatchedFormat>(file, *options.where));
        return kExitOk;
    }
    RecordChanger changer(file, loaded, matched);
    for (const SetExpression& set : sets) {
        if (set.nameCut) {
            std::string kept;
            names.AppendText(set.nameBytes, kept);
            Complain(Format<str::kCliSetNameCutFormat>(set.text, kept, static_cast<long long>(set.nameBytes.size())));
        }
        if (!changer.Apply(set)) return kExitBadData;
    }

    // Paired by position: an ID changed is the same record with another ID.
    RecordSchema positional = schema;
    positional.uniqueIds = false;
    const std::vector<RecordChange> changes = DiffRecords(positional, loaded.Bytes(), changer.After());
    if (changes.empty()) {
        Complain(Format<str::kCliUpdateNothingChangedFormat>(file, static_cast<long long>(matched.size())));
        return kExitOk;
    }
    const std::vector<std::string> losses = LossesOf(read, choice.kind, loaded.Repeats());
    const std::string lost = Joined(losses, "; ");
    if (!options.output && !options.dryRun && !losses.empty()) {
        Complain(Format<str::kCliUpdateRefusedLossFormat>(file, lost));
        return kExitBadData;
    }
    if (options.output && !losses.empty()) Complain(Format<str::kCliUpdateOtherLossFormat>(file, *options.output, file, lost));

    // Everything is made ready first, the new file and the backup written and flushed under
    // temporary names; then the report goes out; and only then, the file found as it was
    // read, do the backup and the file take their places, one right after the other. So a
    // report that cannot be written, or a file another program wrote meanwhile, leaves every
    // file as it was and the exit status says so; and the backup holds what update read.
    const std::string& shownB = options.output ? *options.output : file;
    const ReadContent wasRead{choice.kind, FingerprintOf(read)};
    std::optional<PendingDataFile> written;
    std::optional<PendingBackup> backup;
    const std::optional<std::filesystem::path> backupPath =
        options.output || options.dryRun ? std::nullopt : BackupPathFor(path, *naming);
    if (!options.dryRun) {
        const std::size_t size = schema.recordSize;
        const std::vector<std::uint8_t>& records = changer.After();
        written.emplace(target, choice.kind, choice.key, loaded.Count(), [&](std::size_t i, std::span<std::uint8_t> record) {
            std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * size), size, record.begin());
        });
        if (!written->Ready()) {
            Complain(Format<str::kCliCannotWriteFormat>(shownB, written->Failure().error));
            return kExitBadData;
        }
        if (backupPath) {
            backup.emplace(path, *backupPath, wasRead);
            if (!backup->Report().Ok()) {
                ComplainOfBackup(file, *backupPath, backup->Report());
                return kExitBadData;
            }
        }
    }

    const DiffReport report(positional, {file, shownB, loaded.Bytes(), changer.After()}, changes);
    CommandOutput output(std::nullopt);
    const auto put = [&](std::string_view piece) { return output.Put(piece); };
    if (!output.Open() ||
        !((options.csv ? report.WriteCsv(put) : options.json ? report.WriteJson(put) : report.WriteText(put)) && output.Finish())) {
        if (!options.dryRun) Complain(Format<str::kCliUpdateReportFailedFormat>(shownB));
        return kExitBadData;
    }

    const auto count = static_cast<long long>(changes.size());
    if (options.dryRun) {
        if (!options.output && !losses.empty()) Complain(Format<str::kCliUpdateDryRunLossFormat>(file, lost));
        Complain(Format<str::kCliUpdateDryRunFormat>(file, count));
        return kExitOk;
    }
    if (!options.output) {
        switch (CompareWithRead(path, choice.kind, wasRead.fingerprint)) {
        case SinceRead::Same: break;
        case SinceRead::Changed: Complain(Format<str::kCliUpdateChangedSinceReadFormat>(file)); return kExitBadData;
        case SinceRead::Gone: Complain(Format<str::kCliUpdateGoneSinceReadFormat>(file)); return kExitBadData;
        }
        if (backup) {
            if (const BackupReport kept = backup->Commit(); !kept.Ok()) {
                ComplainOfBackup(file, *backupPath, kept);
                return kExitBadData;
            }
        }
    }
    if (const WriteReport done = written->Commit(); !done.written) {
        Complain(Format<str::kCliCannotWriteFormat>(shownB, done.error));
        return kExitBadData;
    }

    if (options.output) {
        Complain(Format<str::kCliUpdateWrittenFormat>(file, count, *options.output));
    } else if (!backupPath) {
        Complain(Format<str::kCliUpdateNoBackupFormat>(file, count));
    } else {
        if (backup->ReplacesEarlier()) Complain(Format<str::kCliUpdateBackupReplacedFormat>(file, Utf8FromPath(*backupPath)));
        Complain(Format<str::kCliUpdateInPlaceFormat>(file, count, Utf8FromPath(*backupPath)));
    }
    return kExitOk;
}

} // namespace

int RunUpdate(const CliOptions& options) { return Update(options); }

} // namespace rw
