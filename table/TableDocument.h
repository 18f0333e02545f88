#pragma once

// The open file: its table (through the model that views show), the keys, its name, full path
// and kind, the sort state, whether anything is unsaved, and what the file held when it was
// loaded, to tell whether another program has changed it since. Every change to the table
// passes through here. It answers with outcomes; what the user is told is the windows' affair.
// A load that fails changes nothing.

#include "data/KeySet.h"
#include "table/RecordTableModel.h"
#include "table/SortState.h"
#include "table/TableFile.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <optional>
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
    [[nodiscard]] const SortState& Sorting() const { return m_sort; }
    // A put, add or delete since the last load or save; sorting is no change.
    [[nodiscard]] bool Modified() const { return m_modified; }

    // The keys apply to the next load or save; a table already open is not deciphered again.
    [[nodiscard]] const KeySet& Keys() const { return m_keys; }
    void SetKeys(const KeySet& keys) { m_keys = keys; }

    // Loads path with the kind its bare name says; on success the table, the name and the
    // path are the new file's, nothing is unsaved, and Loaded is emitted.
    LoadReport Load(std::filesystem::path path, std::string bareName);
    // The very file that was opened, again, wherever the file dialogs have been since.
    LoadReport Reload();

    PutResult Put(const Record& record, int row);
    // Into the row that holds key now, wherever sorting or deleting moved it.
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Updates the sort state for a click on a column header and sorts the rows accordingly.
    SortClick ClickHeader(int column);

    // The first record's ID when a monster file cannot keep it (it has no room for it), else
    // nothing.
    [[nodiscard]] std::optional<std::int32_t> FirstIdASaveLoses() const;
    // Whether target is the loaded file and another program has changed it since it was
    // loaded or last saved by us. A file that is gone has nothing to lose; one that can no
    // longer be read counts as changed, since nothing says otherwise.
    [[nodiscard]] bool ChangedOnDisk(const std::filesystem::path& target) const;
    // Writes every row, in current order and whole, with the kind's key. After a save over
    // the loaded file, what it wrote is what was loaded.
    WriteReport SaveAs(const std::filesystem::path& target);
    // The name a save proposes: the file name's stem followed by "2".
    [[nodiscard]] std::string ProposedSaveName() const;

signals:
    // A file was loaded: another kind, other columns, other rows.
    void Loaded();

private:
    [[nodiscard]] bool IsLoadedFile(const std::filesystem::path& target) const;

    RecordTableModel m_model;
    KeySet m_keys;
    FileKind m_kind = FileKind::None;
    std::string m_fileName;
    std::filesystem::path m_filePath;
    SortState m_sort;
    bool m_modified = false;
    std::uint32_t m_generation = 0; // of the table loaded last
    FileStamp m_loadedStamp;
    DataFileFingerprint m_loadedFingerprint;
};

} // namespace rw
