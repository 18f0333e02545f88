#include "cli/BackgroundWriter.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NameTextChoice.h"
#include "data/Platform.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "resources/Strings.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace rw {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

int RunExport(const CliOptions& options)
{
    const std::string& dataFile = options.files.front();
    const std::optional<DataFileChoice> choice = ChooseDataFile(options, dataFile);
    if (!choice) return kExitBadUsage;
    const std::optional<DecodedRecords> read = ReadOrComplain(dataFile, *choice);
    if (!read) return kExitBadData;
    const DecodedRecords& decoded = *read;
    if (decoded.report.Truncated()) {
        Complain(Format(str::kCliTruncatedFormat, dataFile, static_cast<long long>(decoded.report.announcedCount),
                        static_cast<long long>(decoded.report.recordsPresent)));
    }

    const CsvExporter exporter(choice->kind, NamesFor(options.encoding));
    const std::string_view bom = options.encoding == CsvEncoding::Utf8Bom ? kUtf8Bom : std::string_view{};
    const bool toStdout = !options.output || *options.output == "-";
    std::optional<AtomicFile> file;
    if (!toStdout) file.emplace(*options.output);
    int writeErrno = 0;
    BackgroundWriter writer([&](std::string_view piece) {
        if (file) return file->Write(piece);
        if (WriteAllTo(STDOUT_FILENO, piece)) return true;
        writeErrno = errno;
        return false;
    });
    const bool made = writer.Put(bom) && exporter.Export(decoded.bytes, [&](std::string_view piece) { return writer.Put(piece); });
    const bool written = writer.Finish() && made && (!file || file->Commit(AtomicFile::Sync::Lazy));
    if (written) return kExitOk;
    Complain(Format(str::kCliCannotWriteFormat, toStdout ? std::string(str::kCliStandardOutput) : *options.output,
                    file ? file->Error() : std::string(std::strerror(writeErrno))));
    return kExitBadData;
}

} // namespace rw
