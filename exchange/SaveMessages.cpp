#include "exchange/SaveMessages.h"

#include "resources/Strings.h"
#include "ui/Texts.h"
#include "view/KindQuestion.h"
#include "view/SystemReasons.h"

#include <QStringList>

namespace rw {
namespace {

[[nodiscard]] QString WhatStands(NameEntry entry)
{
    switch (entry) {
    case NameEntry::SymbolicLink: return Text(str::kNameEntryLink);
    case NameEntry::Folder: return Text(str::kNameEntryFolder);
    case NameEntry::PipeOrDevice: return Text(str::kNameEntryPipeOrDevice);
    case NameEntry::RegularFile: return Text(str::kNameEntryOthersFile); // a regular file is refused only as another's
    case NameEntry::Other:
    case NameEntry::Nothing: break;
    }
    return Text(str::kNameEntryOther);
}

} // namespace

QString LossQuestion(const LoadLoss& loss, const QString& path)
{
    QStringList lost;
    if (loss.fittingKind != FileKind::None) {
        lost.push_back(Text(str::kLossOtherKindFormat, KindWord(loss.fittingKind), KindWord(loss.kind)));
    }
    if (loss.missingBytes > 0) {
        lost.push_back(Text(str::kLossMissingFormat, Grouped(static_cast<std::uint64_t>(loss.announcedCount)),
                            Grouped(loss.missingBytes)));
    }
    if (loss.trailingBytes > 0) lost.push_back(Text(str::kLossTrailingFormat, Grouped(loss.trailingBytes)));
    if (loss.refusedRecords > 0) lost.push_back(Text(str::kLossRefusedFormat, Grouped(loss.refusedRecords)));
    return Text(str::kLossQuestionFormat, path, lost.join(QLatin1Char('\n')));
}

QString BackupFailure(const BackupReport& report, const QString& table, const QString& backup)
{
    switch (report.fault) {
    case BackupFault::TableUnreadable:
        // A table that is now a folder is no file to save over, whatever its backup.
        if (KindOfError(report.error) == ErrorKind::IsAFolder) {
            return Text(str::kSaveFailedFormat, table, Text(str::kReasonIsAFolder));
        }
        return Text(str::kBackupReadFailedFormat, table, ReasonText(report.error, FileUse::Read));
    case BackupFault::TableNotAFile: return Text(str::kSaveFailedFormat, table, Text(str::kReasonNotRegularFile));
    case BackupFault::NameTaken: return Text(str::kBackupNameTakenFormat, backup, WhatStands(report.entry));
    case BackupFault::NameIsTable: return Text(str::kBackupNameIsTableFormat, backup, table);
    case BackupFault::CannotWrite:
    case BackupFault::TableChanged: // said as a change on disk, before this is asked
    case BackupFault::None: break;
    }
    return Text(str::kBackupFailedFormat, backup, ReasonText(report.error, FileUse::Write));
}

} // namespace rw
