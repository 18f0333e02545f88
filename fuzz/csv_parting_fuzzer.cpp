// The two-thread CSV import against the one-thread import of the same bytes: records, errors,
// warnings and name changes must be the same, byte for byte. The text is parted from a few
// dozen bytes on, so that an input of a few kilobytes is parted many times, on any machine.
// First byte the kind; second how small a text is still parted; third the size of the pieces
// the text is given in (0: whole); the rest the CSV. Names pass through as bytes.

#include "fuzz/FuzzCheck.h"
#include "fuzz/SameRecords.h"
#include "csv/RowImporter.h"
#include "data/PassThroughNames.h"

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace rw;

// Each piece appended to what the importer left; what it took, at each step.
[[nodiscard]] std::vector<std::size_t> Feed(RowImporter& importer, std::string_view text, std::size_t piece)
{
    std::vector<std::size_t> taken;
    std::string held;
    for (std::size_t at = 0; !importer.Finished();) {
        const std::size_t n = std::min(piece, text.size() - at);
        held.append(text.substr(at, n));
        at += n;
        const bool atEnd = at == text.size();
        const std::size_t used = importer.Consume(held, atEnd);
        Require(used <= held.size());
        taken.push_back(used);
        held.erase(0, used);
        if (atEnd) break;
    }
    return taken;
}

[[nodiscard]] auto Fields(const CsvIssue& i)
{
    return std::tie(i.kind, i.line, i.column, i.syntax, i.inHeader, i.text, i.number, i.expected, i.otherLine, i.cellType);
}

[[nodiscard]] bool SameIssues(const std::vector<CsvIssue>& a, const std::vector<CsvIssue>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const CsvIssue& x, const CsvIssue& y) { return Fields(x) == Fields(y); });
}

[[nodiscard]] bool SameNameChanges(const std::vector<NameChange>& a, const std::vector<NameChange>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const NameChange& x, const NameChange& y) {
        return std::tie(x.line, x.id, x.storedText, x.newText) == std::tie(y.line, y.id, y.storedText, y.newText);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) return 0;
    const FileKind kind = FileKindFromInt(data[0] % 3);
    const std::size_t partedFrom = 16 + std::size_t{data[1]} * 4;
    const std::size_t piece = data[2] == 0 ? std::numeric_limits<std::size_t>::max() : std::size_t{data[2]} * 64;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    const PassThroughNames names;

    RowImporter one(kind, names);
    one.SetParting({.minBytes = std::numeric_limits<std::size_t>::max()});
    RowImporter two(kind, names);
    two.SetParting({.minBytes = partedFrom, .onOneProcessor = true});
    Require(Feed(one, text, piece) == Feed(two, text, piece));

    Require(one.Finished() && two.Finished());
    Require(one.Kind() == two.Kind());
    Require(one.ErrorCount() == two.ErrorCount() && SameIssues(one.Errors(), two.Errors()));
    Require(SameIssues(one.Warnings(), two.Warnings()));
    Require(one.NameChangeCount() == two.NameChangeCount() && SameNameChanges(one.NameChanges(), two.NameChanges()));
    Require(one.RowCount() == two.RowCount() && one.RecordCount() == two.RecordCount());
    Require(SameRecords(one.Records(), two.Records()));
    return 0;
}
