#pragma once

// recwright-cli run through a POSIX shell as a user runs it: its exit status, what it said, and
// the files it left in a folder of the test's own.

#include "tests/Platforms.h"
#include "tests/cli/ProgramRun.h"
#include "tests/data/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace rw::test {

inline const std::filesystem::path kSamples = RECWRIGHT_SAMPLES_DIR;
inline const std::string kItem = (kSamples / "stditem.dat").string();
inline const std::string kMagic = (kSamples / "magic.dat").string();
inline const std::string kMonster = (kSamples / "monster.dat").string();

using CliRun = ProgramRun;

[[nodiscard]] inline std::string Quoted(const std::string& arg)
{
    std::string quoted = "'";
    for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The program and its arguments as a shell command.
[[nodiscard]] inline std::string CommandOf(const std::vector<std::string>& args)
{
    std::string command = "$CLI";
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return command;
}
[[nodiscard]] inline std::string Command(std::initializer_list<std::string> args) { return CommandOf(args); }
// args, then more.
[[nodiscard]] inline std::vector<std::string> Joined(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

[[nodiscard]] inline std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// The CSV (of export's columns) with the record of ID id named name.
[[nodiscard]] inline std::string Renamed(std::string csv, const std::string& id, const std::string& name)
{
    const std::size_t at = csv.find("\n" + id + ",") + id.size() + 2;
    return csv.replace(at, csv.find(',', at) - at, name);
}

// The item sample's CSV with its records repeated under new IDs up to count rows, each with
// the name its Raw holds changed: every row a warning.
[[nodiscard]] inline std::string RenamedRows(const std::string& csv, int count)
{
    const std::size_t bodyStart = csv.find('\n') + 1;
    std::string out = csv.substr(0, bodyStart);
    const std::string row = csv.substr(bodyStart, csv.find('\n', bodyStart) - bodyStart);
    const std::size_t afterName = row.find(',', row.find(',') + 1);
    for (int i = 1; i <= count; ++i) out += std::to_string(i) + ",renamed" + row.substr(afterName) + "\n";
    return out;
}

class Cli : public ::testing::Test {
protected:
    TempDir m_dir;

    // A shell line in which $CLI is the program. Standard input is input; standard output
    // and error are kept, unless the line sends them elsewhere itself.
    CliRun Shell(const std::string& line, const std::string& input = {})
    {
        WriteFile(m_dir / "stdin", input);
        const std::string command = "CLI=" + Quoted(RECWRIGHT_CLI) + "; { " + line + "\n} <" + Quoted(Path("stdin")) +
                                    " >" + Quoted(Path("stdout")) + " 2>" + Quoted(Path("stderr"));
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile<std::string>(m_dir / "stdout"),
                ReadFile<std::string>(m_dir / "stderr")};
    }
    CliRun Invoke(std::initializer_list<std::string> args, const std::string& input = {})
    {
        return Shell(Command(args), input);
    }
    // The line in a shell of its own whose address space is limited, where that is possible.
    static std::string WithMemoryLimit(const std::string& line, long megabytes)
    {
        if (!kCanLimitMemory) return line;
        return "(ulimit -v " + std::to_string(megabytes * 1024) + "; " + line + ")";
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    // A copy of a sample (or any file) in the test's folder under name, over what is there.
    std::string Copy(const std::string& sample, const std::string& name)
    {
        std::filesystem::copy_file(sample, Path(name), std::filesystem::copy_options::overwrite_existing);
        return Path(name);
    }
    // The temporary files of writes that did not finish: hidden names in the folder.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> hidden;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
            if (entry.path().filename().string().starts_with('.')) hidden.push_back(entry.path().filename().string());
        }
        return hidden;
    }
};

} // namespace rw::test
