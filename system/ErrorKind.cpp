// KindOfError: the portable codes (the program's own reasons, the runtime's, and POSIX's errno)
// are the same on every system; only the system's own numbers need its implementation.

#include "system/Platform.h"

#include <utility>

namespace rw {

ErrorKind KindOfError(const std::error_code& error)
{
    if (const std::optional<ErrorKind> kind = platform_detail::KindOfSystemError(error)) return *kind;
    const std::pair<std::errc, ErrorKind> kinds[] = {
        {std::errc::no_such_file_or_directory, ErrorKind::NoSuchFile},
        {std::errc::permission_denied, ErrorKind::PermissionDenied},
        {std::errc::operation_not_permitted, ErrorKind::PermissionDenied},
        {std::errc::no_space_on_device, ErrorKind::DiskFull},
        {std::errc::read_only_file_system, ErrorKind::ReadOnlyFileSystem},
        {std::errc::is_a_directory, ErrorKind::IsAFolder},
        {std::errc::file_too_large, ErrorKind::FileTooLarge},
        {std::errc::too_many_symbolic_link_levels, ErrorKind::TooManyLinks},
        {std::errc::too_many_links, ErrorKind::TooManyLinks},
        {std::errc::text_file_busy, ErrorKind::InUse},
        {std::errc::device_or_resource_busy, ErrorKind::InUse},
    };
    for (const auto& [code, kind] : kinds) {
        if (error == code) return kind;
    }
    return ErrorKind::Other;
}

} // namespace rw
