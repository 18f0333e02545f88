#pragma once

#include "data/FileKind.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class CliCommand : std::uint8_t { Help, Version, Info, Export, Import, Diff };
enum class CsvEncoding : std::uint8_t { Utf8, Utf8Bom, Gbk };

struct CliOptions {
    CliCommand command = CliCommand::Help;
    std::optional<CliCommand> helpFor; // Help: the command whose usage is asked for
    std::vector<std::string> files;    // info: the data files; export: the data file; import: the CSV;
                                       // diff: A and B
    std::optional<std::string> output; // -o
    std::optional<std::uint8_t> key;
    FileKind kind = FileKind::None;    // --kind; None: by the data file's name
    CsvEncoding encoding = CsvEncoding::Utf8;
    bool allowEmpty = false;           // import: write a file without records
    bool csv = false;                  // diff: the differences as CSV
};

struct ParsedCommandLine {
    std::optional<CliOptions> options;
    std::string error; // when options is empty
};

// args: the arguments after the program name.
[[nodiscard]] ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);

// The usage of one command, or of the whole program.
[[nodiscard]] std::string UsageText(std::optional<CliCommand> command);

} // namespace rw
