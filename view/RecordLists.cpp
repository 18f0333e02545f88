#include "view/RecordLists.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QStringList>

#include <algorithm>

namespace rw {

QString ListedFirst(std::size_t count, const std::function<QString(std::size_t i)>& text, const char* moreFormat)
{
    QStringList listed;
    for (std::size_t i = 0; i < std::min(count, kRecordsListed); ++i) listed.push_back(text(i));
    QString list = listed.join(QStringLiteral(", "));
    if (count > kRecordsListed) list += Text(moreFormat, count - kRecordsListed);
    return list;
}

QString IdsNamed(const std::vector<std::int32_t>& ids)
{
    return ListedFirst(ids.size(), [&](std::size_t i) { return Text(str::kRecordIdFormat, ids[i]); },
                       str::kMoreRecordsFormat);
}

} // namespace rw
