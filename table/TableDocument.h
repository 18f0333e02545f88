#pragma once

// The open file: its table (through the model that views show), the keys, its name, full path
// and kind, the sort state, the edit history, and what the file held when it was loaded, to
// tell whether another program has changed it since, what the load left out of it, and
// whether its backup is made. Every change to the table is a step of the history, which
// TableEdits builds; what is unsaved follows the history. It answers with outcomes; what the
// user is told is the windows' affair. A load that fails changes nothing.

#include "data/Backup.h"
#include "data/KeySet.h"
#include "table/Comparison.h"
#include "table/EditSteps.h"
#include "data/LoadLoss.h"
#include "table/RecordTableModel.h"
#include "table/SortState.h"
#include "table/TableFile.h"

#include <QObject>
#include <QUndoStack>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace rw {

class TableDocument : public QObject {
    Q_OBJECT

public:
    // The item columns and no rows, no file.
    explicit TableDocument(QObject* parent = nullptr);

    [[nodiscard]] RecordTableModel& Model() { return m_model; }
    [[nodiscard]] const RecordTable& Table() const { return m_model.Table(); }
    // None until a file has loaded; the table shows the item columns meanwhile.
    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] bool HasFile() const { return m_kind != FileKind::None; }
    // The bare name the last successful load was given, in its letter case.
    [[nodiscard]] const std::string& FileName() const { return m_fileName; }
    [[nodiscard]] const std::filesystem::path& FilePath() const { return m_filePath; }
    [[nodiscard]] const SortState& Sorting() const { return m_sort.state; }
    // The history is not where the last load or save left it.
    [[nodiscard]] bool Modified() const { return !m_history.isClean(); }
    // A sort lies between the state last loaded or saved and now, so that a save would write
    // the records in another order.
    [[nodiscard]] bool SortedSinceSaved() const;
    // What is unsaved is the order of the records alone: every record is as loaded or saved.
    [[nodiscard]] bool OnlyOrderUnsaved() const;
    // A save would write something the last load or save did not: a change in the history, or
    // the records enciphered with a key other than the one they were read or written with; or
    // the opened file lacks changes that a save elsewhere wrote.
    [[nodiscard]] bool HasUnsavedWork() const;
    // Changes were saved elsewhere since the opened file was loaded or last written.
    [[nodiscard]] bool OpenedFileBehind() const { return m_openedFileBehind; }
    // Undo and redo; cleared by a load.
    [[nodiscard]] QUndoStack& History() { return m_history; }
    // What the rows are sorted by, and what the history's sort and import steps report when
    // they order the rows (SortChanged tells the windows).
    [[nodiscard]] const SortedBy& SortOrder() const { return m_sort; }
    void SetSorting(const SortedBy& sort);

    // The keys apply to the next load or save; a table already open is not deciphered again.
    [[nodiscard]] const KeySet& Keys() const { return m_keys; }
    void SetKeys(const KeySet& keys) { m_keys = keys; }

    // Loads path with the kind its bare name says, or the kind given whatever the name; on
    // success the table, the name and the path are the new file's, nothing is unsaved, and
    // Loaded is emitted.
    LoadReport Load(std::filesystem::path path, std::string bareName, FileKind kind = FileKind::None);
    // The very file that was opened, again, as the same kind, wherever the file dialogs have
    // been since.
    LoadReport Reload();
    // When the file was loaded, and what the load found, for 文件信息.
    [[nodiscard]] const DecodeReport& LoadedReport() const { return m_loadedReport; }
    [[nodiscard]] std::int64_t LoadedAtMs() const { return m_loadedAtMs; }

    // With nothing open: an empty table of kind that has no file yet, for records imported
    // into it; saving it asks where.
    void StartWithoutFile(FileKind kind);
    // A file was loaded from, or saved to, a place: Refresh and 保存 have one to go back to.
    [[nodiscard]] bool HasFilePath() const { return !m_filePath.empty(); }

    // Reads another file as the open kind, with its key, and marks what differs from it until
    // the marks are cleared or another file is loaded. A file that cannot be read changes
    // nothing; the report says why.
    DecodeReport CompareWith(const std::filesystem::path& path, std::string shownName);
    void ClearComparison();
    [[nodiscard]] const Comparison* CurrentComparison() const { return m_comparison.get(); }
    // The other file's records (indexes) were taken over into the slots placed: they pair with
    // their originals from now on.
    void PairTakenOver(std::span<const std::size_t> indexes, std::span<const std::uint32_t> placed);

    // The first record's ID when a monster file cannot keep it (it has no room for it), else
    // nothing.
    [[nodiscard]] std::optional<std::int32_t> FirstIdASaveLoses() const;
    // Whether target is the loaded file and another program has changed it since it was
    // loaded or last saved by us. A file that is gone has nothing to lose, nor has a folder
    // now standing in its place (a save cannot replace that); one that can no longer be read
    // counts as changed, since nothing says otherwise.
    [[nodiscard]] bool ChangedOnDisk(const std::filesystem::path& target) const;
    // What a save over target would not write back of what it holds: when target is the
    // loaded file and the load left something out, until a save has written over it.
    [[nodiscard]] std::optional<LoadLoss> LossOfSavingOver(const std::filesystem::path& target) const;

    struct SaveReport {
        BackupReport backup; // of the loaded file, when the save went over it
        WriteReport write;
        // Another program wrote the loaded file after the question whether to write over its
        // changes: nothing was written, the backup neither.
        bool changedOnDisk = false;
        [[nodiscard]] bool Saved() const { return backup.Ok() && write.written; }
    };
    // What a save over the loaded file does when another program has written that file since
    // it was loaded or last saved: Keep writes nothing (no change was seen when the save was
    // asked for, and one came after), Overwrite writes over those changes (they were seen,
    // and the user answered to write over them).
    enum class ChangesOnDisk : std::uint8_t { Keep, Overwrite };
    // Writes every row to target, the opened file or another (Ctrl+S and 保存 alike), in
    // current order and whole, with the kind's key. The first save over the loaded file after a
    // load first keeps the file beside it as BackupPath(), so that the backup holds the file as
    // it was opened (with Keep; with Overwrite, the other program's version the save replaces)
    // whatever later saves write; when that cannot be done, nothing is written. The new file
    // and the backup are written whole first and take their places last, one right after the
    // other, after the check for changes on disk. After a save over the loaded file, what it
    // wrote is what was loaded.
    SaveReport WriteFile(const std::filesystem::path& target, ChangesOnDisk onDisk = ChangesOnDisk::Overwrite);
    // One generation: the loaded file's name followed by ".bak".
    [[nodiscard]] std::filesystem::path BackupPath() const;
    // The name a save proposes: the file name's stem (up to its first dot, or all of it)
    // followed by "2".
    [[nodiscard]] std::string ProposedSaveName() const;

