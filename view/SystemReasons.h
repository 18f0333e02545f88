#pragma once

// Why the system refused a file operation, in the user's words: the common reasons in the
// program's own, the rest in the system's text, which alone tells them.

#include <QString>

#include <cstdint>
#include <system_error>

namespace rw {

enum class FileUse : std::uint8_t { Read, Write };

// Empty when the reason is none of the common ones.
[[nodiscard]] QString CommonReasonText(const std::error_code& error, FileUse use);
// The system's own text for the error.
[[nodiscard]] QString SystemWords(const std::error_code& error);
// The common reason's words, or else the system's text.
[[nodiscard]] QString ReasonText(const std::error_code& error, FileUse use);

} // namespace rw
