// recwright-cli update: the records a find-bar query meets changed as 批量修改 changes them,
// by the same rules, and written back as the editor's save writes them.

#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "cli/DiffReport.h"
#include "cli/ExpressionText.h"
#include "data/Backup.h"
#include "query/BulkChange.h"
#include "data/DataFile.h"
#include "data/LoadLoss.h"
#include "data/ListedFirst.h"
#include "data/RecordBytes.h"
#include "data/RecordDiff.h"
#include "query/RecordQuery.h"
#include "query/SetExpression.h"
#include "data/UniqueIds.h"
#include "resources/Strings.h"
#include "text/GbkFit.h"
#include "text/GbkTable.h"
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

// A --set of the name: its GBK bytes as the editor keeps a typed name (cut to the field at a
// character's end), and whether they were cut.
struct TypedName {
    std::string bytes;
    bool cut = false;
};

// Empty when the text has a character GBK cannot hold: a script's text is not silently thinned.
[[nodiscard]] std::optional<TypedName> FitTypedName(std::string_view text, const RecordSchema& schema)
{
    std::string bytes;
    if (!GbkTable::Instance().AppendGbkFromUtf8(text, bytes)) return std::nullopt;
    std::u16string units;
    GbkTable::Instance().AppendUtf16(bytes, units);
    TypedName name;
    name.bytes = FitGbkUtf16(units, static_cast<std::size_t>(schema.TypedNameCapacity())).bytes;
    name.cut = name.bytes.size() < bytes.size();
    return name;
}

// A --set as given, checked: the name's bytes already fitted.
struct CheckedSet {
    SetExpression set;
    TypedName name;
};

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
    [[nodiscard]] bool Apply(const CheckedSet& checked)
    {
        if (checked.set.SetsName()) {
            SetName(checked.name.bytes);
            return true;
        }
        const SetExpression& set = checked.set;
        const BulkChange change = set.Change(m_schema.kind);
        const BulkPlan plan = PlanBulkChange(change, Records());
        if (plan.outcome != BulkPlan::Outcome::Done) {
            Refuse(set, plan);
            return false;
        }
        if (set.column == kIdColumn && !FirstMonsterKeepsItsId(set, plan.values)) return false;
        const std::uint16_t offset = m_schema.Column(set.column).offset;
        for (std::size_t k = 0; k < m_matched.size(); ++k) StoreInt32(At(m_matched[k]) + offset, plan.values[k]);
        return true;
    }

