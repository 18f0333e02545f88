// The system layer's promises that hold on every system: names kept as given, a save that
// replaces a file whole, folders refused, buffers from the system's pages; on Windows also a
// file that another program holds.

#include "data/DataFile.h"
#include "system/PageBuffer.h"
#include "system/Platform.h"
#include "data/RecordBytes.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include "tests/WindowsApi.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace rw {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

RecordSource FromIds(std::vector<std::int32_t> ids)
{
    return [ids = std::move(ids)](std::size_t i, std::span<std::uint8_t> r) { StoreInt32(r.data(), ids[i]); };
}

// The names in a folder as UTF-8, whatever the system calls them.
std::set<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(Utf8FromPath(entry.path().filename()));
    return names;
}

// Names as a user gives them: Chinese, in a Chinese folder, or relative to the current folder.
// A new file, then the same name replaced.
TEST(Platform, NamesAreKeptAsGiven)
{
    TempDir dir;
    const std::filesystem::path folder = dir.Path() / PathFromUtf8("数据 文件夹");
    std::filesystem::create_directories(folder / "sub");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    struct Case { std::string name; FileKind kind; bool relative = false; };
    const Case cases[] = {{"物品表.dat", FileKind::Item}, {"技能 magic.dat", FileKind::Magic}, {"怪物（新）.dat", FileKind::Monster},
                          {"stditem.dat", FileKind::Item, true}, {"sub/stditem.dat", FileKind::Item, true}, {"./sub/../stditem.dat", FileKind::Item, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = c.relative ? PathFromUtf8(c.name) : folder / PathFromUtf8(c.name);
        if (!c.relative) {
            EXPECT_EQ(Utf8FromPath(path.filename()), c.name);
        }
        for (const std::vector<std::int32_t>& ids : {std::vector<std::int32_t>{1, 2, 3}, std::vector<std::int32_t>{7, 9}}) {
            const WriteReport written = EncodeFile(path, c.kind, 0x5A, ids.size(), FromIds(ids));
            ASSERT_TRUE(written.written) << written.error;
            const DecodedRecords read = ReadDataFile(folder / path, c.kind, 0x5A); // where the name leads from the folder
            ASSERT_TRUE(read.report.loaded) << SystemText(read.report.error);
            ASSERT_EQ(read.Count(), ids.size());
            EXPECT_EQ(LoadInt32(read.RecordAt(ids.size() - 1).data()), ids.back());
            const std::optional<FileStamp> stamp = StampOf(path);
            ASSERT_TRUE(stamp);
            EXPECT_EQ(stamp->size, std::filesystem::file_size(path));
        }
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(NamesIn(folder), (std::set<std::string>{"物品表.dat", "技能 magic.dat", "怪物（新）.dat", "stditem.dat", "sub"}));
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"数据 文件夹"}));
}

// Someone reading the file meanwhile is not in the way and reads the old bytes to the end; the
// new bytes take the name only at Commit; an abandoned save leaves the old file and nothing
// beside it.
TEST(Platform, ASaveOverAnExistingFileReplacesItWhole)
{
    TempDir dir;
    const std::filesystem::path target = dir / "stditem.dat";
    const std::string old = "old bytes";
    const std::string replacement = "new bytes, more of them than before";
    WriteFile(target, old);
    auto reader = std::make_optional<InputFile>(target, InputFile::Accept::RegularFile);
    ASSERT_TRUE(reader->IsOpen()) << SystemText(reader->Error());
    {
        AtomicFile abandoned(target);
        ASSERT_TRUE(abandoned.Ok()) << abandoned.Error();
        EXPECT_TRUE(abandoned.Write(std::string_view("never seen")));
    }
    EXPECT_EQ(ReadFile<std::string>(target), old);
    EXPECT_EQ(NamesIn(dir.Path()).size(), 1u);

    AtomicFile file(target);
    ASSERT_TRUE(file.Write(std::string_view(replacement))) << file.Error();
    EXPECT_EQ(ReadFile<std::string>(target), old);
    ASSERT_TRUE(file.Commit()) << file.Error();
    EXPECT_EQ(ReadFile<std::string>(target), replacement);

    std::array<std::uint8_t, 64> seen{};
    const std::optional<std::size_t> got = reader->ReadAt(seen, 0);
    ASSERT_TRUE(got) << SystemText(reader->Error());
    EXPECT_EQ(std::string(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(*got)), old);
    // Where a file open elsewhere keeps its name until it is closed (Windows before POSIX
    // deletion), the old one may show under another name until then.
    reader.reset();
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"stditem.dat"}));
}

