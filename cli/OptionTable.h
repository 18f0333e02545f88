#pragma once

// The options and the commands that take them: what the parser accepts and what each
// command's usage lists come from this one table.

#include "cli/CliOptions.h"
#include "resources/Strings.h"

#include <string_view>

namespace rw {

struct OptionSpec {
    std::string_view name;
    bool takesValue = true;
    bool info = false, exportCsv = false, importCsv = false, diff = false, update = false, find = false; // which commands take it
    const char* help = "";
    bool valueOptional = false; // the value only as --name=VALUE, which may be left out
};

inline constexpr OptionSpec kOptionTable[] = {
    {"--kind", true, true, true, true, true, true, true, str::kCliOptionKind},
    {"--key", true, true, true, true, true, true, true, str::kCliOptionKey},
    {"--encoding", true, false, true, true, false, false, false, str::kCliOptionEncoding},
    {"-o", true, false, true, true, true, true, false, str::kCliOptionOutput},
    {"--allow-empty", false, false, false, true, false, false, false, str::kCliOptionAllowEmpty},
    {"--format", true, false, true, true, false, false, false, str::kCliOptionFormat},
    {"--keep-names", false, false, false, true, false, false, false, str::kCliOptionKeepNames},
    {"--csv", false, false, false, false, true, true, true, str::kCliOptionCsv},
    {"--json", false, true, false, false, true, true, true, str::kCliOptionJson},
    {"--quiet", false, false, false, false, true, false, false, str::kCliOptionQuiet},
    {"--where", true, false, false, false, false, true, true, str::kCliOptionWhere},
    {"--set", true, false, false, false, false, true, false, str::kCliOptionSet},
    {"--dry-run", false, false, false, false, false, true, false, str::kCliOptionDryRun},
    {"--backup", true, false, false, false, false, true, false, str::kCliOptionBackup, true},
    {"--suffix", true, false, false, false, false, true, false, str::kCliOptionSuffix},
};

[[nodiscard]] constexpr bool Takes(const OptionSpec& option, CliCommand command)
{
    switch (command) {
    case CliCommand::Info: return option.info;
    case CliCommand::Export: return option.exportCsv;
    case CliCommand::Import: return option.importCsv;
    case CliCommand::Diff: return option.diff;
    case CliCommand::Update: return option.update;
    case CliCommand::Find: return option.find;
    case CliCommand::Help:
    case CliCommand::Version: return false;
    }
    return false;
}

} // namespace rw
