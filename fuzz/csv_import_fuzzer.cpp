// The CSV importer over any text: first byte the kind, second where the text is cut in two
// for reading in pieces, the rest the CSV. Names pass through as bytes.

#include "fuzz/FuzzCheck.h"
#include "fuzz/SameRecords.h"
#include "csv/CsvExport.h"
#include "csv/RowImporter.h"
#include "data/PassThroughNames.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rw;
    if (size < 2) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const PassThroughNames names;

    RowImporter whole(kind, names);
    Require(whole.Consume(text, true) == text.size());
    Require(whole.Errors().size() <= RowImporter::kMaxErrors && whole.Errors().size() <= whole.ErrorCount());
    Require(whole.Ok() == (whole.ErrorCount() == 0));
    if (!whole.Ok()) Require(whole.Records().Count() == 0);

    // Read in two pieces, as through a buffer, the outcome is the same; what the first read
    // leaves untaken is less than a row may be, so a buffer of fixed size always has room.
    RowImporter pieces(kind, names);
    const std::size_t cut = text.size() * data[1] / 255;
    const std::size_t taken = pieces.Consume(text.substr(0, cut), false);
    Require(taken <= cut && cut - taken < CsvTokenizer::kMaxRowBytes);
    if (pieces.Finished()) Require(taken == cut && !whole.Ok());
    pieces.Consume(text.substr(taken), true);
    Require(pieces.Ok() == whole.Ok() && pieces.ErrorCount() == whole.ErrorCount());
    Require(pieces.Warnings().size() == whole.Warnings().size());
    Require(SameRecords(pieces.Records(), whole.Records()));
    if (!whole.Ok()) return 0;

    // What was imported exports and imports again to the same records.
    std::string csv;
    std::vector<std::uint8_t> images;
    for (std::size_t i = 0; i < whole.Records().Count(); ++i) {
        const auto r = whole.Records().RecordAt(i);
        images.insert(images.end(), r.begin(), r.end());
    }
    CsvExporter(kind, names).Export(images, [&](std::string_view piece) {
        csv.append(piece);
        return true;
    });
    RowImporter again(kind, names);
    again.Consume(csv, true);
    Require(again.Ok() && SameRecords(again.Records(), whole.Records()));
    return 0;
}
