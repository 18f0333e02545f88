#include "plot/PlotSample.h"

#include <string_view>

namespace rw {
namespace {

[[nodiscard]] std::vector<std::int32_t> ColumnValues(const RecordTable& table, const std::vector<int>& rows, int column)
{
    std::vector<std::int32_t> values(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) values[i] = table.Value(rows[i], column);
    return values;
}

} // namespace

PlotSample SampleOf(const RecordTable& table, std::vector<int> rows, int xColumn, int yColumn)
{
    PlotSample sample;
    sample.rows = std::move(rows);
    if (xColumn >= 0) sample.x = ColumnValues(table, sample.rows, xColumn);
    sample.y = ColumnValues(table, sample.rows, yColumn);
    return sample;
}

bool IsPlottable(const RecordSchema& schema, int column)
{
    return column >= 0 && column < schema.ColumnCount() && schema.Column(column).IsNumeric();
}

int DefaultXColumn(const RecordSchema& schema)
{
    const std::string_view level = schema.kind == FileKind::Item      ? "NeedLevel"
                                   : schema.kind == FileKind::Monster ? "Level"
                                                                      : "";
    for (int column = 0; column < schema.ColumnCount(); ++column) {
        if (!level.empty() && schema.Column(column).title == level) return column;
    }
    return kIdColumn;
}

} // namespace rw
