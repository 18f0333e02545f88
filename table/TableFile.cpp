#include "table/TableFile.h"

#include <algorithm>
#include <new>

namespace rw {

LoadedTable LoadDataFile(const std::filesystem::path& path, std::string_view bareName, const KeySet& keys)
{
    const FileKind kind = KindFromName(bareName);
    if (kind == FileKind::None) return {};
    return LoadDataFileOfKind(path, kind, keys);
}

LoadedTable LoadDataFileOfKind(const std::filesystem::path& path, FileKind kind, const KeySet& keys)
{
    LoadedTable out;
    out.report.kind = kind;
    DecodedRecords decoded = ReadDataFile(path, out.report.kind, keys.For(out.report.kind));
    out.report.decode = decoded.report;
    if (!decoded.report.loaded) return out;
    try {
        out.table = RecordTable::FromDecoded(std::move(decoded),
                                             [&](std::int32_t id) { out.report.refusedIds.push_back(id); });
    } catch (const std::bad_alloc&) {
        out.table.reset();
        out.report.refusedIds = {};
        out.report.decode.loaded = false;
        out.report.decode.failure = LoadFailure::TooLarge;
    }
    return out;
}

RecordSource RowsOf(const RecordTable& table)
{
    return [&table](std::size_t i, std::span<std::uint8_t> record) {
        const auto bytes = table.RowBytes(static_cast<int>(i));
        std::copy(bytes.begin(), bytes.end(), record.begin());
    };
}

WriteReport SaveDataFile(const std::filesystem::path& path, const RecordTable& table, std::uint8_t key)
{
    return EncodeFile(path, table.Kind(), key, static_cast<std::size_t>(table.RowCount()), RowsOf(table));
}

} // namespace rw
