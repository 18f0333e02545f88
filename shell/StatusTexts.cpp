#include "shell/StatusTexts.h"

#include "resources/Strings.h"

namespace rw {

QString FormatStatusDate(const QDate& date)
{
    return QString::asprintf(str::kDateFormat, date.year(), date.month(), date.day());
}

QString FormatStatusClock(const QTime& time)
{
    return QString::asprintf(str::kTimeFormat, time.hour(), time.minute(), time.second());
}

QString StatusTextOfPrompt(const QString& prompt)
{
    return prompt.section(QLatin1Char('\n'), 0, 0);
}

} // namespace rw
