#include "resources/Icons.h"

#include <QString>

namespace rw {

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/icon128-16x16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/icon128-32x32.png"), QSize(32, 32));
    return icon;
}

QIcon WindowIcon()
{
    return QIcon(QStringLiteral(":/icons/icon131-16x16.png"));
}

} // namespace rw
