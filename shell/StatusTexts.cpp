#include "shell/StatusTexts.h"

#include "resources/Strings.h"
#include "table/TableDocument.h"
#include "ui/Texts.h"

namespace rw {

QString FormatStatusDate(const QDate& date)
{
    return Text(str::kDateFormat)
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString FormatStatusClock(const QTime& time)
{
    return Text(str::kTimeFormat)
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString StatusTextOfPrompt(const QString& prompt)
{
    return prompt.section(QLatin1Char('\n'), 0, 0);
}

QString UnsavedText(TableDocument& document)
{
    const std::size_t changed = document.Model().ChangedRecordCount();
    if (!document.SortedSinceSaved()) return Text(str::kStatusChangedFormat, changed);
    return changed == 0 ? Text(str::kStatusOrderChanged) : Text(str::kStatusChangedAndOrderFormat, changed);
}

} // namespace rw
