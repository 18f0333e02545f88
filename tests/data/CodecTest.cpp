#include "data/DataFile.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <future>
#include <tuple>

namespace rw {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

// The count, then n bytes that differ from their neighbours, so that a shifted read shows.
Bytes FileImage(std::int32_t count, std::size_t n)
{
    Bytes bytes(4 + n);
    StoreInt32(bytes.data(), count);
    for (std::size_t i = 0; i < n; ++i) bytes[4 + i] = static_cast<std::uint8_t>(i * 7 + 1);
    return bytes;
}

RecordSource FromIds(const std::vector<std::int32_t>& ids)
{
    return [ids](std::size_t i, std::span<std::uint8_t> r) { StoreInt32(r.data(), ids[i]); };
}

// Records follow the count, every byte XORed with the key; in a monster file the count stands
// where record 0's ID would be. A short file hands over every record it holds at least one
// byte of, zero-filled after deciphering, and reports the header's count beside the records
// present. Only what the file holds is read and allocated, whatever the count. Bytes after the
// records the count announces are counted, so the user can be told they will not be saved.
TEST(Codec, DecodesWhatTheFileHoldsWhateverItsCount)
{
    struct Case { FileKind kind; std::int32_t count; std::size_t bodyBytes; std::size_t present; std::uint64_t trailing; };
    const Case cases[] = {
        {FileKind::Item, 3, 184 + 1, 2, 0},  {FileKind::Item, 3, 184, 1, 0},          {FileKind::Item, 3, 0, 0, 0},
        {FileKind::Magic, 2, 239, 2, 0},     {FileKind::Monster, 2, 248, 1, 0},       {FileKind::Monster, 2, 249, 2, 0},
        {FileKind::Monster, 5, 0, 0, 0},     {FileKind::Monster, 2, 500, 2, 0},       {FileKind::Item, 1, 500, 1, 316},
        {FileKind::Item, 2147483647, 1020, 6, 0}, {FileKind::Item, 5, 38 * 184, 5, 33 * 184}, {FileKind::Item, 2, 2 * 184, 2, 0},
        {FileKind::Item, 2, 100, 1, 0},      {FileKind::Magic, 1, 121, 1, 1},        {FileKind::Monster, 1, 248 + 7, 1, 7},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.count << " " << c.bodyBytes);
        const Bytes file = FileImage(c.count, c.bodyBytes);
        const auto decoded = DecodeBytes(file, c.kind, 0x0F);
        ASSERT_EQ(std::make_tuple(decoded.report.loaded, decoded.report.announcedCount, decoded.Count(), decoded.report.Truncated(), decoded.report.trailingBytes),
                  std::make_tuple(true, c.count, c.present, c.present < static_cast<std::size_t>(c.count), c.trailing));
        const std::size_t skip = c.kind == FileKind::Monster ? 4 : 0;
        for (std::size_t b = 0; b < decoded.bytes.size(); ++b) {
            const std::size_t at = 4 + b - skip;
            ASSERT_EQ(decoded.bytes[b], b < skip ? 0 : at < file.size() ? file[at] ^ 0x0F : 0) << "byte " << b;
        }
        WriteFile(dir / "case.dat", file);
        // The capacity, not the header's count, is what keeps a lying header from asking for 395 GB.
        const auto read = ReadDataFile(dir / "case.dat", c.kind, 0x0F);
        EXPECT_EQ(std::make_tuple(read.report.loaded, read.report.announcedCount, read.report.trailingBytes), std::make_tuple(true, c.count, c.trailing));
        EXPECT_EQ(read.bytes, decoded.bytes);
        EXPECT_LE(read.bytes.capacity(), c.present * SchemaOf(c.kind).recordSize);

        // Read a piece at a time, the same records and the same report.
        for (const std::size_t pieceRecords : {1, 2, 7}) {
            DataFileReader reader(dir / "case.dat", c.kind, 0x0F);
            Bytes pieces;
            Bytes piece(pieceRecords * SchemaOf(c.kind).recordSize + 3);
            for (std::optional<std::size_t> n; (n = reader.ReadRecords(piece)) && *n > 0;) {
                pieces.insert(pieces.end(), piece.begin(), piece.begin() + *n * SchemaOf(c.kind).recordSize);
            }
            EXPECT_TRUE(read.bytes == pieces) << pieceRecords << " a piece";
            EXPECT_EQ(std::make_pair(reader.Report().recordsPresent, reader.Report().contentHash), std::make_pair(c.present, read.report.contentHash));
        }
    }
}

