#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NameTextChoice.h"
#include "data/AtomicFile.h"
#include "data/CsvExport.h"
#include "data/DataFile.h"
#include "resources/Strings.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rw {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

int RunExport(const CliOptions& options)
{
    const std::string& file = options.files.front();
    const std::optional<DataFileChoice> choice = ChooseDataFile(options, file);
    if (!choice) return kExitBadUsage;
    const DecodedRecords decoded = ReadDataFile(file, choice->kind, choice->key);
    if (!decoded.report.loaded) {
        Complain(decoded.report.error.empty()
                     ? Format(str::kCliBadCountFormat, file.c_str(), static_cast<long long>(decoded.report.announcedCount))
                     : Format(str::kCliNotLoadedFormat, file.c_str(), decoded.report.error.c_str()));
        return kExitBadData;
    }
    if (decoded.report.Truncated()) {
        Complain(Format(str::kCliTruncatedFormat, file.c_str(), static_cast<long long>(decoded.report.announcedCount),
                        static_cast<long long>(decoded.report.recordsPresent)));
    }

    const CsvExporter exporter(choice->kind, NamesFor(options.encoding));
    const std::string_view bom = options.encoding == CsvEncoding::Utf8Bom ? kUtf8Bom : std::string_view{};
    if (!options.output || *options.output == "-") {
        const bool written = WriteAllTo(STDOUT_FILENO, bom) &&
                             exporter.Export(decoded.bytes, [](std::string_view piece) { return WriteAllTo(STDOUT_FILENO, piece); });
        if (written) return kExitOk;
        Complain(Format(str::kCliCannotWriteFormat, "-", std::strerror(errno)));
        return kExitBadData;
    }
    AtomicFile out(*options.output);
    const bool written = out.Write(bom) && exporter.Export(decoded.bytes, [&](std::string_view piece) { return out.Write(piece); });
    if (written && out.Commit(AtomicFile::Sync::Lazy)) return kExitOk;
    Complain(Format(str::kCliCannotWriteFormat, options.output->c_str(), out.Error().c_str()));
    return kExitBadData;
}

} // namespace rw
