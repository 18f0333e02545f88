#pragma once

// The texts of the status bar's panes.

#include <QDate>
#include <QString>
#include <QTime>

namespace rw {

class TableDocument;

// "2024年03月07日"
[[nodiscard]] QString FormatStatusDate(const QDate& date);
// "09:05:03", 24-hour
[[nodiscard]] QString FormatStatusClock(const QTime& time);
// A command's prompt holds the status text, a line break and a short name; the bar shows the
// text before the break.
[[nodiscard]] QString StatusTextOfPrompt(const QString& prompt);

// What is unsaved, as the status bar says it: "已修改 n 条记录", "记录顺序已改变", or both.
[[nodiscard]] QString UnsavedText(TableDocument& document);

} // namespace rw
