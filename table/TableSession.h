#pragma once

// What the form keeps about the open file: the table, the file's bare name and full path, its
// kind, the sort state, whether the rows changed since they were loaded or saved, and what the
// file held when it was loaded, to tell whether another program has changed it since. A load
// that fails changes none of it.

#include "table/RecordTable.h"
#include "table/SortState.h"
#include "table/TableFile.h"

#include <filesystem>
#include <string>

namespace rw {

class TableSession {
public:
    // The item columns and no rows, no file.
    TableSession() = default;

    [[nodiscard]] const RecordTable& Table() const { return m_table; }
    // None until a file has loaded; the table shows the item columns meanwhile.
    [[nodiscard]] FileKind Kind() const { return m_kind; }
    [[nodiscard]] bool HasFile() const { return m_kind != FileKind::None; }
    // The bare name the last successful load was given, in its letter case.
    [[nodiscard]] const std::string& FileName() const { return m_fileName; }
    [[nodiscard]] const std::filesystem::path& FilePath() const { return m_filePath; }
    [[nodiscard]] const SortState& Sorting() const { return m_sort; }
    // A put, add or delete since the last load or save; sorting is no change.
    [[nodiscard]] bool Modified() const { return m_modified; }

    // Arguments by value: a refresh passes FileName() and FilePath() themselves.
    LoadReport Load(std::filesystem::path path, std::string bareName, const KeySet& keys);
    // Takes a loaded table as the open file (what Load does once the file was read).
    void Replace(RecordTable table, std::filesystem::path path, std::string bareName, const DecodeReport& read);

    PutResult Put(const Record& record, int row);
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Updates the sort state for a click on a column header and sorts the rows accordingly.
    SortClick ClickHeader(int column);
    // After a successful save to path, which wrote what fingerprint describes: nothing is
    // unsaved, and a save over the loaded file is what was loaded from then on.
    void MarkSaved(const std::filesystem::path& path, const DataFileFingerprint& fingerprint);
    // Whether target is the loaded file and another program has changed it since it was
    // loaded or last saved by us. A file that is gone has nothing to lose; one that can no
    // longer be read counts as changed, since nothing says otherwise.
    [[nodiscard]] bool ChangedOnDisk(const std::filesystem::path& target) const;

private:
    PutResult Changed(PutResult result);
    [[nodiscard]] bool IsLoadedFile(const std::filesystem::path& target) const;

    RecordTable m_table;
    FileKind m_kind = FileKind::None;
    std::string m_fileName;
    std::filesystem::path m_filePath;
    SortState m_sort;
    bool m_modified = false;
    FileStamp m_loadedStamp;
    DataFileFingerprint m_loadedFingerprint;
};

} // namespace rw
