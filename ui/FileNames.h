#pragma once

// A file's name as the windows show it (QString) and as the record library opens it
// (std::filesystem::path): the same name both ways on every system, so that Chinese folder and
// file names reach the file whatever the system's code page. On Windows a path holds UTF-16;
// on POSIX the bytes QFile encodes a name to.

#include <QString>

#include <filesystem>

namespace rw {

[[nodiscard]] std::filesystem::path ToFsPath(const QString& name);
[[nodiscard]] QString FromFsPath(const std::filesystem::path& path);

} // namespace rw
