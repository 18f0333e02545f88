#pragma once

// CSV text made of a kind's header and record rows, and two imports compared whole.

#include "csv/CsvExport.h"
#include "csv/RowImporter.h"
#include "data/HexText.h"
#include "data/Record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace rw::test {

using Rows = std::vector<std::vector<std::string>>;

// The kind's header fields, with or without Raw.
inline std::vector<std::string> HeaderFields(FileKind kind, bool raw = true)
{
    std::vector<std::string> fields;
    for (const ColumnSpec& column : SchemaOf(kind).columns) fields.emplace_back(column.title);
    if (raw) fields.emplace_back(kRawColumnTitle);
    return fields;
}

// A record row: the ID, the name, every field 0 and the Raw field (nullopt: no Raw column).
inline std::vector<std::string> RowFields(FileKind kind, std::string id, std::string name, std::optional<std::string> raw = "")
{
    std::vector<std::string> fields{std::move(id), std::move(name)};
    fields.resize(static_cast<std::size_t>(SchemaOf(kind).ColumnCount()), "0");
    if (raw) fields.push_back(std::move(*raw));
    return fields;
}

inline std::string AsCsv(const Rows& rows)
{
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0) text += ',';
            AppendCsvField(text, row[k]);
        }
        text += '\n';
    }
    return text;
}

inline std::string Header(FileKind kind, bool raw = true) { return AsCsv({HeaderFields(kind, raw)}); }
inline std::string Row(FileKind kind, std::string id, std::string name, std::optional<std::string> raw = "")
{
    return AsCsv({RowFields(kind, std::move(id), std::move(name), std::move(raw))});
}

inline std::string RawOf(const Record& record)
{
    std::string raw(2 * record.Bytes().size(), '0');
    WriteHex(record.Bytes().data(), record.Bytes().size(), raw.data());
    return raw;
}

// Every issue and name change whole, the counts, and the records byte for byte.
inline void ExpectSameImport(const RowImporter& a, const RowImporter& b)
{
    ASSERT_TRUE(a.Finished() && b.Finished());
    const auto issues = [](const std::vector<CsvIssue>& list) {
        std::vector<std::tuple<CsvIssue::Kind, std::size_t, int, CsvSyntax, bool, std::string, std::int64_t, std::int64_t, std::size_t, CellType>> all;
        for (const CsvIssue& i : list) all.emplace_back(i.kind, i.line, i.column, i.syntax, i.inHeader, i.text, i.number, i.expected, i.otherLine, i.cellType);
        return all;
    };
    const auto changes = [](const RowImporter& r) {
        std::vector<std::tuple<std::size_t, std::int32_t, std::string, std::string>> all;
        for (const NameChange& c : r.NameChanges()) all.emplace_back(c.line, c.id, c.storedText, c.newText);
        return all;
    };
    EXPECT_EQ(std::make_tuple(a.ErrorCount(), a.NameChangeCount(), a.RowCount(), a.RecordCount()),
              std::make_tuple(b.ErrorCount(), b.NameChangeCount(), b.RowCount(), b.RecordCount()));
    EXPECT_EQ(issues(a.Errors()), issues(b.Errors()));
    EXPECT_EQ(issues(a.Warnings()), issues(b.Warnings()));
    EXPECT_EQ(changes(a), changes(b));
    ASSERT_EQ(a.Records().Count(), b.Records().Count());
    for (std::size_t i = 0; i < a.Records().Count(); ++i) {
        ASSERT_TRUE(std::ranges::equal(a.Records().RecordAt(i), b.Records().RecordAt(i))) << "record " << i;
    }
}

} // namespace rw::test
