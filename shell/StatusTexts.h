#pragma once

// The texts of the status bar's panes.

#include <QDate>
#include <QString>
#include <QTime>

namespace rw {

// "2024年03月07日"
[[nodiscard]] QString FormatStatusDate(const QDate& date);
// "09:05:03", 24-hour
[[nodiscard]] QString FormatStatusClock(const QTime& time);
// A command's prompt holds the status text, a line break and a short name; the bar shows the
// text before the break.
[[nodiscard]] QString StatusTextOfPrompt(const QString& prompt);

} // namespace rw
