#pragma once

#include "data/BackupNaming.h"
#include "data/FileKind.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class CliCommand : std::uint8_t { Help, Version, Info, Export, Import, Diff, Update, Find };
enum class CsvEncoding : std::uint8_t { Utf8, Utf8Bom, Gbk };
enum class TableFormat : std::uint8_t { Csv, Xlsx };

struct CliOptions {
    CliCommand command = CliCommand::Help;
    std::optional<CliCommand> helpFor; // Help: the command whose usage is asked for
    std::vector<std::string> files;    // info: the data files; export, update: the data file; import:
                                       // the CSV; diff: A and B
    std::optional<std::string> output; // -o
    std::optional<std::uint8_t> key;
    FileKind kind = FileKind::None;    // --kind; None: by the data file's name
    CsvEncoding encoding = CsvEncoding::Utf8;
    bool allowEmpty = false;           // import: write a file without records
    std::optional<TableFormat> format; // --format; empty: by the table file's name
    bool keepNames = false;            // import: a row with Raw keeps Raw's name
    bool csv = false;                  // diff: the differences as CSV
    bool json = false;                 // info, diff: one JSON object instead of text
    bool quiet = false;                // diff: the exit status alone
    std::optional<std::string> where;  // update, find: the records to change or show
    std::vector<std::string> sets;     // update: what to change, in order
    bool dryRun = false;               // update: write nothing
    bool backup = false;               // update: --backup, with or without a CONTROL
    std::optional<BackupControl> backupControl; // update: --backup=CONTROL
    std::optional<std::string> suffix; // update: --suffix
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;
    std::string error; // when options is empty
};

// args: the arguments after the program name.
[[nodiscard]] ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

// The backup control words of --backup and VERSION_CONTROL, as cp, mv and install take them;
// else empty, with the nearest word as a suggestion.
[[nodiscard]] std::optional<BackupControl> BackupControlNamed(std::string_view word, std::string& suggestion);

// The format of the table file (export's output, import's input): --format, else xlsx for a
// name ending in ".xlsx" in any letter case, else CSV.
[[nodiscard]] TableFormat FormatOf(const CliOptions& options, std::string_view tableFile);

// The usage of one command, or of the whole program.
[[nodiscard]] std::string UsageText(std::optional<CliCommand> command);

} // namespace rw
