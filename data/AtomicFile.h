#pragma once

// A file written beside its target under a temporary name, flushed to disk and only then
// renamed over the target: the previous file survives any failure intact, and no one ever
// sees half a file under the target's name. A target that is a device or a pipe is written
// into directly instead.

#include "data/UniqueFd.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace rw {

class AtomicFile {
public:
    // Creates the temporary file; Ok() tells whether that worked.
    explicit AtomicFile(const std::filesystem::path& target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~AtomicFile();

    [[nodiscard]] bool Ok() const { return m_error.empty(); }
    // The system's reason for the first failure.
    [[nodiscard]] const std::string& Error() const { return m_error; }

    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(std::string_view text);
    // ToDisk waits until the bytes are on the disk before the rename, so that even a power
    // cut leaves the old file or the whole new one. Lazy leaves that to the system: for
    // output that can be made again, where waiting for the disk would cost most of the time.
    enum class Sync : std::uint8_t { ToDisk, Lazy };

    // Closes and renames over the target. False, target untouched, on any failure.
    bool Commit(Sync sync = Sync::ToDisk);

private:
    bool Fail(int err);

    std::filesystem::path m_target;
    std::string m_temp; // empty when writing into the target itself
    UniqueFd m_fd;
    bool m_committed = false;
    std::string m_error;
};

} // namespace rw
