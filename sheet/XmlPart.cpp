#include "sheet/XmlPart.h"

namespace rw {
namespace {

constexpr std::uint64_t kProgressStepBytes = std::uint64_t{1} << 20;

[[nodiscard]] SheetResult Beyond(SheetResult result, SheetBeyond beyond, std::uint64_t limit)
{
    result.failure = SheetFailure::BeyondLimit;
    result.beyond = beyond;
    result.limit = limit;
    return result;
}

} // namespace

SheetResult ReadXmlPart(const ZipArchive& archive, const ZipArchive::Part& part, std::uint64_t limit,
                        XmlHandler& handler, const SheetResult& handlerFailure, const UnpackProgress& progress,
                        const XmlLimits& limits)
{
    XmlStream xml(handler, limits);
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
    result.part = part.name;
    result.line = xml.Line();
    switch (xml.Stopped()) {
    case XmlStream::Stop::ByHandler: {
        const std::uint64_t line = result.line;
        result = handlerFailure;
        if (!result.Ok() && result.part.empty()) result.part = part.name;
        if (!result.Ok() && result.line == 0 && result.failure == SheetFailure::BadXml) result.line = line;
        return result;
    }
    case XmlStream::Stop::DocumentType:
        result.failure = SheetFailure::BadXml;
        result.problem = SheetXmlProblem::DocumentType;
        return result;
    case XmlStream::Stop::TokenTooLong: return Beyond(result, SheetBeyond::TokenBytes, limits.tokenBytes);
    case XmlStream::Stop::NameTooLong: return Beyond(result, SheetBeyond::NameBytes, limits.nameBytes);
    case XmlStream::Stop::TooDeep: return Beyond(result, SheetBeyond::Depth, limits.depth);
    case XmlStream::Stop::OutOfMemory: result.failure = SheetFailure::OutOfMemory; return result;
    case XmlStream::Stop::None: break;
    }
    result.failure = SheetFailure::BadXml;
    result.problem = SheetXmlProblem::NotWellFormed;
    result.detail = xml.ErrorText();
    return result;
}

} // namespace rw