// A folder is no file to read, and a save over it fails, with the system's reason told apart,
// leaving the folder and nothing beside it.
TEST(Platform, FoldersAreNoFileToReadOrReplace)
{
    TempDir dir;
    const std::filesystem::path folder = dir / "stditem.dat";
    std::filesystem::create_directories(folder / "inner");
    for (const InputFile::Accept accept : {InputFile::Accept::RegularFile, InputFile::Accept::AnyReadable}) {
        const InputFile in(folder, accept);
        EXPECT_FALSE(in.IsOpen());
        EXPECT_TRUE(in.IsNotRegularFile());
    }
    const InputFile missing(dir / "missing.dat", InputFile::Accept::RegularFile);
    EXPECT_FALSE(missing.IsOpen() || missing.IsNotRegularFile());
    EXPECT_EQ(KindOfError(missing.Error()), ErrorKind::NoSuchFile);
    EXPECT_FALSE(SystemText(missing.Error()).empty());

    const WriteReport written = EncodeFile(folder, FileKind::Item, 1, 1, FromIds({1}));
    EXPECT_FALSE(written.written);
    EXPECT_FALSE(written.error.empty());
    {
        AtomicFile overFolder(folder);
        EXPECT_FALSE(overFolder.Commit());
        EXPECT_EQ(KindOfError(overFolder.ErrorCode()), ErrorKind::IsAFolder);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inner"));
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"stditem.dat"}));
}

// The common reasons are told apart whatever numbers the system has for them, so that the
// program can say them in its own words; any other reason is Other.
TEST(Platform, CommonReasonsAreToldApartWhateverTheSystemCallsThem)
{
    struct Case { std::error_code error; ErrorKind kind; };
    const auto portable = [](std::errc code) { return std::make_error_code(code); };
    const auto own = [](int code) { return std::error_code(code, std::system_category()); };
    const Case cases[] = {
        {portable(std::errc::no_such_file_or_directory), ErrorKind::NoSuchFile},
        {portable(std::errc::permission_denied), ErrorKind::PermissionDenied},
        {portable(std::errc::no_space_on_device), ErrorKind::DiskFull},   {portable(std::errc::is_a_directory), ErrorKind::IsAFolder},
        {portable(std::errc::read_only_file_system), ErrorKind::ReadOnlyFileSystem},
        {portable(std::errc::file_too_large), ErrorKind::FileTooLarge},   {portable(std::errc::invalid_argument), ErrorKind::Other},
        {portable(std::errc::too_many_symbolic_link_levels), ErrorKind::TooManyLinks},
        {portable(std::errc::device_or_resource_busy), ErrorKind::InUse},
#ifdef _WIN32
        {own(ERROR_FILE_NOT_FOUND), ErrorKind::NoSuchFile},        {own(ERROR_PATH_NOT_FOUND), ErrorKind::NoSuchFile},
        {own(ERROR_ACCESS_DENIED), ErrorKind::PermissionDenied},   {own(ERROR_DISK_FULL), ErrorKind::DiskFull},
        {own(ERROR_HANDLE_DISK_FULL), ErrorKind::DiskFull},        {own(ERROR_WRITE_PROTECT), ErrorKind::ReadOnlyFileSystem},
        {own(ERROR_FILE_TOO_LARGE), ErrorKind::FileTooLarge},      {own(ERROR_CANT_RESOLVE_FILENAME), ErrorKind::TooManyLinks},
        {own(ERROR_SHARING_VIOLATION), ErrorKind::InUse},          {own(ERROR_LOCK_VIOLATION), ErrorKind::InUse},
        {own(ERROR_INVALID_PARAMETER), ErrorKind::Other},
#else
        // The system's own numbers are the portable codes' here: one of those, and those beyond them.
        {own(ENOENT), ErrorKind::NoSuchFile},      {own(EPERM), ErrorKind::PermissionDenied}, {own(EDQUOT), ErrorKind::DiskFull},
        {own(EMLINK), ErrorKind::TooManyLinks},    {own(ETXTBSY), ErrorKind::InUse},          {own(EINVAL), ErrorKind::Other},
#endif
    };
    for (const Case& c : cases) EXPECT_EQ(KindOfError(c.error), c.kind) << c.error.category().name() << " " << c.error.value();
}