private:
    [[nodiscard]] std::uint8_t* At(std::size_t i) { return m_after.data() + i * m_schema.recordSize; }

    void SetName(const std::string& bytes)
    {
        for (const std::size_t i : m_matched) {
            // A name given as it stands leaves its record alone, as in the editor.
            if (ReadShortName(m_schema, At(i)) == bytes) continue;
            Record record(m_schema.kind, std::span<const std::uint8_t>(At(i), m_schema.recordSize));
            record.SetTypedName(bytes);
            std::copy(record.Bytes().begin(), record.Bytes().end(), At(i));
        }
    }

    // The matched records as the change meets them; the IDs every record holds now, each
    // written over when it is one of them.
    [[nodiscard]] BulkRecords Records()
    {
        m_held.emplace(m_schema.kind);
        m_rewritten.assign(m_loaded.Count(), false);
        for (std::size_t i = 0; i < m_loaded.Count(); ++i) (void)m_held->Claim(LoadInt32(At(i)), static_cast<std::uint32_t>(i));
        for (const std::size_t i : m_matched) m_rewritten[i] = true;
        BulkRecords records;
        records.count = m_matched.size();
        records.recordAt = [this](std::size_t member) -> const std::uint8_t* { return At(m_matched[member]); };
        records.held = &*m_held;
        records.rewrites = [this](std::uint32_t holder) { return static_cast<bool>(m_rewritten[holder]); };
        return records;
    }

    void Refuse(const SetExpression& set, const BulkPlan& plan)
    {
        std::vector<std::size_t> records;
        for (const std::size_t member : plan.members) records.push_back(m_matched[member]);
        const auto count = static_cast<long long>(records.size());
        const std::string named = RecordsNamed(records);
        switch (plan.outcome) {
        case BulkPlan::Outcome::Done: return;
        case BulkPlan::Outcome::Overflow:
            Complain(Format<str::kCliUpdateOverflowFormat>(m_file, set.text, count, named));
            return;
        case BulkPlan::Outcome::DivisionByZero:
            Complain(Format<str::kCliUpdateDivisionByZeroFormat>(m_file, set.text, count, named));
            return;
        case BulkPlan::Outcome::OutOfRange:
            Complain(Format<str::kCliUpdateOutOfRangeFormat>(m_file, set.text, count, named));
            return;
        case BulkPlan::Outcome::DuplicateId:
            Complain(Format<str::kCliUpdateSharedIdsFormat>(m_file, set.text, count, named));
            return;
        }
    }

    // A monster file keeps its count where its first record's ID would be.
    [[nodiscard]] bool FirstMonsterKeepsItsId(const SetExpression& set, const std::vector<std::int32_t>& values)
    {
        if (m_schema.kind != FileKind::Monster || m_matched.empty() || m_loaded.PositionOf(m_matched.front()) != 0 ||
            values.front() == LoadInt32(At(m_matched.front()))) {
            return true;
        }
        Complain(Format<str::kCliUpdateFirstMonsterIdFormat>(m_file, set.text, static_cast<long long>(values.front())));
        return false;
    }

    // "ID 5 'name' (position 3), …, and 4 more": the records as they stand before the change.
    [[nodiscard]] std::string RecordsNamed(const std::vector<std::size_t>& records)
    {
        return ListedFirst(
            records.size(), std::string(", "),
            [&](std::size_t k) {
                const std::uint8_t* record = At(records[k]);
                std::string name;
                m_names.AppendText(ReadShortName(m_schema, record), name);
                return Format<str::kCliUpdateRecordFormat>(static_cast<long long>(LoadInt32(record)), name,
                                                           static_cast<long long>(m_loaded.PositionOf(records[k]) + 1));
            },
            [](std::size_t more) { return Format<str::kCliUpdateMoreRecordsFormat>(static_cast<long long>(more)); });
    }

    const std::string& m_file;
    const LoadedRecords& m_loaded;
    const RecordSchema& m_schema;
    std::vector<std::uint8_t> m_after;
    std::vector<std::size_t> m_matched;
    Utf8NameTranscoder m_names;
    std::optional<UniqueIds> m_held;
    std::vector<bool> m_rewritten;
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

// What to change and where, all checked before anything is read.
struct UpdateRequest {
    RecordQuery query;
    std::vector<CheckedSet> sets;
    BackupNaming naming;
};

// Empty, with the reason said, when the options ask for nothing update can do (bad usage).
[[nodiscard]] std::optional<UpdateRequest> ReadRequest(const CliOptions& options, const std::string& file, FileKind kind)
{
    UpdateRequest request;
    request.query = RecordQuery::Parse(*options.where, kind, Utf8NameTranscoder());
    if (request.query.Error()) {
        Complain(Format<str::kCliWhereFormat>(*options.where, QueryErrorText(*request.query.Error(), *options.where)));
        return std::nullopt;
    }
    if (request.query.Empty()) {
        Complain(str::kCliUpdateEmptyWhere);
        return std::nullopt;
    }
    const RecordSchema& schema = SchemaOf(kind);
    for (const std::string& text : options.sets) {
        ParsedSet parsed = ParseSetExpression(text, schema);
        if (!parsed.set) {
            Complain(Format<str::kCliSetFormat>(text, SetErrorText(*parsed.error, text)));
            return std::nullopt;
        }
        CheckedSet checked{std::move(*parsed.set), {}};
        if (checked.set.SetsName()) {
            const std::optional<TypedName> name = FitTypedName(checked.set.nameText, schema);
            if (!name) {
                Complain(Format<str::kCliSetFormat>(text, str::kCliSetNotGbk));
                return std::nullopt;
            }
            checked.name = *name;
        }
        request.sets.push_back(std::move(checked));
    }
    if (options.output && (options.backup || options.suffix)) {
        Complain(str::kCliUpdateBackupWithOutput);
        return std::nullopt;
    }
    const std::optional<BackupNaming> naming = ChosenBackupNaming(options);
    if (!naming) return std::nullopt;
    request.naming = *naming;
    if (options.output && SameFile(IdentityOf(*options.output, std::nullopt), IdentityOf(file, std::nullopt))) {
        Complain(Format<str::kCliUpdateOutputIsInputFormat>(*options.output));
        return std::nullopt;
    }
    return request;
}

