#pragma once

// The limit a load is measured against: reading a data file's records into one buffer and
// deciphering them, and nothing else. With large pages, as PageBuffer asks for them, and with
// the 4 KB pages an ordinary allocation of that size gets where the system gives large pages
// only on request.

#include "system/PageBuffer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

namespace rw::bench {

inline void XorInPlace(std::uint8_t* bytes, std::size_t n, std::uint8_t key)
{
    const std::uint64_t wide = 0x0101010101010101ull * key;
    for (std::size_t i = 0; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        word ^= wide;
        std::memcpy(bytes + i, &word, 8);
    }
}

// Reads the file after its 4-byte count into into and deciphers it; false when it could not.
inline bool ReadAndDecipher(int fd, std::uint8_t* into, std::size_t n, std::uint8_t key)
{
    for (std::size_t done = 0; done < n;) {
        const ssize_t got = ::pread(fd, into + done, n - done, static_cast<off_t>(4 + done));
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    XorInPlace(into, n, key);
    return true;
}

enum class Pages { Large, Small };

// One whole read and decipher of the file's records, into a buffer made for it.
inline bool ReadLimitPass(const std::filesystem::path& path, std::uint8_t key, Pages pages)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const auto n = static_cast<std::size_t>(std::filesystem::file_size(path) - 4);
    bool ok = false;
    if (pages == Pages::Large) {
        PageBuffer buffer(n);
        ok = ReadAndDecipher(fd, buffer.data(), n, key);
    } else {
        const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(n);
        ok = ReadAndDecipher(fd, buffer.get(), n, key);
    }
    ::close(fd);
    return ok;
}

} // namespace rw::bench
