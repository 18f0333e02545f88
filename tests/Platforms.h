#pragma once

// What the tests need to know of the system they run on.
//
// Tests of what only a POSIX system has (FIFOs, device files, file modes, signals, resource
// limits, symbolic links, names that differ only in case) say so with RW_POSIX_ONLY(reason) at
// their start: on Windows the test is skipped, its reason in the output, so that what was not
// run there shows. Code that calls POSIX functions stays inside #ifndef _WIN32 as well, since it
// does not compile there, and so do single cases of a table-driven test. A whole file of such
// tests is left out in its CMakeLists.txt (if(NOT WIN32)), with the reason beside it.

#include "system/Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

#if defined(__SANITIZE_ADDRESS__)
#define RECWRIGHT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RECWRIGHT_ASAN 1
#endif
#endif

#ifdef _WIN32
#define RW_POSIX_ONLY(reason) GTEST_SKIP() << "POSIX only: " << (reason)
#else
#define RW_POSIX_ONLY(reason) static_cast<void>(0)
#endif

namespace rw::test {

// AddressSanitizer reserves terabytes of address space up front, so a program built with it
// cannot start under an address space limit at all.
#ifdef RECWRIGHT_ASAN
inline constexpr bool kCanLimitMemory = false;
#else
inline constexpr bool kCanLimitMemory = true;
#endif

// The system's own words for a file that is not there (kFile) or a folder that is not there
// (kFolder), as the program passes them on: POSIX says the same for both; Windows tells them
// apart (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND).
enum class Missing { kFile, kFolder };
[[nodiscard]] inline std::string MissingWords(Missing what)
{
#ifdef _WIN32
    return SystemText({what == Missing::kFile ? 2 : 3, std::system_category()});
#else
    static_cast<void>(what);
    return std::make_error_code(std::errc::no_such_file_or_directory).message();
#endif
}

} // namespace rw::test
