#pragma once

// The one loop that reads a CSV file into a RowImporter, for the command line and the editor
// alike: through a buffer of fixed size, whatever the file's size, skipping a UTF-8 byte
// order mark at the start when asked to.

#include "csv/RowImporter.h"
#include "system/Platform.h"

#include <cstdint>
#include <functional>

namespace rw {

enum class FeedResult : std::uint8_t {
    Done,       // the importer has seen the end, or enough: see its Finished() and Ok()
    ReadFailed, // input.Error() says why
    Cancelled,  // keepGoing said no; the importer is left unfinished
};

// keepGoing, when given, is told the bytes read so far after each megabyte or so, and ends
// the reading by answering false.
[[nodiscard]] FeedResult FeedCsv(InputFile& input, bool skipBom, RowImporter& importer,
                                 const std::function<bool(std::uint64_t bytesRead)>& keepGoing);

} // namespace rw