// The records the query meets, ascending.
[[nodiscard]] std::vector<std::size_t> MatchingRecords(const LoadedRecords& loaded, const RecordQuery& query)
{
    const std::size_t size = SchemaOf(loaded.Kind()).recordSize;
    std::vector<std::size_t> matched;
    for (std::size_t i = 0; i < loaded.Count(); ++i) {
        if (query.Matches(loaded.Bytes().subspan(i * size, size))) matched.push_back(i);
    }
    return matched;
}

// Every --set in order, each on what the one before left; false when one is refused.
[[nodiscard]] bool ApplySets(const std::vector<CheckedSet>& sets, RecordChanger& changer)
{
    const Utf8NameTranscoder names;
    for (const CheckedSet& checked : sets) {
        if (checked.set.SetsName() && checked.name.cut) {
            std::string kept;
            names.AppendText(checked.name.bytes, kept);
            Complain(Format<str::kCliSetNameCutFormat>(checked.set.text, kept, static_cast<long long>(checked.name.bytes.size())));
        }
        if (!changer.Apply(checked)) return false;
    }
    return true;
}

// The new file and the backup, written and flushed under temporary names, not yet in place.
struct PreparedFiles {
    std::optional<PendingDataFile> written;
    std::optional<PendingBackup> backup;
    std::optional<std::filesystem::path> backupPath;
};

// False, with the reason said, when either cannot be made ready.
[[nodiscard]] bool PrepareFiles(const CliOptions& options, const UpdateRequest& request, const DataFileChoice& choice,
                                const ReadContent& wasRead, const std::vector<std::uint8_t>& records, std::size_t count,
                                PreparedFiles& files)
{
    const std::string& file = options.files[0];
    const std::filesystem::path path = PathFromUtf8(file);
    const std::filesystem::path target = options.output ? PathFromUtf8(*options.output) : path;
    files.backupPath = options.output || options.dryRun ? std::nullopt : BackupPathFor(path, request.naming);
    if (options.dryRun) return true;
    const std::size_t size = SchemaOf(choice.kind).recordSize;
    files.written.emplace(target, choice.kind, choice.key, count, [&](std::size_t i, std::span<std::uint8_t> record) {
        std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(i * size), size, record.begin());
    });
    if (!files.written->Ready()) {
        Complain(Format<str::kCliCannotWriteFormat>(options.output ? *options.output : file, files.written->Failure().error));
        return false;
    }
    if (files.backupPath) {
        files.backup.emplace(path, *files.backupPath, wasRead);
        if (!files.backup->Report().Ok()) {
            ComplainOfBackup(file, *files.backupPath, files.backup->Report());
            return false;
        }
    }
    return true;
}

// The report on standard output, in the form the options ask for; false when it could not be written.
[[nodiscard]] bool SendReport(const CliOptions& options, const DiffReport& report)
{
    CommandOutput output(std::nullopt);
    const auto put = [&](std::string_view piece) { return output.Put(piece); };
    return output.Open() &&
           (options.csv ? report.WriteCsv(put) : options.json ? report.WriteJson(put) : report.WriteText(put)) &&
           output.Finish();
}

