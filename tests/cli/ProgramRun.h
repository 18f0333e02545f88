#pragma once

// A program run as a user runs it, without a shell between: the arguments reach it as they
// are (any characters, on Windows through the wide command line), its standard input is
// empty, and its output and error are kept.

#include <filesystem>
#include <string>
#include <vector>

namespace rw::test {

struct ProgramRun {
    int status = -1; // the exit status; -1 when it did not start or did not exit
    std::string out;
    std::string err;
};

// scratch: a folder for the output and error while the program runs.
[[nodiscard]] ProgramRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                                    const std::filesystem::path& scratch);

} // namespace rw::test
