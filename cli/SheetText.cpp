#include "cli/SheetText.h"

#include "cli/CliText.h"
#include "resources/Strings.h"

namespace rw {
namespace {

[[nodiscard]] std::string XmlProblemText(const SheetResult& result)
{
    switch (result.problem) {
    case SheetXmlProblem::NotWellFormed: return Format<str::kSheetXmlNotWellFormedFormat>(result.detail);
    case SheetXmlProblem::DocumentType: return str::kSheetXmlDocumentType;
    case SheetXmlProblem::BadRowNumber: return Format<str::kSheetXmlBadRowNumberFormat>(result.detail);
    case SheetXmlProblem::RowOutOfOrder: return Format<str::kSheetXmlRowOutOfOrderFormat>(result.detail);
    case SheetXmlProblem::BadCellReference: return Format<str::kSheetXmlBadCellReferenceFormat>(result.detail);
    case SheetXmlProblem::CellOutOfOrder: return Format<str::kSheetXmlCellOutOfOrderFormat>(result.detail);
    case SheetXmlProblem::NoSuchSharedString: return Format<str::kSheetXmlNoSuchSharedStringFormat>(result.detail);
    }
    return {};
}

[[nodiscard]] long long Number(std::uint64_t n) { return static_cast<long long>(n); }

[[nodiscard]] std::string BeyondText(const SheetResult& result)
{
    const long long limit = Number(result.limit);
    switch (result.beyond) {
    case SheetBeyond::TokenBytes: return Format<str::kCliSheetBeyondTokenFormat>(limit);
    case SheetBeyond::NameBytes: return Format<str::kCliSheetBeyondNameFormat>(limit);
    case SheetBeyond::Depth: return Format<str::kCliSheetBeyondDepthFormat>(limit);
    case SheetBeyond::Sheets: return Format<str::kCliSheetBeyondSheetsFormat>(limit);
    case SheetBeyond::Relationships: return Format<str::kCliSheetBeyondRelationshipsFormat>(limit);
    case SheetBeyond::Members: break;
    }
    return Format<str::kCliSheetBeyondMembersFormat>(limit);
}

} // namespace

std::string DescribeSheetFailure(const std::string& file, const SheetResult& r)
{
    switch (r.failure) {
    case SheetFailure::CannotWrite: return Format<str::kCliCannotWriteFormat>(file, r.detail);
    case SheetFailure::CannotRead:
        return Format<str::kCliCannotReadFormat>(file, r.detail.empty() ? std::string(str::kCliNotRegularFile) : r.detail);
    case SheetFailure::NotZip: return Format<str::kCliSheetNotZipFormat>(file, r.detail);
    case SheetFailure::DamagedZip: return Format<str::kCliSheetDamagedZipFormat>(file, r.part, r.detail);
    case SheetFailure::NoWorksheet: return Format<str::kCliSheetNoWorksheetFormat>(file, r.part);
    case SheetFailure::TooLarge: return Format<str::kCliSheetTooLargeFormat>(file, r.part, Number(r.limit));
    case SheetFailure::PackedTooDensely: return Format<str::kCliSheetPackedTooDenselyFormat>(file, r.part, Number(r.limit));
    case SheetFailure::BadXml: return Format<str::kCliSheetBadXmlFormat>(file, r.part, Number(r.line), XmlProblemText(r));
    case SheetFailure::TooManyRows:
        // Writing refuses before anything is written, reading when it comes to the row.
        return r.part.empty() ? Format<str::kCliSheetTooManyRecordsFormat>(file, Number(r.line), Number(r.limit))
                              : Format<str::kCliSheetTooManyRowsFormat>(file, Number(r.line), Number(r.limit));
    case SheetFailure::TooManyStrings: return Format<str::kCliSheetTooManyStringsFormat>(file, r.part, Number(r.limit));
    case SheetFailure::CellTooLong:
        return r.line > 0 ? Format<str::kCliSheetCellTooLongFormat>(file, Number(r.line), Number(r.limit))
                          : Format<str::kCliSheetStringTooLongFormat>(file, r.part, Number(r.limit));
    case SheetFailure::BeyondLimit:
        return Format<str::kCliSheetBeyondFormat>(file, r.part.empty() ? std::string(str::kCliSheetWholeArchive) : r.part,
                                                  BeyondText(r));
    case SheetFailure::DuplicateMember: return Format<str::kCliSheetDuplicateMemberFormat>(file, r.detail);
    case SheetFailure::HiddenSheet: return Format<str::kCliSheetHiddenSheetFormat>(file, r.detail);
    case SheetFailure::NotAWorksheet: return Format<str::kCliSheetNotAWorksheetFormat>(file, r.part, r.detail);
    case SheetFailure::OutOfMemory: return Format<str::kCliSheetOutOfMemoryFormat>(file);
    case SheetFailure::NotInThisBuild: return Format<str::kCliSheetNotInThisBuildFormat>(file);
    case SheetFailure::Cancelled:
    case SheetFailure::None: break;
    }
    return {};
}

} // namespace rw
