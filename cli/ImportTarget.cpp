#include "cli/ImportTarget.h"

#include "cli/CliText.h"
#include "cli/CommandOutput.h"
#include "cli/Commands.h"
#include "system/Platform.h"
#include "resources/Strings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace rw {
namespace {

// Opened only once, at the end: a pipe's reader would take an early close for the end.
[[nodiscard]] bool IsDeviceOrPipe(const std::filesystem::path& target)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target, error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_directory(status);
}

} // namespace

ImportTarget::ImportTarget(const CliOptions& options, std::string target) : m_options(options), m_target(std::move(target)) {}

void ImportTarget::Open(FileKind kind)
{
    m_kind = kind;
    m_key = KeyFor(m_options, kind);
    if (m_target != "-" && !IsDeviceOrPipe(PathFromUtf8(m_target))) {
        m_writer.emplace(PathFromUtf8(m_target), kind, m_key);
        // One that cannot be created says why at the end, after the CSV's own errors.
        if (m_writer->CanWrite()) return;
        m_writer.reset();
    }
    m_spill.emplace(kind, m_key);
    if (!m_spill->Ok()) {
        m_spill.reset();
        m_held.emplace(SchemaOf(kind).recordSize);
    }
}

void ImportTarget::Append(std::span<const std::uint8_t> record)
{
    if (m_writer) m_writer->Append(record);
    else if (m_spill) m_spill->Append(record);
    else m_held->Append(record);
}

int ImportTarget::Finish()
{
    if (m_writer) return Written(m_writer->Commit());
    if (m_spill) return Emit();
    const RecordSource source = [&](std::size_t i, std::span<std::uint8_t> record) {
        const auto from = m_held->RecordAt(i);
        std::copy(from.begin(), from.end(), record.begin());
    };
    if (m_target == "-") {
        const std::vector<std::uint8_t> image = EncodeBytes(m_kind, m_key, m_held->Count(), source);
        return PrintOrComplain({reinterpret_cast<const char*>(image.data()), image.size()});
    }
    return Written(EncodeFile(PathFromUtf8(m_target), m_kind, m_key, m_held->Count(), source));
}

int ImportTarget::Written(const WriteReport& written) const
{
    if (written.written) return kExitOk;
    Complain(Format<str::kCliCannotWriteFormat>(m_target, written.error));
    return kExitBadData;
}

int ImportTarget::Emit()
{
    CommandOutput output(m_target);
    if (!output.Open()) return kExitBadData;
    const bool emitted = m_spill->Emit([&](std::span<const std::uint8_t> piece) {
        return output.Put({reinterpret_cast<const char*>(piece.data()), piece.size()});
    });
    if (!m_spill->Ok()) {
        // Not finished, so a file is not put in place.
        Complain(Format<str::kCliSpillFailedFormat>(output.ShownName(), m_spill->Error()));
        return kExitBadData;
    }
    return output.Finish() && emitted ? kExitOk : kExitBadData;
}

} // namespace rw