signals:
    // A file was loaded: another kind, other columns, other rows.
    void Loaded();
    // The rows are sorted by column now, or by nothing shown (-1): after a load, or an undo
    // back to it.
    void SortChanged(int column, bool ascending);
    // Something changed what a save would write, or what counts as saved.
    void Changed();
    // A comparison began or ended.
    void ComparisonChanged();
    // The table was written to target: over the opened file, or elsewhere.
    void Saved(const std::filesystem::path& target, bool overOpenedFile);

private:
    [[nodiscard]] bool IsLoadedFile(const std::filesystem::path& target) const;
    // The session of a new table: no history, nothing unsaved, nothing backed up.
    void StartSession(RecordTable table);

    RecordTableModel m_model;
    QUndoStack m_history;
    KeySet m_keys;
    FileKind m_kind = FileKind::None;
    std::string m_fileName;
    std::filesystem::path m_filePath;
    SortedBy m_sort;
    std::uint32_t m_generation = 0; // of the table loaded last
    FileStamp m_loadedStamp;
    DecodeReport m_loadedReport;
    LoadLoss m_loss;            // of the last load, until a save writes over its file
    bool m_backedUp = false;    // since the last load
    bool m_openedFileBehind = false;
    std::uint8_t m_savedKey = 0; // the key of the records as last loaded or saved
    std::int64_t m_loadedAtMs = 0;
    DataFileFingerprint m_loadedFingerprint;
    std::unique_ptr<Comparison> m_comparison;
};

} // namespace rw
