#include "query/ColumnTitles.h"

#include "query/NearestName.h"

#include <algorithm>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

int ColumnTitled(const RecordSchema& schema, std::string_view title)
{
    for (int k = 0; k < schema.ColumnCount(); ++k) {
        const std::string_view known = schema.Column(k).title;
        if (known.size() == title.size() &&
            std::equal(known.begin(), known.end(), title.begin(), [](char x, char y) { return Lower(x) == Lower(y); })) {
            return k;
        }
    }
    return -1;
}

std::string_view NearestColumnTitle(const RecordSchema& schema, std::string_view title)
{
    std::vector<std::string_view> titles;
    for (const ColumnSpec& column : schema.columns) titles.push_back(column.title);
    return NearestName(title, titles).value_or(std::string_view());
}

} // namespace rw
