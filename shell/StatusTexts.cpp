#include "shell/StatusTexts.h"

#include "resources/Strings.h"
#include "table/EditSteps.h"
#include "table/TableDocument.h"
#include "ui/Texts.h"

#include <algorithm>

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

bool SortedSinceSaved(const QUndoStack& history)
{
    // Steps done since, or undone back past the saved state: either way they set the order.
    const int saved = history.cleanIndex();
    if (saved < 0) return false;
    const int now = history.index();
    for (int i = std::min(saved, now); i < std::max(saved, now); ++i) {
        if (dynamic_cast<const SortStep*>(history.command(i)) != nullptr) return true;
    }
    return false;
}

QString UnsavedText(TableDocument& document)
{
    const std::size_t changed = document.Model().ChangedRecordCount();
    if (!SortedSinceSaved(document.History())) return Text(str::kStatusChangedFormat, changed);
    return changed == 0 ? Text(str::kStatusOrderChanged) : Text(str::kStatusChangedAndOrderFormat, changed);
}

} // namespace rw