// The backup and the file into their places, the file found as it was read; the exit status.
[[nodiscard]] int CommitFiles(const CliOptions& options, const DataFileChoice& choice, const ReadContent& wasRead,
                              PreparedFiles& files, long long count)
{
    const std::string& file = options.files[0];
    const std::string& shownB = options.output ? *options.output : file;
    if (!options.output) {
        switch (CompareWithRead(PathFromUtf8(file), choice.kind, wasRead.fingerprint)) {
        case SinceRead::Same: break;
        case SinceRead::Changed: Complain(Format<str::kCliUpdateChangedSinceReadFormat>(file)); return kExitBadData;
        case SinceRead::Gone: Complain(Format<str::kCliUpdateGoneSinceReadFormat>(file)); return kExitBadData;
        }
        if (files.backup) {
            if (const BackupReport kept = files.backup->Commit(); !kept.Ok()) {
                ComplainOfBackup(file, *files.backupPath, kept);
                return kExitBadData;
            }
        }
    }
    if (const WriteReport done = files.written->Commit(); !done.written) {
        Complain(Format<str::kCliCannotWriteFormat>(shownB, done.error));
        return kExitBadData;
    }
    if (options.output) {
        Complain(Format<str::kCliUpdateWrittenFormat>(file, count, *options.output));
    } else if (!files.backupPath) {
        Complain(Format<str::kCliUpdateNoBackupFormat>(file, count));
    } else {
        if (files.backup->ReplacesEarlier()) {
            Complain(Format<str::kCliUpdateBackupReplacedFormat>(file, Utf8FromPath(*files.backupPath)));
        }
        Complain(Format<str::kCliUpdateInPlaceFormat>(file, count, Utf8FromPath(*files.backupPath)));
    }
    return kExitOk;
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
    const std::optional<UpdateRequest> request = ReadRequest(options, file, choice.kind);
    if (!request) return kExitBadUsage;

    std::optional<DecodedRecords> decoded = ReadOrComplain(file, choice);
    if (!decoded) return kExitBadData;
    const DecodeReport read = decoded->report;
    const LoadedRecords loaded(std::move(*decoded));
    std::vector<std::size_t> matched = MatchingRecords(loaded, request->query);
    if (matched.empty()) {
        Complain(Format<str::kCliUpdateNothingMatchedFormat>(file, *options.where));
        return kExitOk;
    }
    const std::size_t matchedCount = matched.size();
    RecordChanger changer(file, loaded, std::move(matched));
    if (!ApplySets(request->sets, changer)) return kExitBadData;

    // Paired by position: an ID changed is the same record with another ID.
    RecordSchema positional = SchemaOf(choice.kind);
    positional.uniqueIds = false;
    const std::vector<RecordChange> changes = DiffRecords(positional, loaded.Bytes(), changer.After());
    if (changes.empty()) {
        Complain(Format<str::kCliUpdateNothingChangedFormat>(file, static_cast<long long>(matchedCount)));
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
    const ReadContent wasRead{choice.kind, FingerprintOf(read)};
    PreparedFiles files;
    if (!PrepareFiles(options, *request, choice, wasRead, changer.After(), loaded.Count(), files)) return kExitBadData;
    const std::string& shownB = options.output ? *options.output : file;
    if (!SendReport(options, DiffReport(positional, {file, shownB, loaded.Bytes(), changer.After()}, changes))) {
        if (!options.dryRun) Complain(Format<str::kCliUpdateReportFailedFormat>(shownB));
        return kExitBadData;
    }
    const auto count = static_cast<long long>(changes.size());
    if (options.dryRun) {
        if (!options.output && !losses.empty()) Complain(Format<str::kCliUpdateDryRunLossFormat>(file, lost));
        Complain(Format<str::kCliUpdateDryRunFormat>(file, count));
        return kExitOk;
    }
    return CommitFiles(options, choice, wasRead, files, count);
}

} // namespace

int RunUpdate(const CliOptions& options) { return Update(options); }

} // namespace rw
