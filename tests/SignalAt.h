#pragma once

// A real signal sent to a program at a moment the test chooses, without a hook in the program:
// strace stops it at the given call of a system function and sends the signal as that call
// returns (its Nth call of write, fsync, rename, ...), so that a test can end a write part way
// or hold the program still while "another program" writes its file. POSIX only.

#include <cstdlib>
#include <string>

namespace rw::test {

// strace is there and may trace here (a container may forbid it).
[[nodiscard]] inline bool CanSendSignalsAt()
{
    static const bool can = std::system("strace -f -qq -o /dev/null true >/dev/null 2>&1") == 0;
    return can;
}

// command (a program and its arguments, as a shell word list) run so that it gets signal
// ("SIGTERM", "SIGSTOP", ...) as its when-th call of syscall returns; strace's own account,
// which says when the program stopped, goes to log.
[[nodiscard]] inline std::string WithSignalAt(const std::string& command, const std::string& syscall, int when,
                                              const std::string& signal, const std::string& log = "/dev/null")
{
    // LeakSanitizer's check at exit (an AddressSanitizer build) traces the process itself,
    // which a process strace traces cannot be: it is left out there.
    return "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 strace -f -qq -o '" + log + "' -e trace=" + syscall + " -e inject=" + syscall + ":signal=" + signal +
           ":when=" + std::to_string(when) + " " + command;
}

// A shell line that runs command (with WithSignalAt's SIGSTOP, its log given) in the background,
// waits until it has stopped, runs meanwhile, lets it go on, and ends with its exit status.
[[nodiscard]] inline std::string StoppedWhile(const std::string& stoppedCommand, const std::string& log,
                                              const std::string& meanwhile)
{
    return "{ " + stoppedCommand + " & }; traced=$!\n"
           "until grep -q -- '--- stopped by SIGSTOP ---' '" + log + "' 2>/dev/null || ! kill -0 $traced 2>/dev/null; do sleep 0.01; done\n"
           "stopped=$(awk '/--- stopped by SIGSTOP ---/ { print $1; exit }' '" + log + "')\n" +
           meanwhile + "\n"
           "[ -n \"$stopped\" ] && kill -CONT $stopped\n"
           "wait $traced";
}

} // namespace rw::test
