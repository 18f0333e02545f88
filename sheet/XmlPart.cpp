#include "sheet/XmlPart.h"

namespace rw {
namespace {

constexpr std::uint64_t kProgressStepBytes = std::uint64_t{1} << 20;

} // namespace

SheetResult ReadXmlPart(const ZipArchive& archive, const ZipArchive::Part& part, std::uint64_t limit,
                        XmlHandler& handler, const SheetResult& handlerFailure, const UnpackProgress& progress)
{
    XmlStream xml(handler);
    bool cancelled = false;
    std::uint64_t unpacked = 0;
    std::uint64_t nextReport = kProgressStepBytes;
    SheetResult result = archive.Unpack(part, limit, [&](std::string_view piece) {
        unpacked += piece.size();
        if (progress && unpacked >= nextReport) {
            nextReport = unpacked + kProgressStepBytes;
            if (!progress(unpacked)) return !(cancelled = true);
        }
        return xml.Feed(piece, false);
    });
    if (!result.Ok()) return result;
    if (cancelled) {
        result.failure = SheetFailure::Cancelled;
        return result;
    }
    // The end of the text: what the parser still holds must make a whole document.
    if (xml.Feed({}, true)) return result;
    if (xml.StoppedByHandler() && !xml.RefusedDocumentType()) {
        result = handlerFailure;
        if (!result.Ok() && result.part.empty()) result.part = part.name;
        if (!result.Ok() && result.line == 0 && result.failure == SheetFailure::BadXml) result.line = xml.Line();
        return result;
    }
    result.failure = SheetFailure::BadXml;
    result.part = part.name;
    result.line = xml.Line();
    if (xml.RefusedDocumentType()) {
        result.problem = SheetXmlProblem::DocumentType;
    } else {
        result.problem = SheetXmlProblem::NotWellFormed;
        result.detail = xml.ErrorText();
    }
    return result;
}

} // namespace rw
