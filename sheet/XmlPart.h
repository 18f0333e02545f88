#pragma once

// One part of a workbook unpacked straight into the XML parser, the two working piece by
// piece, so that memory stays that of one piece whatever the part's size.

#include "sheet/SheetResult.h"
#include "sheet/XmlStream.h"
#include "sheet/ZipArchive.h"

#include <cstdint>
#include <functional>

namespace rw {

// Told the bytes unpacked so far, now and then; false cancels.
using UnpackProgress = std::function<bool(std::uint64_t unpacked)>;

// Reads the part through handler. handlerFailure is what the handler keeps of why it stopped
// (its failure None when it stopped because it had read enough); the answer is that, a
// failure of the archive or the XML (markup beyond limits included), or Cancelled.
[[nodiscard]] SheetResult ReadXmlPart(const ZipArchive& archive, const ZipArchive::Part& part, std::uint64_t limit,
                                      XmlHandler& handler, const SheetResult& handlerFailure,
                                      const UnpackProgress& progress = {}, const XmlLimits& limits = {});

} // namespace rw
