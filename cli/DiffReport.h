#pragma once

// What recwright-cli diff writes about two tables' differences: text for a person to read,
// a block per record, or CSV for a spreadsheet or a script, a row per changed value.

#include "csv/CsvExport.h"
#include "data/RecordDiff.h"
#include "data/Schema.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rw {

// The two tables compared: their names as the user gave them and their records back to back.
struct DiffSides {
    std::string_view fileA;
    std::string_view fileB;
    std::span<const std::uint8_t> recordsA;
    std::span<const std::uint8_t> recordsB;
};

class DiffReport {
public:
    // changes: DiffRecords of the two sides' records.
    DiffReport(const RecordSchema& schema, const DiffSides& sides, std::span<const RecordChange> changes);

    // Each hands the report to the sink in pieces of about a megabyte; false when the sink
    // refused one. Names are UTF-8 text.
    [[nodiscard]] bool WriteText(const CsvSink& sink) const;
    [[nodiscard]] bool WriteCsv(const CsvSink& sink) const;
    // One JSON object, a line per record that differs.
    [[nodiscard]] bool WriteJson(const CsvSink& sink) const;

private:
    [[nodiscard]] const std::uint8_t* RecordA(std::size_t index) const;
    [[nodiscard]] const std::uint8_t* RecordB(std::size_t index) const;
    // The record a change is about: A's where A has it.
    [[nodiscard]] const std::uint8_t* RecordOf(const RecordChange& change) const;
    [[nodiscard]] std::string NameText(const std::uint8_t* record) const;
    void AppendTextBlock(const RecordChange& change, std::string& out) const;
    void AppendCsvRows(const RecordChange& change, std::string& out) const;
    void AppendJsonChange(const RecordChange& change, std::string& out) const;

    struct Counts {
        long long onlyInA = 0, onlyInB = 0, changed = 0, same = 0;
    };
    [[nodiscard]] Counts Count() const;
    [[nodiscard]] long long CountA() const;
    [[nodiscard]] long long CountB() const;

    const RecordSchema& m_schema;
    DiffSides m_sides;
    std::span<const RecordChange> m_changes;
};

} // namespace rw
