#pragma once

// What the POSIX platform files share: errors as the program keeps them, stamps, and reads
// and writes that go on after an interruption. For those files only.

#include "system/Platform.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <utility>

namespace rw::posix {

[[nodiscard]] inline std::error_code ErrorOf(int err) { return {err, std::generic_category()}; }
[[nodiscard]] inline std::error_code LastError() { return ErrorOf(errno); }

[[nodiscard]] inline FileStamp StampFrom(const struct stat& st)
{
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.permissions = static_cast<std::uint32_t>(st.st_mode & 07777);
    return stamp;
}

[[nodiscard]] inline int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

inline void Close(std::intptr_t& handle)
{
    if (handle >= 0) ::close(Fd(std::exchange(handle, -1)));
}

// All of bytes at offset; false with errno set.
[[nodiscard]] inline bool WriteAllAt(int fd, const char* bytes, std::size_t n, off_t offset)
{
    while (n > 0) {
        const ssize_t put = ::pwrite(fd, bytes, n, offset);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += put;
        n -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}

// Up to n bytes at offset, fewer only at the end; -1 with errno set.
[[nodiscard]] inline long long ReadAllAt(int fd, char* into, std::size_t n, off_t offset)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, into + done, n - done, offset + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

} // namespace rw::posix