// Each way a file fails to load says which it was; none waits, none allocates what the file
// only claims to hold.
TEST(Codec, FilesThatDoNotLoadSayWhy)
{
    TempDir dir;
    const auto file = [&](const char* name, const Bytes& bytes) { return WriteFile(dir / name, bytes), dir / name; };
    ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.dat");
    std::filesystem::create_directory(dir / "folder.dat");
    struct Case { std::filesystem::path path; LoadFailure failure; std::int32_t count = 0; std::uint64_t memory = MemoryLimit(); };
    const Case cases[] = {
        {file("empty", {}), LoadFailure::NoRecords},         {file("three bytes zero", {0, 0, 0}), LoadFailure::NoRecords},
        {file("count zero", FileImage(0, 0)), LoadFailure::NoRecords},
        {file("negative count", FileImage(-1, 300)), LoadFailure::NoRecords, -1},
        {file("most negative", FileImage(-2147483647 - 1, 0)), LoadFailure::NoRecords, -2147483647 - 1},
        {file("over the limit", FileImage(4, 4 * 252)), LoadFailure::TooLarge, 4, 300},
        {dir / "missing.dat", LoadFailure::CannotRead},      {dir / "folder.dat", LoadFailure::NotRegularFile},
        {"/dev/null", LoadFailure::NotRegularFile},          {dir / "zero.dat", LoadFailure::NotRegularFile},
        {dir / "pipe.dat", LoadFailure::NotRegularFile},
    };
    for (const FileKind kind : kAllKinds) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << int(kind) << " " << c.path);
            // A pipe opened without O_NONBLOCK would wait for a writer for ever; its writer
            // opened here ends such a wait, so the test fails instead of hanging.
            auto read = std::async(std::launch::async, [&] { return ReadDataFile(c.path, kind, 3, c.memory); });
            if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                ADD_FAILURE() << "waited on a pipe";
                ::close(::open(c.path.c_str(), O_WRONLY | O_NONBLOCK));
            }
            const DecodedRecords decoded = read.get();
            EXPECT_EQ(std::make_tuple(decoded.report.loaded, decoded.report.failure, decoded.report.announcedCount, decoded.Count(), decoded.bytes.capacity()),
                      std::make_tuple(false, c.failure, c.count, std::size_t{0}, std::size_t{0}));
        }
    }
    EXPECT_EQ(ReadDataFile(dir / "missing.dat", FileKind::Item, 0).report.error, std::errc::no_such_file_or_directory);
    if (::geteuid() != 0) { // root reads files whatever their permissions
        WriteFile(dir / "stditem.dat", FileImage(1, 184));
        std::filesystem::permissions(dir / "stditem.dat", std::filesystem::perms::none);
        EXPECT_EQ(ReadDataFile(dir / "stditem.dat", FileKind::Item, 0).report.error, std::errc::permission_denied);
    }
    // An empty table is written as a count of zero, which no one can open again.
    EXPECT_EQ(EncodeBytes(FileKind::Item, 9, 0, FromIds({})), FileImage(0, 0));
}

// What a load saw, what a save wrote and what the file holds later are compared by their
// fingerprints: any changed byte among the records or in the count shows.
TEST(Codec, FingerprintsTellWhetherAFileChanged)
{
    TempDir dir;
    for (const FileKind kind : kAllKinds) {
        SCOPED_TRACE(int(kind));
        const auto path = dir / "data.dat";
        const WriteReport written = EncodeFile(path, kind, 77, 3, FromIds({4, 5, 6}));
        ASSERT_TRUE(written.written);
        const DecodedRecords read = ReadDataFile(path, kind, 77);
        EXPECT_EQ(FingerprintOf(read.report), written.fingerprint);
        EXPECT_EQ(FingerprintDataFile(path, kind), written.fingerprint);

        const Bytes saved = ReadFile(path);
        for (const std::size_t at : {std::size_t{0}, std::size_t{3}, std::size_t{300}, saved.size() - 1}) {
            Bytes changed = saved;
            changed[at] ^= 1;
            WriteFile(path, changed);
            EXPECT_NE(FingerprintDataFile(path, kind), written.fingerprint) << "byte " << at;
        }
        WriteFile(path, saved);
        EXPECT_EQ(FingerprintDataFile(path, kind), written.fingerprint) << "the same bytes written anew";
        EXPECT_FALSE(FingerprintDataFile(dir / "missing.dat", kind));
    }
}

class AtomicSave : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_target = m_dir / "stditem.dat";
    Bytes m_old = FileImage(1, 184);

    void SetUp() override { WriteFile(m_target, m_old); }
    [[nodiscard]] std::size_t EntriesInDir() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}));
    }
};

// Paths that cannot be written even by root: a missing folder, a folder that is a file. (A
// folder standing where the file goes, and a save that succeeds, are tried in PlatformTest.)
TEST_F(AtomicSave, FailuresLeaveOldFileAndNoTemporary)
{
    for (const auto& path : {m_dir / "no-such-folder" / "stditem.dat", m_target / "stditem.dat"}) {
        const auto report = EncodeFile(path, FileKind::Item, 173, 1, FromIds({1}));
        EXPECT_FALSE(report.written) << path;
        EXPECT_FALSE(report.error.empty());
    }
    EXPECT_EQ(ReadFile(m_target), m_old);
    EXPECT_EQ(EntriesInDir(), 1u) << "a temporary file was left behind";
}

