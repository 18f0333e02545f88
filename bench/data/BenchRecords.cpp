#include "bench/data/BenchRecords.h"

#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>
#include <system_error>

namespace rw::bench {

std::vector<std::uint8_t> MakeItemRecords(std::size_t count)
{
    // GBK bytes of a few invented names; a number is added so that names differ.
    static const char* const kNames[] = {
        "\xcb\xc9\xc4\xbe\xb6\xcc\xd5\xc8",         // 松木短杖
        "\xcb\xaa\xce\xc6\xb3\xa4\xbd\xa3",         // 霜纹长剑
        "\xb3\xbf\xc2\xb6\xd2\xa9\xbc\xc1",         // 晨露药剂
        "\xd0\xc7\xc9\xb0\xbd\xe4\xd6\xb8",         // 星砂戒指
        "Practice Sword",
    };
    const RecordSchema& schema = kItemSchema;
    std::vector<std::uint8_t> records(count * schema.recordSize);
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> small(0, 200);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* record = records.data() + i * schema.recordSize;
        StoreInt32(record, static_cast<std::int32_t>(i + 1));
        for (int k = 2; k < schema.ColumnCount(); ++k) StoreInt32(record + schema.Column(k).offset, small(random));
        std::string name = kNames[i % std::size(kNames)];
        name += std::to_string(i % 1000);
        WriteShortName(schema, record, name);
        if (i % 100 == 0) record[4] = static_cast<std::uint8_t>(i); // a few hidden bytes in use
    }
    return records;
}

std::vector<std::uint8_t> MakeEditedItemRecords(std::size_t count)
{
    const RecordSchema& schema = kItemSchema;
    const std::size_t size = schema.recordSize;
    const std::vector<std::uint8_t> original = MakeItemRecords(count);
    static_assert(kItemSchema.Column(29).title == "Price");
    const std::size_t priceOffset = schema.Column(29).offset;
    std::vector<std::uint8_t> records;
    records.reserve(original.size() + count / 1000 * size);
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 1000 == 500) continue;
        const auto from = original.begin() + static_cast<std::ptrdiff_t>(i * size);
        records.insert(records.end(), from, from + static_cast<std::ptrdiff_t>(size));
        if (i % 100 == 7) StoreInt32(records.data() + records.size() - size + priceOffset, 99999);
    }
    for (std::size_t i = 0; i < count / 1000; ++i) {
        records.insert(records.end(), original.begin(), original.begin() + static_cast<std::ptrdiff_t>(size));
        StoreInt32(records.data() + records.size() - size, static_cast<std::int32_t>(count + 1 + i));
    }
    return records;
}

std::filesystem::path ScratchPath(const char* name)
{
    struct ScratchFolder {
        std::filesystem::path path;
        ScratchFolder()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "recwright-bench-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) std::abort();
            path = pattern;
        }
        ~ScratchFolder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const ScratchFolder folder;
    return folder.path / name;
}

} // namespace rw::bench
