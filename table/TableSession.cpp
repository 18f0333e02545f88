#include "table/TableSession.h"

namespace rw {

LoadReport TableSession::Load(std::filesystem::path path, std::string bareName, const KeySet& keys,
                              const RefusedIdHandler& onRefused)
{
    LoadedTable loaded = LoadDataFile(path, bareName, keys, onRefused);
    if (loaded.report.Loaded()) Replace(std::move(*loaded.table), std::move(path), std::move(bareName));
    return loaded.report;
}

void TableSession::Replace(RecordTable table, std::filesystem::path path, std::string bareName)
{
    m_table = std::move(table);
    m_kind = m_table.Kind();
    m_filePath = std::move(path);
    m_fileName = std::move(bareName);
    m_modified = false;
}

PutResult TableSession::Put(const Record& record, int row) { return Changed(m_table.PutRecord(record, row)); }

PutResult TableSession::PutByKey(const Record& record, RowKey key)
{
    return Changed(m_table.PutRecordByKey(record, key));
}

bool TableSession::DeleteRow(int row)
{
    const bool deleted = m_table.DeleteRow(row);
    m_modified = m_modified || deleted;
    return deleted;
}

SortClick TableSession::ClickHeader(int column)
{
    const SortClick click = m_sort.Click(column);
    m_table.Sort(click.column, click.ascending);
    return click;
}

PutResult TableSession::Changed(PutResult result)
{
    m_modified = m_modified || result.Accepted();
    return result;
}

} // namespace rw
