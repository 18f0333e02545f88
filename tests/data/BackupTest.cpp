// The copy kept before a save over a table, on every system: a new regular file under the
// backup's name, or nothing and the reason. (Links and pipes planted under the backup's name
// are tried through the editor.)

#include "data/Backup.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>

namespace rw {
namespace {

using Plant = std::function<void(const std::filesystem::path& table, const std::filesystem::path& copy)>;

TEST(Backup, ANewCopyTakesTheNameOnlyWhereNothingOrARegularFileStands)
{
    const std::pair<Plant, BackupFault> cases[] = {
        {[](auto&, auto&) {}, BackupFault::None},
        {[](auto&, auto& copy) { test::WriteFile(copy, std::string("an older backup")); }, BackupFault::None},
        {[](auto& table, auto& copy) { std::filesystem::create_hard_link(table, copy); }, BackupFault::None},
        {[](auto&, auto& copy) { std::filesystem::create_directory(copy); }, BackupFault::NameTaken},
        {[](auto& table, auto&) { std::filesystem::remove(table); }, BackupFault::None},                 // nothing to keep
        {[](auto& table, auto&) { std::filesystem::remove(table), std::filesystem::create_directory(table); },
         BackupFault::TableUnreadable},
#ifndef _WIN32
        // The table's name a link to the backup's: a copy there would be what the save writes.
        {[](auto& table, auto& copy) { std::filesystem::rename(table, copy), std::filesystem::create_symlink(copy, table); },
         BackupFault::NameIsTable},
        {[](auto& table, auto&) { std::filesystem::remove(table), ::mkfifo(table.c_str(), 0600); }, BackupFault::TableNotAFile},
#endif
    };
    const auto contents = [](const std::filesystem::path& file) {
        return std::filesystem::is_regular_file(file) ? test::ReadFile<std::string>(file) : std::string();
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        test::TempDir dir;
        const std::filesystem::path table = dir / "stditem.dat";
        const std::filesystem::path copy = dir / "stditem.dat.bak";
        test::WriteFile(table, std::string("the table as it was opened"));
#ifndef _WIN32
        ::chmod(table.c_str(), 0600);
#endif
        cases[i].first(table, copy);
        const std::string before = contents(table);
        const BackupReport report = BackUpFile(table, copy);
        EXPECT_EQ(report.fault, cases[i].second) << SystemText(report.error);
        EXPECT_EQ(contents(table), before);
        if (report.Ok() && !report.nothingToKeep) {
            EXPECT_EQ(test::ReadFile<std::string>(copy), before);
            EXPECT_FALSE(StampOf(copy)->SameFileAs(*StampOf(table))) << "a file of its own";
            EXPECT_EQ(StampOf(copy)->permissions, StampOf(table)->permissions);
        }
        if (report.nothingToKeep) {
            EXPECT_FALSE(std::filesystem::exists(copy));
        }
        EXPECT_EQ(report.error == std::errc::is_a_directory, report.fault == BackupFault::TableUnreadable);
    }
}

} // namespace
} // namespace rw