TEST_F(AtomicSave, PipeOrDeviceIsWrittenIntoNotReplaced)
{
    const auto fifo = m_dir / "stditem.pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const auto report = EncodeFile(fifo, FileKind::Item, 173, 3, FromIds({1, 2, 3}));
    EXPECT_TRUE(report.written) << report.error;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    Bytes got(4096);
    const ssize_t n = ::read(reader, got.data(), got.size());
    ::close(reader);
    got.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(got, EncodeBytes(FileKind::Item, 173, 3, FromIds({1, 2, 3})));
}

// What belongs to the replaced file stays: its mode, its owner and group, the links that
// lead to it. A link loop is an error, and no save leaves a temporary file.
TEST_F(AtomicSave, KeepsModeOwnerAndLinks)
{
    const Bytes saved = EncodeBytes(FileKind::Item, 173, 2, FromIds({1, 2}));
    const auto save = [&](const std::filesystem::path& path) { return EncodeFile(path, FileKind::Item, 173, 2, FromIds({1, 2})); };

    ASSERT_EQ(::chmod(m_target.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(m_target.c_str(), 4321, 4322), 0);
    }
    ASSERT_TRUE(save(m_target).written);
    struct stat st {};
    ASSERT_EQ(::stat(m_target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(std::make_pair(st.st_uid, st.st_gid), std::make_pair(uid_t{4321}, gid_t{4322}));
    }

    // Links, relative and absolute, dangling or not, stay links; the file they name is written.
    std::filesystem::create_directory(m_dir / "real");
    std::filesystem::create_symlink("real/magic.dat", m_dir / "dangling.dat");
    std::filesystem::create_symlink(m_target, m_dir / "absolute.dat");
    std::filesystem::create_symlink("absolute.dat", m_dir / "chain.dat");
    for (const char* link : {"dangling.dat", "absolute.dat", "chain.dat"}) {
        SCOPED_TRACE(link);
        ASSERT_TRUE(save(m_dir / link).written);
        EXPECT_TRUE(std::filesystem::is_symlink(m_dir / link));
        EXPECT_EQ(ReadFile(m_dir / link), saved);
    }
    EXPECT_EQ(ReadFile(m_dir / "real" / "magic.dat"), saved);

    std::filesystem::create_symlink("loop-b.dat", m_dir / "loop-a.dat");
    std::filesystem::create_symlink("loop-a.dat", m_dir / "loop-b.dat");
    const WriteReport loop = save(m_dir / "loop-a.dat");
    EXPECT_EQ(std::make_pair(loop.written, loop.error),
              std::make_pair(false, std::make_error_code(std::errc::too_many_symbolic_link_levels).message()));
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "loop-a.dat"));

    // Hard links keep sharing the file: it is written in place.
    WriteFile(m_target, m_old);
    std::filesystem::create_hard_link(m_target, m_dir / "other-name.dat");
    ASSERT_TRUE(EncodeFile(m_target, FileKind::Item, 1, 5, FromIds({1, 2, 3, 4, 5})).written);
    EXPECT_EQ(std::filesystem::hard_link_count(m_target), 2u);
    EXPECT_EQ(ReadFile(m_dir / "other-name.dat"), EncodeBytes(FileKind::Item, 1, 5, FromIds({1, 2, 3, 4, 5})));
    ASSERT_TRUE(save(m_dir / "other-name.dat").written); // shorter than before
    EXPECT_EQ(ReadFile(m_target), saved);

    // A name as long as the folder allows still leaves room for the temporary one.
    const std::string longName = std::string(246, 'x') + ".dat";
    ASSERT_TRUE(save(m_dir / longName).written);
    EXPECT_EQ(ReadFile(m_dir / longName), saved);

    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir.Path())) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();
    }
}

// A signal that ends the program during a save takes the temporary file with it: a reader
// of the messages that went away (SIGPIPE) too.
TEST_F(AtomicSave, SignalsRemoveTheTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RemoveTemporaryFilesOnSignals();
            AtomicFile file(m_target);
            (void)file.Write(std::string_view("partial"));
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(EntriesInDir(), 2u) << "the temporary file is there while the save runs";
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(EntriesInDir(), 1u) << "signal " << signal;
        EXPECT_EQ(ReadFile(m_target), m_old);
        ::close(ready[0]);
        ::close(ready[1]);
    }
}

// A write past the file size limit fails part way, as on a full disk, even for root: the save
// fails and removes the temporary file, instead of ending the program with it left behind.
TEST_F(AtomicSave, AFileSizeLimitFailsTheSaveWithoutEndingTheProgram)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RemoveTemporaryFilesOnSignals();
        rlimit small{};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 100000;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const auto report = EncodeFile(m_target, FileKind::Item, 173, 10000, FromIds(std::vector<std::int32_t>(10000, 7)));
        ::_exit(!report.written && report.error == SystemText(std::make_error_code(std::errc::file_too_large)) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadFile(m_target), m_old);
    EXPECT_EQ(EntriesInDir(), 1u) << "a temporary file was left behind";
}

} // namespace
} // namespace rw
