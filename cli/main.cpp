// recwright-cli: shows a data file, exports it to CSV and builds one from CSV, so that tables
// can be diffed, scripted and edited in a spreadsheet.

#include "cli/CliOptions.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "data/Platform.h"
#include "resources/Strings.h"

#include <unistd.h>

#include <vector>

int main(int argc, char** argv)
{
    using namespace rw;
    KeepStandardStreamsTaken();
    // Ctrl-C during an import leaves no temporary file beside the target.
    RemoveTemporaryFilesOnSignals();
    if (argc < 2) {
        (void)WriteAllTo(STDERR_FILENO, UsageText(std::nullopt));
        return kExitBadUsage;
    }
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.options) {
        Complain(parsed.error);
        Complain(str::kCliHelpHint);
        return kExitBadUsage;
    }
    switch (parsed.options->command) {
    case CliCommand::Help: return PrintOrComplain(UsageText(parsed.options->helpFor));
    case CliCommand::Version: return PrintOrComplain(Format(str::kCliVersionFormat, RECWRIGHT_VERSION));
    case CliCommand::Info: return RunInfo(*parsed.options);
    case CliCommand::Export: return RunExport(*parsed.options);
    case CliCommand::Import: return RunImport(*parsed.options);
    }
    return kExitBadUsage;
}
