#pragma once

// What the form keeps about the open file: the table, the file's bare name and full path, its
// kind, the sort state, and whether the rows changed since they were loaded or saved. A load
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
    LoadReport Load(std::filesystem::path path, std::string bareName, const KeySet& keys,
                    const RefusedIdHandler& onRefused);
    // Takes a loaded table as the open file (what Load does once the file was read).
    void Replace(RecordTable table, std::filesystem::path path, std::string bareName);

    PutResult Put(const Record& record, int row);
    PutResult PutByKey(const Record& record, RowKey key);
    bool DeleteRow(int row);
    // Updates the sort state for a click on a column header and sorts the rows accordingly.
    SortClick ClickHeader(int column);
    // After a successful save.
    void MarkSaved() { m_modified = false; }

private:
    PutResult Changed(PutResult result);

    RecordTable m_table;
    FileKind m_kind = FileKind::None;
    std::string m_fileName;
    std::filesystem::path m_filePath;
    SortState m_sort;
    bool m_modified = false;
};

} // namespace rw
