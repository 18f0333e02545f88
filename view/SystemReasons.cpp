#include "view/SystemReasons.h"

#include "system/Platform.h"
#include "resources/Strings.h"
#include "ui/Texts.h"

namespace rw {

QString CommonReasonText(const std::error_code& error, FileUse use)
{
    const bool reading = use == FileUse::Read;
    switch (KindOfError(error)) {
    case ErrorKind::NoSuchFile: return Text(reading ? str::kReasonNoFile : str::kReasonNoFolder);
    case ErrorKind::PermissionDenied: return Text(reading ? str::kReasonNoPermission : str::kReasonNoWritePermission);
    case ErrorKind::DiskFull: return Text(str::kReasonDiskFull);
    case ErrorKind::ReadOnlyFileSystem: return Text(str::kReasonReadOnly);
    case ErrorKind::IsAFolder: return Text(str::kReasonIsAFolder);
    case ErrorKind::FileTooLarge: return Text(str::kReasonFileTooLarge);
    case ErrorKind::TooManyLinks: return Text(str::kReasonLinkLoop);
    case ErrorKind::InUse: return Text(str::kReasonInUse);
    case ErrorKind::Other: break;
    }
    return {};
}

QString SystemWords(const std::error_code& error)
{
#ifdef _WIN32
    // The platform layer gives Windows' own texts as UTF-8, whatever the code page.
    return QString::fromStdString(SystemText(error));
#else
    return QString::fromLocal8Bit(SystemText(error).c_str());
#endif
}

QString ReasonText(const std::error_code& error, FileUse use)
{
    const QString common = CommonReasonText(error, use);
    return common.isEmpty() ? SystemWords(error) : common;
}

} // namespace rw
