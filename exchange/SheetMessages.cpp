#include "exchange/SheetMessages.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

namespace rw {
namespace {

[[nodiscard]] QString BeyondText(const SheetResult& result)
{
    switch (result.beyond) {
    case SheetBeyond::TokenBytes: return Text(str::kSheetBeyondTokenFormat, result.limit);
    case SheetBeyond::NameBytes: return Text(str::kSheetBeyondNameFormat, result.limit);
    case SheetBeyond::Depth: return Text(str::kSheetBeyondDepthFormat, result.limit);
    case SheetBeyond::Sheets: return Text(str::kSheetBeyondSheetsFormat, result.limit);
    case SheetBeyond::Relationships: return Text(str::kSheetBeyondRelationshipsFormat, result.limit);
    case SheetBeyond::Members: break;
    }
    return Text(str::kSheetBeyondMembersFormat, result.limit);
}

} // namespace

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
    case SheetFailure::BeyondLimit:
        return Text(str::kSheetFailureBeyondFormat, part.isEmpty() ? Text(str::kSheetWholeWorkbook) : part, BeyondText(result));
    case SheetFailure::DuplicateMember: return Text(str::kSheetFailureDuplicateMemberFormat, detail);
    case SheetFailure::HiddenSheet: return Text(str::kSheetFailureHiddenSheetFormat, detail);
    case SheetFailure::NotAWorksheet: return Text(str::kSheetFailureNotAWorksheetFormat, part, detail);
    case SheetFailure::OutOfMemory: return Text(str::kSheetFailureOutOfMemory);
    case SheetFailure::NotInThisBuild: return Text(str::kSheetFailureNotInThisBuild);
    }
    return {};
}

} // namespace rw
