#include "data/DataFile.h"
#include "data/UniqueFd.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace rw {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::vector<std::uint8_t> CountBytes(std::int32_t count)
{
    std::vector<std::uint8_t> bytes(4);
    StoreInt32(bytes.data(), count);
    return bytes;
}

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

RecordSource FromIds(const std::vector<std::int32_t>& ids)
{
    return [ids](std::size_t i, std::span<std::uint8_t> r) { StoreInt32(r.data(), ids[i]); };
}

TEST(Codec, ItemWithKeyZeroGivesStoredBytes)
{
    std::vector<std::uint8_t> body(368);
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7);
    const auto decoded = DecodeBytes(Concat(CountBytes(2), body), FileKind::Item, 0);
    ASSERT_TRUE(decoded.report.loaded);
    ASSERT_EQ(decoded.Count(), 2u);
    EXPECT_EQ(decoded.bytes, body);
    EXPECT_FALSE(decoded.report.Truncated());
}

TEST(Codec, MonsterCountStandsInForFirstId)
{
    std::vector<std::uint8_t> file = Concat(CountBytes(1), std::vector<std::uint8_t>(248, 0x11));
    const auto decoded = DecodeBytes(file, FileKind::Monster, 0x22);
    ASSERT_EQ(decoded.Count(), 1u);
    EXPECT_EQ(LoadInt32(decoded.RecordAt(0).data()), 0);
    EXPECT_EQ(decoded.RecordAt(0)[4], 0x11 ^ 0x22);
    EXPECT_EQ(decoded.RecordAt(0)[251], 0x11 ^ 0x22);

    const auto image = EncodeBytes(FileKind::Monster, 241, 2, FromIds({5, 6}));
    ASSERT_EQ(image.size(), 504u);
    const auto back = DecodeBytes(image, FileKind::Monster, 241);
    ASSERT_EQ(back.Count(), 2u);
    EXPECT_EQ(LoadInt32(back.RecordAt(0).data()), 0);
    EXPECT_EQ(LoadInt32(back.RecordAt(1).data()), 6);
}

TEST(Codec, EmptyTableWritesCountZeroThatDoesNotLoad)
{
    for (const FileKind kind : kAllKinds) {
        const auto image = EncodeBytes(kind, 9, 0, FromIds({}));
        EXPECT_EQ(image, CountBytes(0));
        EXPECT_FALSE(DecodeBytes(image, kind, 9).report.loaded);
    }
}

// A short file hands over every record it holds at least one byte of, zero-filled after
// deciphering; the header's count is reported beside the records present.
TEST(Codec, TruncatedFilesHandOverWhatTheyHold)
{
    struct Case {
        FileKind kind;
        std::int32_t count;
        std::size_t bodyBytes; // after the count (monster: after the count's 4 bytes)
        std::size_t present;
    };
    const Case cases[] = {
        {FileKind::Item, 3, 184 + 1, 2},   {FileKind::Item, 3, 184, 1},      {FileKind::Item, 3, 0, 0},
        {FileKind::Magic, 2, 239, 2},      {FileKind::Monster, 2, 248, 1},   {FileKind::Monster, 2, 249, 2},
        {FileKind::Monster, 5, 0, 0},      {FileKind::Item, 1, 500, 1},
    };
    for (const Case& c : cases) {
        const auto decoded = DecodeBytes(Concat(CountBytes(c.count), std::vector<std::uint8_t>(c.bodyBytes, 0x55)), c.kind, 0x0F);
        const std::size_t size = SchemaOf(c.kind).recordSize;
        ASSERT_TRUE(decoded.report.loaded);
        EXPECT_EQ(decoded.report.announcedCount, c.count);
        ASSERT_EQ(decoded.Count(), c.present) << c.bodyBytes;
        EXPECT_EQ(decoded.report.Truncated(), c.present < static_cast<std::size_t>(c.count));
        const std::size_t stored = c.bodyBytes + (c.kind == FileKind::Monster ? 4 : 0);
        for (std::size_t b = stored; b < c.present * size; ++b) ASSERT_EQ(decoded.bytes[b], 0) << "byte " << b;
        if (stored < c.present * size && stored > 4) {
            EXPECT_EQ(decoded.bytes[stored - 1], 0x55 ^ 0x0F);
        }
    }
}

