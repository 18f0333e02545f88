#include "exchange/SheetMessages.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

namespace rw {

QString SheetFailureText(const SheetResult& result)
{
    const QString detail = Text(std::string_view(result.detail));
    const QString part = Text(std::string_view(result.part));
    switch (result.failure) {
    case SheetFailure::None:
    case SheetFailure::Cancelled: return {};
    case SheetFailure::CannotWrite:
    case SheetFailure::CannotRead: return detail.isEmpty() ? Text(str::kSheetFailureNotAFile) : detail;
    case SheetFailure::NotZip: return Text(str::kSheetFailureNotZip);
    case SheetFailure::DamagedZip: return Text(str::kSheetFailureDamagedFormat, part, detail);
    case SheetFailure::NoWorksheet: return Text(str::kSheetFailureNoWorksheetFormat, part);
    case SheetFailure::TooLarge:
    case SheetFailure::PackedTooDensely:
    case SheetFailure::TooManyStrings: return Text(str::kSheetFailureTooLargeFormat, part);
    case SheetFailure::BadXml: return Text(str::kSheetFailureBadXmlFormat, part, result.line, detail);
    case SheetFailure::TooManyRows: return Text(str::kSheetFailureTooManyRowsFormat, result.limit);
    case SheetFailure::CellTooLong: return Text(str::kSheetFailureCellTooLongFormat, result.line, result.limit);
    case SheetFailure::NotInThisBuild: return Text(str::kSheetFailureNotInThisBuild);
    }
    return {};
}

} // namespace rw
