#include "sheet/WorkbookParts.h"

#include "sheet/SheetLimits.h"
#include "sheet/XmlPart.h"

#include <vector>

namespace rw {
namespace {

constexpr std::string_view kPackageRelationships = "_rels/.rels";
constexpr std::string_view kUsualWorkbook = "xl/workbook.xml";

struct Relationship {
    std::string id;
    std::string type;
    std::string target;
};

[[nodiscard]] bool EndsWith(std::string_view text, std::string_view end) { return text.ends_with(end); }

class RelationshipsReader final : public XmlHandler {
public:
    bool Start(std::string_view name, const XmlAttributes& attributes) override
    {
        if (name != "Relationship") return true;
        // Links out of the package (TargetMode="External") name nothing in it.
        if (attributes.Plain("TargetMode").value_or("") == "External") return true;
        relationships.push_back({std::string(attributes.Plain("Id").value_or("")),
                                 std::string(attributes.Plain("Type").value_or("")),
                                 std::string(attributes.Plain("Target").value_or(""))});
        return true;
    }
    bool End(std::string_view) override { return true; }
    bool Text(std::string_view) override { return true; }

    std::vector<Relationship> relationships;
    SheetResult failure;
};

// The sheets' relationship IDs in the workbook's order.
class WorkbookReader final : public XmlHandler {
public:
    bool Start(std::string_view name, const XmlAttributes& attributes) override
    {
        if (name == "sheet") sheetIds.emplace_back(attributes.Qualified("id").value_or(""));
        return true;
    }
    bool End(std::string_view) override { return true; }
    bool Text(std::string_view) override { return true; }

    std::vector<std::string> sheetIds;
    SheetResult failure;
};

[[nodiscard]] std::string RelationshipsPartOf(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

// Reads a small part through handler; a missing part reads as empty.
[[nodiscard]] SheetResult ReadSmallPart(const ZipArchive& archive, const std::string& name, XmlHandler& handler,
                                        const SheetResult& handlerFailure, bool& found)
{
    const std::optional<ZipArchive::Part> part = archive.Find(name);
    found = part.has_value();
    if (!part) return {};
    return ReadXmlPart(archive, *part, sheet_limits::kMaxSmallPartBytes, handler, handlerFailure);
}

[[nodiscard]] SheetResult NoWorksheet(const std::string& part)
{
    SheetResult result;
    result.failure = SheetFailure::NoWorksheet;
    result.part = part;
    return result;
}

} // namespace

std::string ResolvePartName(const std::string& sourcePart, const std::string& target)
{
    std::string path;
    if (target.starts_with('/')) {
        path = target.substr(1);
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + target;
    }
    std::vector<std::string> segments;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t to = path.find('/', from);
        if (to == std::string::npos) to = path.size();
        const std::string segment = path.substr(from, to - from);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        from = to + 1;
    }
    std::string name;
    for (const std::string& segment : segments) name += (name.empty() ? "" : "/") + segment;
    return name;
}

SheetResult FindWorkbookParts(const ZipArchive& archive, WorkbookParts& parts)
{
    bool found = false;
    RelationshipsReader package;
    if (SheetResult r = ReadSmallPart(archive, std::string(kPackageRelationships), package, package.failure, found); !r.Ok()) {
        return r;
    }
    // A package without its relationships is damaged, but its workbook may still be where
    // every spreadsheet program puts it.
    std::string workbook(kUsualWorkbook);
    for (const Relationship& r : package.relationships) {
        if (EndsWith(r.type, "/officeDocument")) {
            workbook = ResolvePartName("", r.target);
            break;
        }
    }

    WorkbookReader sheets;
    if (SheetResult r = ReadSmallPart(archive, workbook, sheets, sheets.failure, found); !r.Ok()) return r;
    if (!found) return NoWorksheet(workbook);
    RelationshipsReader links;
    const std::string linksPart = RelationshipsPartOf(workbook);
    if (SheetResult r = ReadSmallPart(archive, linksPart, links, links.failure, found); !r.Ok()) return r;
    if (!found) return NoWorksheet(linksPart);

    for (const Relationship& r : links.relationships) {
        if (!EndsWith(r.type, "/sharedStrings")) continue;
        parts.sharedStrings = archive.Find(ResolvePartName(workbook, r.target));
        break;
    }
    for (const std::string& id : sheets.sheetIds) {
        for (const Relationship& r : links.relationships) {
            if (r.id != id || !EndsWith(r.type, "/worksheet")) continue;
            const std::string name = ResolvePartName(workbook, r.target);
            const std::optional<ZipArchive::Part> part = archive.Find(name);
            if (!part) return NoWorksheet(name);
            parts.worksheet = *part;
            return {};
        }
    }
    return NoWorksheet(workbook);
}

} // namespace rw
