#include "view/LoadMessages.h"

#include "resources/Strings.h"
#include "ui/Texts.h"
#include "view/RecordLists.h"
#include "view/SystemReasons.h"

#include <QLocale>

#include <unordered_map>
#include <utility>

namespace rw {

QString LoadFailureReason(const DecodeReport& report)
{
    switch (report.failure) {
    case LoadFailure::NotRegularFile: return Text(str::kReasonNotRegularFile);
    case LoadFailure::NoRecords: return Text(str::kReasonNoRecordsFormat, report.announcedCount);
    case LoadFailure::TooLarge:
        return Text(str::kReasonTooLargeFormat,
                    QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(static_cast<qint64>(report.fileSize)));
    case LoadFailure::CannotRead:
    case LoadFailure::None: break;
    }
    const std::error_code& error = report.error;
    if (!error) return Text(str::kReasonSystemOther);
    if (const QString common = CommonReasonText(error, FileUse::Read); !common.isEmpty()) return common;
    // The rest say what they are about in our words, and exactly in the system's.
    const char* words = str::kReasonSystemOther;
    if (error == std::errc::filename_too_long) words = str::kReasonNameTooLong;
    if (error == std::errc::not_a_directory) words = str::kReasonNotAFolder;
    if (error == std::errc::io_error) words = str::kReasonIoError;
    return Text(str::kReasonSystemFormat, Text(words), SystemWords(error));
}

QString RefusedRecordsSummary(const std::vector<std::int32_t>& ids)
{
    std::vector<std::pair<std::int32_t, std::size_t>> distinct; // ID, how often
    std::unordered_map<std::int32_t, std::size_t> where;
    for (const std::int32_t id : ids) {
        const auto [it, added] = where.try_emplace(id, distinct.size());
        if (added) distinct.emplace_back(id, 0);
        ++distinct[it->second].second;
    }
    const QString list = ListedFirst(
        distinct.size(),
        [&](std::size_t i) {
            const auto [id, times] = distinct[i];
            return times == 1 ? QString::number(id) : Text(str::kLoadRefusedTimesFormat, id, times);
        },
        str::kLoadRefusedMoreFormat);
    return Text(str::kLoadRefusedSummaryFormat, ids.size(), list);
}

} // namespace rw
