#include "sheet/WorkbookParts.h"

#include "sheet/SheetLimits.h"
#include "sheet/XmlPart.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace rw {
namespace {

constexpr std::string_view kPackageRelationships = "_rels/.rels";
constexpr std::string_view kUsualWorkbook = "xl/workbook.xml";

struct Relationship {
    std::string type;
    std::string target;
};

[[nodiscard]] bool EndsWith(std::string_view text, std::string_view end) { return text.ends_with(end); }

[[nodiscard]] SheetResult Beyond(SheetBeyond beyond, std::uint64_t limit)
{
    SheetResult result;
    result.failure = SheetFailure::BeyondLimit;
    result.beyond = beyond;
    result.limit = limit;
    return result;
}

// A part's relationships by their IDs; the first of an ID is the one taken.
class RelationshipsReader final : public XmlHandler {
public:
    bool Start(std::string_view name, const XmlAttributes& attributes) override
    {
        if (name != "Relationship") return true;
        if (++m_count > sheet_limits::kMaxRelationships) {
            failure = Beyond(SheetBeyond::Relationships, sheet_limits::kMaxRelationships);
            return false;
        }
        // Links out of the package (TargetMode="External") name nothing in it.
        if (attributes.Plain("TargetMode").value_or("") == "External") return true;
        const std::string_view type = attributes.Plain("Type").value_or("");
        if (EndsWith(type, "/officeDocument") && !officeDocument) officeDocument = attributes.Plain("Target").value_or("");
        if (EndsWith(type, "/sharedStrings") && !sharedStrings) sharedStrings = attributes.Plain("Target").value_or("");
        byId.try_emplace(std::string(attributes.Plain("Id").value_or("")), Relationship{std::string(type),
                         std::string(attributes.Plain("Target").value_or(""))});
        return true;
    }
    bool End(std::string_view) override { return true; }
    bool Text(std::string_view) override { return true; }

    std::unordered_map<std::string, Relationship> byId;
    // The first target of these types, in the order the part gives them.
    std::optional<std::string> officeDocument;
    std::optional<std::string> sharedStrings;
    SheetResult failure;

private:
    std::uint64_t m_count = 0;
};

// The workbook's sheets in its order.
class WorkbookReader final : public XmlHandler {
public:
    struct Sheet {
        std::string name;
        std::string relationshipId;
        bool hidden = false;
    };

    bool Start(std::string_view name, const XmlAttributes& attributes) override
    {
        if (name != "sheet") return true;
        if (sheets.size() >= sheet_limits::kMaxSheets) {
            failure = Beyond(SheetBeyond::Sheets, sheet_limits::kMaxSheets);
            return false;
        }
        const std::string_view state = attributes.Plain("state").value_or("visible");
        sheets.push_back({std::string(attributes.Plain("name").value_or("")),
                          std::string(attributes.Qualified("id").value_or("")), state != "visible"});
        return true;
    }
    bool End(std::string_view) override { return true; }
    bool Text(std::string_view) override { return true; }

    std::vector<Sheet> sheets;
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
    const std::string workbook = package.officeDocument ? ResolvePartName("", *package.officeDocument)
                                                        : std::string(kUsualWorkbook);

    WorkbookReader book;
    if (SheetResult r = ReadSmallPart(archive, workbook, book, book.failure, found); !r.Ok()) return r;
    if (!found) return NoWorksheet(workbook);
    RelationshipsReader links;
    const std::string linksPart = RelationshipsPartOf(workbook);
    if (SheetResult r = ReadSmallPart(archive, linksPart, links, links.failure, found); !r.Ok()) return r;
    if (!found) return NoWorksheet(linksPart);

    if (links.sharedStrings) parts.sharedStrings = archive.Find(ResolvePartName(workbook, *links.sharedStrings));
    for (const WorkbookReader::Sheet& sheet : book.sheets) {
        const auto link = links.byId.find(sheet.relationshipId);
        if (link == links.byId.end() || !EndsWith(link->second.type, "/worksheet")) continue;
        // A spreadsheet program opens on a visible sheet: the records it shows would not be
        // the ones read here.
        if (sheet.hidden) {
            SheetResult hidden;
            hidden.failure = SheetFailure::HiddenSheet;
            hidden.part = workbook;
            hidden.detail = sheet.name;
            return hidden;
        }
        const std::string name = ResolvePartName(workbook, link->second.target);
        const std::optional<ZipArchive::Part> part = archive.Find(name);
        if (!part) return NoWorksheet(name);
        parts.worksheet = *part;
        return {};
    }
    return NoWorksheet(workbook);
}

} // namespace rw