// Below and from the size at which the memory comes from the system's pages, a buffer starts
// zero, keeps its bytes through a growth past its capacity, zeroes what comes back into its
// size after a shrink, and moves without copying.
TEST(PageBuffer, KeepsItsBytesAndZeroesWhatIsNew)
{
    struct Case { std::size_t size; std::size_t shrinkTo; std::size_t growTo; };
    constexpr std::size_t kLarge = PageBuffer::kLargeBytes;
    const Case cases[] = {{0, 0, 10}, {100, 10, 50}, {kLarge - 1, 1000, kLarge + 4096}, {kLarge, kLarge / 2, kLarge}, {kLarge + 1, 3, 3 * kLarge + 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        PageBuffer buffer(c.size);
        ASSERT_EQ(buffer.size(), c.size);
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }));
        for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i % 251 + 1);

        buffer.resize(c.shrinkTo);
        EXPECT_EQ(buffer.capacity(), c.size);
        buffer.resize(c.growTo);
        ASSERT_EQ(buffer.size(), c.growTo);
        EXPECT_GE(buffer.capacity(), c.growTo);
        for (std::size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], i < c.shrinkTo ? i % 251 + 1 : 0) << "byte " << i;

        const std::uint8_t* bytes = buffer.data();
        PageBuffer moved = std::move(buffer);
        EXPECT_EQ(moved.data(), bytes);
        EXPECT_TRUE(buffer.empty() && buffer.capacity() == 0); // NOLINT(bugprone-use-after-move)
        EXPECT_TRUE(moved == PageBuffer::CopyOf(moved));
        moved.Release();
        EXPECT_TRUE(moved.empty() && moved.data() == nullptr);
    }
}

#ifdef _WIN32
// A program that holds the file open without letting it be replaced, as some editors and
// spreadsheets hold what they show: the save fails with the system's reason, and the file
// stays as it was with nothing left beside it.
TEST(Platform, ATargetHeldOpenWithoutSharingIsLeftAsItWas)
{
    TempDir dir;
    const std::filesystem::path target = dir.Path() / PathFromUtf8("物品表.dat");
    const std::string old = "old bytes";
    WriteFile(target, old);
    const std::string sharingViolation = SystemText({ERROR_SHARING_VIOLATION, std::system_category()});
    for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE(share);
        const HANDLE holder = ::CreateFileW(target.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        const WriteReport written = EncodeFile(target, FileKind::Item, 1, 1, FromIds({1}));
        ::CloseHandle(holder);
        EXPECT_FALSE(written.written);
        EXPECT_EQ(written.error, sharingViolation);
        EXPECT_EQ(ReadFile<std::string>(target), old);
        EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"物品表.dat"}));
    }
    EXPECT_TRUE(EncodeFile(target, FileKind::Item, 1, 1, FromIds({1})).written);
}
#endif

} // namespace
} // namespace rw
