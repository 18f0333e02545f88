#include "view/RecordLists.h"

#include "data/ListedFirst.h"
#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QStringList>

#include <algorithm>

namespace rw {

QString ListedFirst(std::size_t count, const std::function<QString(std::size_t i)>& text, const char* moreFormat)
{
    return rw::ListedFirst(count, QStringLiteral(", "), text, [&](std::size_t more) { return Text(moreFormat, more); });
}

QString IdsNamed(const std::vector<std::int32_t>& ids)
{
    return ListedFirst(ids.size(), [&](std::size_t i) { return Text(str::kRecordIdFormat, ids[i]); },
                       str::kMoreRecordsFormat);
}

} // namespace rw
