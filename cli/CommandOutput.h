#pragma once

// Where a command's output goes: standard output, or the file -o names, which is written
// under a temporary name and takes the target's place only once all of it is written. Each
// piece is written on a second thread while the next one is made.

#include "cli/BackgroundWriter.h"
#include "system/Platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace rw {

class CommandOutput {
public:
    // output: -o's value; none, or "-", is standard output.
    explicit CommandOutput(const std::optional<std::string>& output);
    CommandOutput(const CommandOutput&) = delete;
    CommandOutput& operator=(const CommandOutput&) = delete;

    // The file's name, or "standard output", for messages.
    [[nodiscard]] const std::string& ShownName() const { return m_shownName; }
    // Writing the output would destroy this input file (through links too): says so.
    [[nodiscard]] bool IsTheInput(const std::string& inputFile) const;
    // Creates the file where there is one; false, with a message, when it cannot be.
    [[nodiscard]] bool Open();
    // After Open: hands a piece over; false once a piece could not be written.
    bool Put(std::string_view piece);
    // After Open: waits until everything is written and puts the file in place. False, with a
    // message, when any of it could not be written; the target then stays as it was.
    [[nodiscard]] bool Finish();

private:
    bool m_toStdout;
    std::string m_shownName;
    std::optional<AtomicFile> m_file;
    int m_writeErrno = 0;
    // Declared after the file, so that writing stops before the file goes.
    std::optional<BackgroundWriter> m_writer;
};

} // namespace rw
