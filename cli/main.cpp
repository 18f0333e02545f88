// recwright-cli: shows a data file, exports it to CSV and builds one from CSV, so that tables
// can be diffed, scripted and edited in a spreadsheet.

#include "cli/CliOptions.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "system/Platform.h"
#include "resources/Strings.h"

#include <exception>
#include <new>
#include <vector>

namespace rw {
namespace {

[[nodiscard]] int Run(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        (void)WriteAllTo(kStandardError, UsageText(std::nullopt));
        return kExitBadUsage;
    }
    const std::vector<std::string_view> args(arguments.begin(), arguments.end());
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.options) {
        Complain(parsed.error);
        Complain(str::kCliHelpHint);
        return kExitBadUsage;
    }
    switch (parsed.options->command) {
    case CliCommand::Help: return PrintOrComplain(UsageText(parsed.options->helpFor));
    case CliCommand::Version: return PrintOrComplain(Format<str::kCliVersionFormat>(RECWRIGHT_VERSION));
    case CliCommand::Info: return RunInfo(*parsed.options);
    case CliCommand::Export: return RunExport(*parsed.options);
    case CliCommand::Import: return RunImport(*parsed.options);
    case CliCommand::Diff: return RunDiff(*parsed.options);
    case CliCommand::Update: return RunUpdate(*parsed.options);
    case CliCommand::Find: return RunFind(*parsed.options);
    }
    return kExitBadUsage;
}

} // namespace
} // namespace rw

int main(int argc, char** argv)
{
    using namespace rw;
    KeepStandardStreamsTaken();
    // Ctrl-C during an import leaves no temporary file beside the target.
    RemoveTemporaryFilesOnSignals();
    // Whatever a command cannot go on from ends here, after the unwinding has removed its
    // temporary files, with a message rather than an abort.
    try {
        return Run(CommandLineArguments(argc, argv));
    } catch (const std::bad_alloc&) {
        Complain(str::kCliOutOfMemory);
    } catch (const std::exception& e) {
        Complain(str::kCliStopped, e.what());
    }
    return kExitBadData;
}
