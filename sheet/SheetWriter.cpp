#include "sheet/SheetWriter.h"

#include "data/HexText.h"
#include "system/Platform.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"
#include "sheet/CellText.h"
#include "sheet/SheetLimits.h"

#ifdef __linux__
#include <dlfcn.h>
#endif
#include <xlsxwriter.h>
#include <xlsxwriter/third_party/zip.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

// libxlsxwriter packs each part of the workbook at zlib's default level, which on a sheet of
// records takes three quarters of the export: 5.8 s of a 100,000-record sheet's 7.6 s here,
// where the fastest level takes 1.4 s for a file a fifth larger. It packs through the zip
// library it is linked with, whose function that opens a part is defined here in front of
// it: the program's own definition is the one every library's call finds, and it calls the
// library's with the fastest level. Only the writer uses that zip library. Elsewhere (Windows
// has no RTLD_NEXT) the parts are packed at the library's level.
#ifdef __linux__
extern "C" int zipOpenNewFileInZip4_64(zipFile file, const char* filename, const zip_fileinfo* info,
                                       const void* extraLocal, uInt extraLocalSize, const void* extraGlobal,
                                       uInt extraGlobalSize, const char* comment, int method, int level, int raw,
                                       int windowBits, int memLevel, int strategy, const char* password,
                                       uLong crcForCrypting, uLong versionMadeBy, uLong flagBase, int zip64)
{
    using Open = decltype(&zipOpenNewFileInZip4_64);
    static const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!open) return ZIP_INTERNALERROR;
    if (method == Z_DEFLATED) level = Z_BEST_SPEED;
    return open(file, filename, info, extraLocal, extraLocalSize, extraGlobal, extraGlobalSize, comment, method, level,
                raw, windowBits, memLevel, strategy, password, crcForCrypting, versionMadeBy, flagBase, zip64);
}
#endif

namespace rw {
namespace {

constexpr std::size_t kProgressStep = 4096;
constexpr std::size_t kCopyBytes = std::size_t{1} << 20;

struct WorkbookFree {
    void operator()(lxw_workbook* book) const { lxw_workbook_free(book); }
};

[[nodiscard]] SheetResult Failed(SheetFailure failure, std::string detail = {})
{
    SheetResult result;
    result.failure = failure;
    result.detail = std::move(detail);
    return result;
}

// The system's reason when there is one (a full disk), else the writer's words.
[[nodiscard]] SheetResult WriterFailed(lxw_error error, int err)
{
    return Failed(SheetFailure::CannotWrite, err != 0 ? SystemText({err, std::generic_category()}) : lxw_strerror(error));
}

// Widths in characters: the titles readable, Raw a glimpse of its digits.
[[nodiscard]] double WidthOf(const ColumnSpec& column)
{
    if (column.role == ColumnRole::Id) return 10;
    if (column.role == ColumnRole::Name) return 20;
    return std::max<double>(8, static_cast<double>(column.title.size()) + 3);
}

constexpr double kRawWidth = 30;

// Moves the finished workbook from where the writer put it into the target's place.
[[nodiscard]] SheetResult Install(const std::string& from, AtomicFile& target)
{
    InputFile in(PathFromUtf8(from), InputFile::Accept::RegularFile);
    if (!in.IsOpen()) return Failed(SheetFailure::CannotWrite, SystemText(in.Error()));
    std::vector<char> piece(kCopyBytes);
    for (;;) {
        const std::optional<std::size_t> got = in.Read(piece);
        if (!got) return Failed(SheetFailure::CannotWrite, SystemText(in.Error()));
        if (*got == 0) break;
        if (!target.Write(std::string_view(piece.data(), *got))) return Failed(SheetFailure::CannotWrite, target.Error());
    }
    // Like a CSV export: what can be made again need not wait for the disk.
    if (!target.Commit(AtomicFile::Sync::Lazy)) return Failed(SheetFailure::CannotWrite, target.Error());
    return {};
}

// Where the writer keeps the rows as they are written (constant memory): the target's
// folder, where the space for the result must be anyway, and not a memory-backed /tmp. In the
// narrow encoding, as the writer opens its files by the C runtime's narrow calls, which on
// Windows read the code page.
[[nodiscard]] std::string TemporaryFolderFor(const std::string& path)
{
    const std::filesystem::path parent = PathFromUtf8(path).parent_path();
    return NameForNarrowCalls(parent.empty() ? std::string(".") : Utf8FromPath(parent));
}

// A workbook writing to file, its temporary files in folder, which must outlive it; null,
// errno set, when it cannot be made.
[[nodiscard]] std::unique_ptr<lxw_workbook, WorkbookFree> NewWorkbook(const ScratchFile& file, std::string& folder)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    // A worksheet of the most rows stays well under the 4 GiB a plain zip entry can hold.
    options.use_zip64 = LXW_FALSE;
    errno = 0;
    return std::unique_ptr<lxw_workbook, WorkbookFree>(workbook_new_opt(NameForNarrowCalls(file.Path()).c_str(), &options));
}

// The records' worksheet, laid out, its header row written.
struct RecordSheet {
    lxw_worksheet* sheet = nullptr;
    lxw_format* text = nullptr; // the name's and Raw's cells
    lxw_error error = LXW_NO_ERROR;
};

[[nodiscard]] RecordSheet AddRecordSheet(lxw_workbook* book, const RecordSchema& schema)
{
    RecordSheet made;
    const std::string sheetName(schema.fileName.substr(0, schema.fileName.find('.')));
    made.sheet = workbook_add_worksheet(book, sheetName.c_str());
    lxw_format* header = workbook_add_format(book);
    made.text = workbook_add_format(book);
    if (!made.sheet || !header || !made.text) {
        made.error = LXW_ERROR_MEMORY_MALLOC_FAILED;
        return made;
    }
    format_set_bold(header);
    format_set_num_format(made.text, "@");

    const auto rawColumn = static_cast<lxw_col_t>(schema.ColumnCount());
    for (lxw_col_t k = 0; k < rawColumn; ++k) {
        const ColumnSpec& column = schema.Column(k);
        (void)worksheet_set_column(made.sheet, k, k, WidthOf(column), column.role == ColumnRole::Name ? made.text : nullptr);
    }
    (void)worksheet_set_column(made.sheet, rawColumn, rawColumn, kRawWidth, made.text);
    worksheet_freeze_panes(made.sheet, 1, kNameColumn + 1);

    for (lxw_col_t k = 0; k < rawColumn && !made.error; ++k) {
        made.error = worksheet_write_string(made.sheet, 0, k, std::string(schema.Column(k).title).c_str(), header);
    }
    if (!made.error) made.error = worksheet_write_string(made.sheet, 0, rawColumn, "Raw", header);
    return made;
}

// Writes records as rows of the sheet, reusing its buffers from one row to the next.
class RecordRowWriter {
public:
    RecordRowWriter(const RecordSheet& sheet, const RecordSchema& schema, const NameTranscoder& names)
        : m_sheet(sheet), m_schema(schema), m_names(names), m_raw(2 * std::size_t{schema.recordSize} + 1)
    {
    }

