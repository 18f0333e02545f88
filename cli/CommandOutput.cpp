#include "cli/CommandOutput.h"

#include "cli/CliText.h"
#include "cli/Commands.h"
#include "resources/Strings.h"

#include <cerrno>
#include <cstring>

namespace rw {

CommandOutput::CommandOutput(const std::optional<std::string>& output)
    : m_toStdout(!output || *output == "-"), m_shownName(m_toStdout ? std::string(str::kCliStandardOutput) : *output)
{
}

bool CommandOutput::IsTheInput(const std::string& inputFile) const
{
    if (!SameFile(IdentityOf(inputFile, std::nullopt), IdentityOf(m_toStdout ? "-" : m_shownName, kStandardOutput))) {
        return false;
    }
    Complain(m_toStdout ? Format<str::kCliStdoutIsInputFormat>(inputFile) : Format<str::kCliOutputIsInputFormat>(m_shownName));
    return true;
}

bool CommandOutput::Open()
{
    if (!m_toStdout) {
        m_file.emplace(PathFromUtf8(m_shownName));
        if (!m_file->Ok()) {
            Complain(Format<str::kCliCannotWriteFormat>(m_shownName, m_file->Error()));
            return false;
        }
    }
    m_writer.emplace([this](std::string_view piece) {
        if (m_file) return m_file->Write(piece);
        if (WriteAllTo(kStandardOutput, piece)) return true;
        m_writeErrno = errno;
        return false;
    });
    return true;
}

bool CommandOutput::Put(std::string_view piece) { return m_writer->Put(piece); }

bool CommandOutput::Finish()
{
    if (m_writer->Finish() && (!m_file || m_file->Commit(AtomicFile::Sync::Lazy))) return true;
    Complain(Format<str::kCliCannotWriteFormat>(m_shownName, m_file ? m_file->Error() : std::string(std::strerror(m_writeErrno))));
    return false;
}

} // namespace rw