TEST(Codec, HugeCountOverSmallFileIsFastAndSmall)
{
    TempDir dir;
    const auto path = dir / "stditem.dat";
    WriteFileBytes(path, Concat(CountBytes(2147483647), std::vector<std::uint8_t>(1020, 1)));
    const auto start = std::chrono::steady_clock::now();
    const auto decoded = ReadDataFile(path, FileKind::Item, 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(decoded.report.loaded);
    EXPECT_EQ(decoded.report.announcedCount, 2147483647);
    EXPECT_EQ(decoded.Count(), 6u); // 1020 bytes: five whole records and part of a sixth
    EXPECT_LE(decoded.bytes.capacity(), 6u * 184);
    EXPECT_LT(elapsed, std::chrono::seconds(1)); // a guard against reading 395 GB, not a timing
    EXPECT_EQ(DecodeBytes(ReadFileBytes(path), FileKind::Item, 1).bytes, decoded.bytes);
}

TEST(Codec, ShortAndBadHeaders)
{
    TempDir dir;
    struct Case {
        const char* label;
        std::vector<std::uint8_t> bytes;
        bool loaded; // a positive count over no records loads, empty and truncated
    };
    const Case cases[] = {
        {"empty", {}, false},
        {"one byte", {5}, true},
        {"two bytes", {0, 1}, true},
        {"three bytes zero", {0, 0, 0}, false},
        {"count zero", CountBytes(0), false},
        {"negative count", Concat(CountBytes(-1), std::vector<std::uint8_t>(300, 1)), false},
        {"most negative count", CountBytes(-2147483647 - 1), false},
    };
    for (const FileKind kind : kAllKinds) {
        for (const Case& c : cases) {
            const auto path = dir / "case.dat";
            WriteFileBytes(path, c.bytes);
            const auto decoded = ReadDataFile(path, kind, 3);
            EXPECT_EQ(decoded.report.loaded, c.loaded) << c.label;
            EXPECT_EQ(decoded.Count(), 0u) << c.label;
            EXPECT_EQ(decoded.report.Truncated(), c.loaded) << c.label;
            EXPECT_EQ(DecodeBytes(c.bytes, kind, 3).report.loaded, c.loaded) << c.label;
        }
    }

    const auto missing = ReadDataFile(dir / "missing.dat", FileKind::Item, 0);
    EXPECT_FALSE(missing.report.loaded);
    EXPECT_FALSE(missing.report.error.empty());
    EXPECT_FALSE(ReadDataFile(dir.Path(), FileKind::Item, 0).report.loaded) << "a directory";
    EXPECT_FALSE(ReadDataFile("/dev/null", FileKind::Item, 0).report.loaded) << "not a regular file";
    int consumed = 0;
    EXPECT_FALSE(DecodeFile(dir / "missing.dat", FileKind::Item, 0, [&](const Record&) { ++consumed; }).loaded);
    EXPECT_EQ(consumed, 0);
}

TEST(Codec, UnreadableFileIsNotLoaded)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
    TempDir dir;
    const auto path = dir / "stditem.dat";
    WriteFileBytes(path, Concat(CountBytes(1), std::vector<std::uint8_t>(184)));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_FALSE(ReadDataFile(path, FileKind::Item, 0).report.loaded);
}

class AtomicSave : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_target = m_dir / "stditem.dat";
    std::vector<std::uint8_t> m_old = Concat(CountBytes(1), std::vector<std::uint8_t>(184, 0xAB));

    void SetUp() override { WriteFileBytes(m_target, m_old); }
    [[nodiscard]] std::size_t EntriesInDir() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}));
    }
};

TEST_F(AtomicSave, ReplacesTargetWhole)
{
    const auto report = EncodeFile(m_target, FileKind::Item, 173, 3, FromIds({1, 2, 3}));
    ASSERT_TRUE(report.written) << report.error;
    EXPECT_EQ(ReadFileBytes(m_target), EncodeBytes(FileKind::Item, 173, 3, FromIds({1, 2, 3})));
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicSave, FailuresLeaveOldFileAndNoTemporary)
{
    // Paths that cannot be written even by root: a missing folder, a folder that is a file.
    for (const auto& path : {m_dir / "no-such-folder" / "stditem.dat", m_target / "stditem.dat"}) {
        const auto report = EncodeFile(path, FileKind::Item, 173, 1, FromIds({1}));
        EXPECT_FALSE(report.written) << path;
        EXPECT_FALSE(report.error.empty());
    }
    // A folder standing where the file should go: the rename fails after everything was written.
    const auto folderTarget = m_dir / "magic.dat";
    std::filesystem::create_directories(folderTarget / "inner");
    EXPECT_FALSE(EncodeFile(folderTarget, FileKind::Magic, 1, 1, FromIds({1})).written);
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget / "inner"));
    EXPECT_EQ(ReadFileBytes(m_target), m_old);
    EXPECT_EQ(EntriesInDir(), 2u) << "a temporary file was left behind";
}

TEST_F(AtomicSave, WriteErrorMidwayLeavesOldFile)
{
    // A file size limit makes write() fail part way, as a full disk would, even for root.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto report = EncodeFile(m_target, FileKind::Item, 173, 10000, FromIds(std::vector<std::int32_t>(10000, 7)));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(report.written);
    EXPECT_FALSE(report.error.empty());
    EXPECT_EQ(ReadFileBytes(m_target), m_old);
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(AtomicSave, PipeOrDeviceIsWrittenIntoNotReplaced)
{
    const auto fifo = m_dir / "stditem.pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const UniqueFd reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));
    const auto report = EncodeFile(fifo, FileKind::Item, 173, 3, FromIds({1, 2, 3}));
    EXPECT_TRUE(report.written) << report.error;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::vector<std::uint8_t> got(4096);
    const ssize_t n = ::read(reader.Get(), got.data(), got.size());
    got.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(got, EncodeBytes(FileKind::Item, 173, 3, FromIds({1, 2, 3})));
}

TEST_F(AtomicSave, ReadOnlyFolderRefusesForNonRoot)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(EncodeFile(m_target, FileKind::Item, 173, 1, FromIds({1})).written);
    EXPECT_EQ(ReadFileBytes(m_target), m_old);
}

} // namespace
} // namespace rw