    [[nodiscard]] lxw_error Write(lxw_row_t row, std::span<const std::uint8_t> record)
    {
        const auto rawColumn = static_cast<lxw_col_t>(m_schema.ColumnCount());
        lxw_error error = LXW_NO_ERROR;
        for (lxw_col_t k = 0; k < rawColumn && !error; ++k) {
            const ColumnSpec& column = m_schema.Column(k);
            if (column.role != ColumnRole::Name) {
                error = worksheet_write_number(m_sheet.sheet, row, k, LoadInt32(record.data() + column.offset), nullptr);
                continue;
            }
            m_name.clear();
            m_names.AppendText(ReadShortName(m_schema, record.data()), m_name);
            m_cell.clear();
            AppendCellEscaped(m_name, m_cell);
            error = worksheet_write_string(m_sheet.sheet, row, k, m_cell.c_str(), m_sheet.text);
        }
        *WriteHex(record.data(), m_schema.recordSize, m_raw.data()) = '\0';
        if (!error) error = worksheet_write_string(m_sheet.sheet, row, rawColumn, m_raw.data(), m_sheet.text);
        return error;
    }

private:
    const RecordSheet& m_sheet;
    const RecordSchema& m_schema;
    const NameTranscoder& m_names;
    std::string m_name;
    std::string m_cell;
    std::vector<char> m_raw;
};

} // namespace

SheetResult WriteRecordSheet(const std::string& path, FileKind kind, std::size_t count,
                             const std::function<std::span<const std::uint8_t>(std::size_t)>& recordAt,
                             const NameTranscoder& names, const SheetProgress& progress)
{
    if (count > sheet_limits::kMaxRecords) {
        SheetResult result = Failed(SheetFailure::TooManyRows);
        result.line = count;
        result.limit = sheet_limits::kMaxRecords;
        return result;
    }
    AtomicFile target(PathFromUtf8(path));
    if (!target.Ok()) return Failed(SheetFailure::CannotWrite, target.Error());
    // The writer opens its file by name itself: it writes beside the target, and the bytes
    // then go into the target's place the way every file of the program does.
    const ScratchFile scratch(PathFromUtf8(path));
    if (!scratch.Ok()) return Failed(SheetFailure::CannotWrite, scratch.Error());
    std::string folder = TemporaryFolderFor(path);
    std::unique_ptr<lxw_workbook, WorkbookFree> book = NewWorkbook(scratch, folder);
    if (!book) return WriterFailed(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);

    const RecordSchema& schema = SchemaOf(kind);
    const RecordSheet sheet = AddRecordSheet(book.get(), schema);
    lxw_error error = sheet.error;
    RecordRowWriter rows(sheet, schema, names);
    for (std::size_t i = 0; i < count && !error; ++i) {
        if (progress && i % kProgressStep == 0 && i > 0 && !progress(i, count)) return Failed(SheetFailure::Cancelled);
        error = rows.Write(static_cast<lxw_row_t>(i + 1), recordAt(i));
    }
    if (error) return WriterFailed(error, errno);

    errno = 0;
    error = workbook_close(book.release()); // frees the workbook whatever it answers
    if (error) return WriterFailed(error, errno);
    if (SheetResult installed = Install(scratch.Path(), target); !installed.Ok()) return installed;
    if (progress) (void)progress(count, count);
    return {};
}

} // namespace rw
