// Writes one of the workbooks made to cost a reader time or memory, for scripts/bench-hostile-sheets.sh
// to time recwright-cli's import on: make_hostile_workbook token|nesting|sheets SIZE OUT.xlsx.

#include "tests/sheet/WorkbookBytes.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_hostile_workbook token|nesting|sheets SIZE OUT.xlsx\n");
        return 2;
    }
    const std::string shape = argv[1];
    const auto size = static_cast<std::size_t>(std::strtoull(argv[2], nullptr, 10));
    std::vector<std::uint8_t> bytes;
    if (shape == "token") bytes = rw::test::WorkbookWithLongToken(size);
    else if (shape == "nesting") bytes = rw::test::WorkbookWithNesting(size);
    else if (shape == "sheets") bytes = rw::test::WorkbookWithSheets(size);
    else return 2;
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
