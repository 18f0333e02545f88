#include "sheet/ZipArchive.h"

#include "sheet/SheetLimits.h"

#include <zip.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace rw {
namespace {

constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

// A libzip error, released however the function it is used in ends.
class ZipError {
public:
    ZipError() { zip_error_init(&m_error); }
    ZipError(const ZipError&) = delete;
    ZipError& operator=(const ZipError&) = delete;
    ~ZipError() { zip_error_fini(&m_error); }
    [[nodiscard]] zip_error_t* Get() { return &m_error; }
    [[nodiscard]] std::string Text() { return zip_error_strerror(&m_error); }

private:
    zip_error_t m_error;
};

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

[[nodiscard]] SheetResult Refused(SheetFailure failure, const std::string& part, std::uint64_t limit)
{
    SheetResult result;
    result.failure = failure;
    result.part = part;
    result.limit = limit;
    return result;
}

// What may come out of a part before it counts as a zip bomb.
[[nodiscard]] std::uint64_t RatioAllowance(std::uint64_t packedSize)
{
    const std::uint64_t byRatio = packedSize * sheet_limits::kMaxPackRatio;
    return byRatio < sheet_limits::kPackRatioFloorBytes ? sheet_limits::kPackRatioFloorBytes : byRatio;
}

} // namespace

void ZipArchive::Closer::operator()(zip* archive) const { zip_discard(archive); }

ZipArchive::ZipArchive(const std::string& path)
{
    ZipError error;
    zip_source_t* source = zip_source_file_create(path.c_str(), 0, -1, error.Get());
    if (!source) {
        m_failure.failure = SheetFailure::CannotRead;
        m_failure.detail = error.Text();
        return;
    }
    Open(source);
}

ZipArchive::ZipArchive(std::span<const std::uint8_t> bytes)
{
    ZipError error;
    zip_source_t* source = zip_source_buffer_create(bytes.empty() ? nullptr : bytes.data(), bytes.size(), 0, error.Get());
    if (!source) {
        m_failure.failure = SheetFailure::CannotRead;
        m_failure.detail = error.Text();
        return;
    }
    Open(source);
}

ZipArchive::~ZipArchive() = default;

void ZipArchive::Open(zip_source_t* source)
{
    ZipError error;
    // The archive takes the source on success; on failure it stays the caller's.
    m_zip.reset(zip_open_from_source(source, ZIP_RDONLY, error.Get()));
    if (m_zip && zip_get_num_entries(m_zip.get(), 0) > 0) {
        CheckMembers();
        return;
    }
    if (m_zip) {
        // The zip library takes an empty file for an empty archive; no spreadsheet wrote it.
        m_zip.reset();
        zip_error_set(error.Get(), ZIP_ER_NOZIP, 0);
    } else {
        zip_source_free(source);
    }
    switch (zip_error_code_zip(error.Get())) {
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
    case ZIP_ER_MEMORY: m_failure.failure = SheetFailure::CannotRead; break;
    default: m_failure.failure = SheetFailure::NotZip; break;
    }
    m_failure.detail = error.Text();
}

void ZipArchive::CheckMembers()
{
    const zip_int64_t count = zip_get_num_entries(m_zip.get(), 0);
    if (static_cast<std::uint64_t>(count) > sheet_limits::kMaxMembers) {
        m_zip.reset();
        m_failure.failure = SheetFailure::BeyondLimit;
        m_failure.beyond = SheetBeyond::Members;
        m_failure.limit = sheet_limits::kMaxMembers;
        return;
    }
    // Two members of one name: which of them a program reads is its own choice, and the
    // package format takes names without regard to letter case, so twins that differ only in
    // case are as ambiguous.
    std::unordered_set<std::string> seen;
    seen.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(m_zip.get(), static_cast<zip_uint64_t>(i), 0);
        if (!name) continue;
        std::string folded(name);
        for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (seen.insert(std::move(folded)).second) continue;
        m_failure.failure = SheetFailure::DuplicateMember;
        m_failure.detail = name; // before the archive, which holds the name, goes
        m_zip.reset();
        return;
    }
}

std::optional<ZipArchive::Part> ZipArchive::Find(const std::string& name) const
{
    const zip_int64_t index = zip_name_locate(m_zip.get(), name.c_str(), 0);
    if (index < 0) return std::nullopt;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0) return std::nullopt;
    Part part;
    part.name = name;
    part.index = static_cast<std::uint64_t>(index);
    part.size = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    part.packedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
    return part;
}

SheetResult ZipArchive::Unpack(const Part& part, std::uint64_t limit, const std::function<bool(std::string_view)>& take) const
{
    const std::uint64_t allowance = RatioAllowance(part.packedSize);
    if (part.size > limit) return Refused(SheetFailure::TooLarge, part.name, limit);
    if (part.size > allowance) return Refused(SheetFailure::PackedTooDensely, part.name, sheet_limits::kMaxPackRatio);

    SheetResult damaged;
    damaged.failure = SheetFailure::DamagedZip;
    damaged.part = part.name;
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(m_zip.get(), part.index, 0));
    if (!file) {
        damaged.detail = zip_strerror(m_zip.get());
        return damaged;
    }
    std::vector<char> piece(kPieceBytes);
    std::uint64_t unpacked = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), piece.data(), piece.size());
        if (got < 0) {
            damaged.detail = zip_file_strerror(file.get());
            return damaged;
        }
        if (got == 0) return {};
        unpacked += static_cast<std::uint64_t>(got);
        if (unpacked > part.size) {
            // More than the directory says the part holds: its sizes were made up.
            ZipError inconsistent;
            zip_error_set(inconsistent.Get(), ZIP_ER_INCONS, 0);
            damaged.detail = inconsistent.Text();
            return damaged;
        }
        if (unpacked > limit) return Refused(SheetFailure::TooLarge, part.name, limit);
        if (unpacked > allowance) return Refused(SheetFailure::PackedTooDensely, part.name, sheet_limits::kMaxPackRatio);
        if (!take({piece.data(), static_cast<std::size_t>(got)})) return {};
    }
}

} // namespace rw
