// Writes a generated item file for the command-line timings: make_item_file COUNT PATH, or
// with "edited" after them the new version of it that diff is timed on.

#include "bench/data/BenchRecords.h"
#include "data/DataFile.h"
#include "data/KeySet.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv)
{
    const bool edited = argc == 4 && std::string_view(argv[3]) == "edited";
    if (argc != 3 && !edited) {
        std::fputs("usage: make_item_file COUNT PATH [edited]\n", stderr);
        return 2;
    }
    const auto count = static_cast<std::size_t>(std::strtoull(argv[1], nullptr, 10));
    const std::vector<std::uint8_t> records =
        edited ? rw::bench::MakeEditedItemRecords(count) : rw::bench::MakeItemRecords(count);
    const std::size_t recordCount = records.size() / rw::kItemSchema.recordSize;
    const auto written = rw::EncodeFile(argv[2], rw::FileKind::Item, rw::KeySet{}.For(rw::FileKind::Item), recordCount,
                                        [&](std::size_t i, std::span<std::uint8_t> record) {
                                            const std::uint8_t* from = records.data() + i * record.size();
                                            std::copy(from, from + record.size(), record.begin());
                                        });
    if (!written.written) {
        std::fprintf(stderr, "%s: %s\n", argv[2], written.error.c_str());
        return 1;
    }
    return 0;
}
