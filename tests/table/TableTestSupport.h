#pragma once

#include "data/DataFile.h"
#include "table/RecordTable.h"
#include "tests/data/TestFiles.h"

#include <vector>

namespace rw::test {

inline Record MakeRecord(FileKind kind, std::int32_t id, std::string_view name = {}, std::int32_t field = 0)
{
    Record record(kind);
    record.SetId(id);
    record.SetName(name);
    record.SetValue(2, field);
    record.Bytes()[SchemaOf(kind).hidden[0].begin] = static_cast<std::uint8_t>(id); // hidden bytes travel too
    return record;
}

inline RecordStore StoreOf(FileKind kind, const std::vector<Record>& records)
{
    RecordStore store(SchemaOf(kind).recordSize);
    for (const Record& record : records) store.Append(record.Bytes());
    return store;
}

// A table of the records as they are, repeated IDs and all: what the table is asked to hold
// here is not what a document's edits would let it.
inline RecordTable TableOf(FileKind kind, const std::vector<Record>& records)
{
    RecordTable table(kind);
    (void)table.AppendRows(StoreOf(kind, records));
    return table;
}

inline std::vector<Record> RecordsOf(FileKind kind, const std::vector<std::int32_t>& ids)
{
    std::vector<Record> records;
    for (std::int32_t id : ids) records.push_back(MakeRecord(kind, id));
    return records;
}

inline RecordTable MakeTable(FileKind kind, const std::vector<std::int32_t>& ids) { return TableOf(kind, RecordsOf(kind, ids)); }

inline std::vector<std::int32_t> Column(const RecordTable& table, int column)
{
    std::vector<std::int32_t> values;
    for (int row = 0; row < table.RowCount(); ++row) values.push_back(table.Value(row, column));
    return values;
}

inline void WriteRecords(const std::filesystem::path& path, FileKind kind, std::uint8_t key,
                         const std::vector<Record>& records)
{
    EncodeFile(path, kind, key, records.size(), [&](std::size_t i, std::span<std::uint8_t> out) {
        std::copy(records[i].Bytes().begin(), records[i].Bytes().end(), out.begin());
    });
}

} // namespace rw::test
