// The find bar's and update --where's query over any text: a query that parses is written out
// in its own form, which parses again to the same query (written out the same, meeting the
// same records). First byte the kind; the rest the query, names read as the editor reads them.
// The records it is tried on: an empty one, and ones made from the query's own bytes, so that
// its numbers and names have a chance to meet them.

#include "fuzz/FuzzCheck.h"
#include "data/RecordBytes.h"
#include "query/RecordQuery.h"
#include "text/Utf8NameTranscoder.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rw;
    if (size < 1) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const RecordSchema& schema = SchemaOf(kind);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const Utf8NameTranscoder names;

    const RecordQuery query = RecordQuery::Parse(text, kind, names);
    if (query.Error()) {
        Require(!query.Empty() && query.CanonicalText().empty());
        return 0;
    }
    const std::string written = query.CanonicalText();
    Require(written.empty() == query.Empty());
    const RecordQuery again = RecordQuery::Parse(written, kind, names);
    Require(!again.Error() && again.Empty() == query.Empty());
    Require(again.CanonicalText() == written);

    // Records: zeros; the query's bytes laid over a record from each offset a field may have,
    // and as the name.
    std::vector<std::vector<std::uint8_t>> records(1, std::vector<std::uint8_t>(schema.recordSize));
    for (std::size_t offset = 0; offset < schema.recordSize; offset += 4) {
        std::vector<std::uint8_t> record(schema.recordSize);
        std::copy_n(data + 1, std::min(size - 1, record.size() - offset), record.begin() + static_cast<std::ptrdiff_t>(offset));
        records.push_back(record);
    }
    std::string nameBytes;
    (void)names.AppendNameBytes(text.substr(0, std::min<std::size_t>(text.size(), 64)), nameBytes);
    std::vector<std::uint8_t> named(schema.recordSize);
    WriteShortName(schema, named.data(), nameBytes.substr(0, schema.nameCapacity));
    records.push_back(named);
    for (const auto& record : records) Require(query.Matches(record) == again.Matches(record));
    return 0;
}
