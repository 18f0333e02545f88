// The worksheet functions of a build without the worksheet libraries: each answers that this
// build has none, before anything is read or written.

#include "sheet/SheetReader.h"
#include "sheet/SheetWriter.h"

namespace rw {
namespace {

[[nodiscard]] SheetResult NotInThisBuild()
{
    SheetResult result;
    result.failure = SheetFailure::NotInThisBuild;
    return result;
}

} // namespace

SheetResult WriteRecordSheet(const std::string&, FileKind, std::size_t,
                             const std::function<std::span<const std::uint8_t>(std::size_t)>&, const NameTranscoder&,
                             const SheetProgress&)
{
    return NotInThisBuild();
}

SheetResult ReadRecordSheet(const std::string&, RowImporter&, const SheetProgress&) { return NotInThisBuild(); }

SheetResult ReadRecordSheet(std::span<const std::uint8_t>, RowImporter&, const SheetProgress&) { return NotInThisBuild(); }

} // namespace rw
