#include "view/ColumnFit.h"

#include "text/GbkCodec.h"
#include "view/RecordList.h"
#include "view/SortHeader.h"

#include <QFontMetrics>
#include <QStyle>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace rw {
namespace {

// The rows of the longest names in bytes, at most count of them. In GBK a wider character
// takes more bytes, so the widest name is among them.
[[nodiscard]] std::vector<int> RowsOfLongestNames(const RecordTable& table, std::size_t count)
{
    using Entry = std::pair<std::size_t, int>; // bytes, row
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> longest;
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::size_t bytes = table.NameBytes(row).size();
        if (longest.size() < count) {
            longest.emplace(bytes, row);
        } else if (bytes > longest.top().first) {
            longest.pop();
            longest.emplace(bytes, row);
        }
    }
    std::vector<int> rows;
    for (; !longest.empty(); longest.pop()) rows.push_back(longest.top().second);
    return rows;
}

// The least and the largest value of the column, counting 0 in.
[[nodiscard]] std::pair<std::int32_t, std::int32_t> ValueRange(const RecordTable& table, int column)
{
    std::int32_t least = 0;
    std::int32_t most = 0;
    for (int row = 0; row < table.RowCount(); ++row) {
        const std::int32_t value = table.Value(row, column);
        least = std::min(least, value);
        most = std::max(most, value);
    }
    return {least, most};
}

} // namespace

int FittingColumnWidth(const RecordList& list, const RecordTable& table, int column)
{
    constexpr std::size_t kNamesMeasured = 32;
    const QFontMetrics metrics = list.fontMetrics();
    // The text's room in a cell: the delegate's margins on both sides and the grid line.
    const int margins = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1) + 2;
    int width = list.Header()->FittingWidth(column);
    if (column == kNameColumn) {
        for (const int row : RowsOfLongestNames(table, kNamesMeasured)) {
            width = std::max(width, metrics.horizontalAdvance(GbkCodec::Instance().Decode(table.NameBytes(row))) + margins);
        }
    } else {
        // Digits of one font may differ in width: every place is counted as the widest.
        int digit = 0;
        for (char c = '0'; c <= '9'; ++c) digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
        const auto places = [](std::int64_t value) { return static_cast<int>(QString::number(value < 0 ? -value : value).size()); };
        const auto [least, most] = ValueRange(table, column);
        const int negative = least < 0 ? metrics.horizontalAdvance(QLatin1Char('-')) + places(least) * digit : 0;
        width = std::max(width, std::max(negative, places(most) * digit) + margins);
    }
    // What Qt finds for the rows in sight, such as the mark beside an added row's ID.
    return std::max(width, static_cast<const QAbstractItemView&>(list).sizeHintForColumn(column));
}

} // namespace rw
