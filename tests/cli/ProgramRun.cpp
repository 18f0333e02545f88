#include "tests/cli/ProgramRun.h"

#include "system/Platform.h"
#include "tests/data/TestFiles.h"

#include "tests/WindowsApi.h"

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

namespace rw::test {
namespace {

#ifdef _WIN32
// One argument as CommandLineToArgvW reads it back: quoted, with backslashes doubled only
// where they come before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& arg)
{
    line += L" \"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, L'\\');
    line.push_back(L'"');
}

[[nodiscard]] int Run(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& out, const std::filesystem::path& err)
{
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::string& arg : args) AppendQuoted(line, PathFromUtf8(arg).wstring());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto open = [&](const std::filesystem::path& path, DWORD access, DWORD disposition) {
        return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition, 0, nullptr);
    };
    const HANDLE input = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE output = open(out, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE error = open(err, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    int status = -1;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.hProcess, &code)) status = static_cast<int>(code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {input, output, error}) {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
    return status;
}
#else
[[nodiscard]] int Run(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& out, const std::filesystem::path& err)
{
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

} // namespace

ProgramRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::filesystem::path& scratch)
{
    const std::filesystem::path out = scratch / "stdout";
    const std::filesystem::path err = scratch / "stderr";
    ProgramRun run;
    run.status = Run(program, args, out, err);
    run.out = ReadFile<std::string>(out);
    run.err = ReadFile<std::string>(err);
    std::error_code ignored;
    std::filesystem::remove(out, ignored);
    std::filesystem::remove(err, ignored);
    return run;
}

} // namespace rw::test
