#include "cli/CliOptions.h"
#include "cli/OptionTable.h"
#include "resources/Strings.h"

namespace rw {
namespace {

struct CommandText {
    CliCommand command;
    const char* synopsis;
    const char* about;
    bool csv; // reads or writes CSV
};

constexpr CommandText kCommands[] = {
    {CliCommand::Info, str::kCliSynopsisInfo, str::kCliAboutInfo, false},
    {CliCommand::Export, str::kCliSynopsisExport, str::kCliAboutExport, true},
    {CliCommand::Import, str::kCliSynopsisImport, str::kCliAboutImport, true},
    {CliCommand::Diff, str::kCliSynopsisDiff, str::kCliAboutDiff, false},
    {CliCommand::Update, str::kCliSynopsisUpdate, str::kCliAboutUpdate, false},
    {CliCommand::Find, str::kCliSynopsisFind, str::kCliAboutFind, false},
};

void AppendOptions(std::string& text, std::optional<CliCommand> command)
{
    text.append("\n").append(str::kCliOptionsHeading);
    for (const OptionSpec& option : kOptionTable) {
        if (!command || Takes(option, *command)) text.append(option.help);
    }
}

} // namespace

std::string UsageText(std::optional<CliCommand> command)
{
    std::string text;
    for (const CommandText& c : kCommands) {
        if (c.command != command) continue;
        text.append("Usage: ").append(c.synopsis).append("\n\n").append(c.about);
        AppendOptions(text, command);
        if (c.csv) text.append("\n").append(str::kCliCsvNotes);
        const char* status = command == CliCommand::Diff     ? str::kCliDiffExitStatus
                             : command == CliCommand::Update ? str::kCliUpdateExitStatus
                             : command == CliCommand::Find   ? str::kCliFindExitStatus
                                                             : str::kCliExitStatus;
        return text.append("\n").append(status);
    }
    text.append("Usage:\n");
    for (const CommandText& c : kCommands) text.append("  ").append(c.synopsis).append("\n");
    text.append("  ").append(str::kCliSynopsisOther).append("\n\n").append(str::kCliAbout);
    for (const CommandText& c : kCommands) text.append("\n").append(c.about);
    AppendOptions(text, std::nullopt);
    return text.append("\n").append(str::kCliCsvNotes).append("\n").append(str::kCliExitStatus).append(str::kCliDiffExitStatus)
        .append(str::kCliUpdateExitStatus).append(str::kCliFindExitStatus);
}

} // namespace rw
