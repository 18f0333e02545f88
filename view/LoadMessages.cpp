#include "view/LoadMessages.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QLocale>
#include <QStringList>

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
    const char* words = str::kReasonSystemOther;
    if (error == std::errc::no_such_file_or_directory) words = str::kReasonNoFile;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
        words = str::kReasonNoPermission;
    }
    if (error == std::errc::too_many_symbolic_link_levels) words = str::kReasonLinkLoop;
    if (error == std::errc::filename_too_long) words = str::kReasonNameTooLong;
    if (error == std::errc::not_a_directory) words = str::kReasonNotAFolder;
    if (error == std::errc::io_error) words = str::kReasonIoError;
    if (!error) return Text(words);
#ifdef _WIN32
    // The platform layer gives Windows' own texts as UTF-8, whatever the code page.
    const QString systemWords = QString::fromStdString(SystemText(error));
#else
    const QString systemWords = QString::fromLocal8Bit(SystemText(error).c_str());
#endif
    return Text(str::kReasonSystemFormat, Text(words), systemWords);
}

QString RefusedRecordsSummary(const std::vector<std::int32_t>& ids)
{
    constexpr std::size_t kIdsListed = 40;
    std::vector<std::pair<std::int32_t, std::size_t>> distinct; // ID, how often
    std::unordered_map<std::int32_t, std::size_t> where;
    for (const std::int32_t id : ids) {
        const auto [it, added] = where.try_emplace(id, distinct.size());
        if (added) distinct.emplace_back(id, 0);
        ++distinct[it->second].second;
    }
    QStringList listed;
    for (std::size_t i = 0; i < std::min(distinct.size(), kIdsListed); ++i) {
        const auto [id, times] = distinct[i];
        listed.push_back(times == 1 ? QString::number(id) : Text(str::kLoadRefusedTimesFormat, id, times));
    }
    QString list = listed.join(QStringLiteral(", "));
    if (distinct.size() > kIdsListed) list += Text(str::kLoadRefusedMoreFormat, distinct.size() - kIdsListed);
    return Text(str::kLoadRefusedSummaryFormat, ids.size(), list);
}

} // namespace rw
