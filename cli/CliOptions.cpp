#include "cli/CliOptions.h"

#include "cli/CliText.h"
#include "query/NearestName.h"
#include "cli/OptionTable.h"
#include "data/BackupNaming.h"
#include "data/DecimalText.h"
#include "data/KeySet.h"
#include "resources/Strings.h"

#include <algorithm>
#include <vector>

namespace rw {
namespace {

struct CommandName {
    std::string_view name;
    CliCommand command;
};

// The commands by the names typed for them; the suggestions for a mistyped one come from here.
constexpr CommandName kCommandNames[] = {
    {"info", CliCommand::Info},     {"export", CliCommand::Export}, {"import", CliCommand::Import},
    {"diff", CliCommand::Diff},     {"update", CliCommand::Update}, {"find", CliCommand::Find},
    {"help", CliCommand::Help},     {"--help", CliCommand::Help},
    {"-h", CliCommand::Help},       {"--version", CliCommand::Version},
};

[[nodiscard]] std::optional<CliCommand> CommandNamed(std::string_view name)
{
    for (const CommandName& c : kCommandNames) {
        if (c.name == name) return c.command;
    }
    return std::nullopt;
}

// "; did you mean 'x'?" when one of known is near what was typed, else nothing.
[[nodiscard]] std::string Suggestion(std::string_view typed, std::span<const std::string_view> known)
{
    const std::optional<std::string_view> nearest = NearestName(typed, known);
    return nearest ? Format<str::kCliDidYouMeanFormat>(*nearest) : std::string();
}

[[nodiscard]] std::string UnknownCommand(std::string_view typed)
{
    std::vector<std::string_view> names;
    for (const CommandName& c : kCommandNames) names.push_back(c.name);
    return Format<str::kCliUnknownCommandFormat>(typed) + Suggestion(typed, names);
}

[[nodiscard]] std::string_view CommandWord(CliCommand command)
{
    for (const CommandName& c : kCommandNames) {
        if (c.command == command) return c.name;
    }
    return {};
}

// An option this command does not take: the one it most likely meant, or else the commands
// that do take it.
[[nodiscard]] std::string UnknownOption(std::string_view arg, std::string_view name, std::string_view commandTyped,
                                        CliCommand command)
{
    std::string text = Format<str::kCliUnknownOptionFormat>(arg, commandTyped);
    std::vector<std::string_view> taken{"--help"};
    for (const OptionSpec& option : kOptionTable) {
        if (Takes(option, command)) taken.push_back(option.name);
    }
    if (std::string suggestion = Suggestion(name, taken); !suggestion.empty()) return text + suggestion;
    const auto option = std::find_if(std::begin(kOptionTable), std::end(kOptionTable),
                                     [&](const OptionSpec& o) { return o.name == name; });
    if (option == std::end(kOptionTable)) return text;
    std::vector<std::string_view> takers;
    for (const CommandName& c : kCommandNames) {
        if (Takes(*option, c.command) && CommandWord(c.command) == c.name) takers.push_back(c.name);
    }
    const std::string list = ListOf(takers, " and ");
    return text + (takers.size() == 1 ? Format<str::kCliTakenByOneFormat>(list) : Format<str::kCliTakenByManyFormat>(list));
}

[[nodiscard]] bool IsHelpOption(std::string_view arg) { return arg == "--help" || arg == "-h"; }

// Values of --kind and --encoding are names, which people type in any letter case.
[[nodiscard]] std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

template <typename T>
struct Named {
    std::string_view name;
    T value;
};

constexpr Named<FileKind> kKinds[] = {{"item", FileKind::Item}, {"magic", FileKind::Magic}, {"monster", FileKind::Monster}};
constexpr Named<CsvEncoding> kEncodings[] = {{"utf-8", CsvEncoding::Utf8},   {"utf-8-bom", CsvEncoding::Utf8Bom},
                                             {"gbk", CsvEncoding::Gbk},      {"utf8", CsvEncoding::Utf8},
                                             {"utf8-bom", CsvEncoding::Utf8Bom}, {"cp936", CsvEncoding::Gbk}};
constexpr Named<TableFormat> kFormats[] = {{"csv", TableFormat::Csv}, {"xlsx", TableFormat::Xlsx}};
constexpr Named<BackupControl> kBackupControls[] = {
    {"none", BackupControl::None},         {"off", BackupControl::None},     {"simple", BackupControl::Simple},
    {"never", BackupControl::Simple},      {"numbered", BackupControl::Numbered}, {"t", BackupControl::Numbered},
    {"existing", BackupControl::Existing}, {"nil", BackupControl::Existing},
};

// The value an option's text names; else empty, with the nearest name as a suggestion.
template <typename T>
[[nodiscard]] std::optional<T> ValueNamed(std::string_view text, std::span<const Named<T>> table, std::string& suggestion)
{
    const std::string lower = AsciiLower(text);
    std::vector<std::string_view> names;
    for (const Named<T>& entry : table) {
        if (entry.name == lower) return entry.value;
        names.push_back(entry.name);
    }
    suggestion = Suggestion(text, names);
    return std::nullopt;
}

// Stores one option's value; the error text when the value is no good.
[[nodiscard]] std::string Apply(std::string_view name, std::string_view value, CliOptions& options)
{
    std::string suggestion;
    if (name == "-o") {
        options.output = std::string(value);
    } else if (name == "--key") {
        const auto key = ParseKey(value);
        if (!key) return Format<str::kCliBadKeyFormat>(value);
        options.key = *key;
    } else if (name == "--kind") {
        const auto kind = ValueNamed<FileKind>(value, kKinds, suggestion);
        if (!kind) return Format<str::kCliBadKindFormat>(value) + suggestion;
        options.kind = *kind;
    } else if (name == "--encoding") {
        const auto encoding = ValueNamed<CsvEncoding>(value, kEncodings, suggestion);
        if (!encoding) return Format<str::kCliBadEncodingFormat>(value) + suggestion;
        options.encoding = *encoding;
    } else if (name == "--allow-empty") {
        options.allowEmpty = true;
    } else if (name == "--format") {
        const auto format = ValueNamed<TableFormat>(value, kFormats, suggestion);
        if (!format) return Format<str::kCliBadFormatFormat>(value) + suggestion;
        options.format = *format;
    } else if (name == "--keep-names") {
        options.keepNames = true;
    } else if (name == "--csv") {
        options.csv = true;
    } else if (name == "--json") {
        options.json = true;
    } else if (name == "--quiet") {
        options.quiet = true;
    } else if (name == "--where") {
        if (options.where) return str::kCliUpdateWhereTwice;
        options.where = std::string(value);
    } else if (name == "--set") {
        options.sets.emplace_back(value);
    } else if (name == "--dry-run") {
        options.dryRun = true;
    } else if (name == "--backup") {
        options.backup = true;
        // Without =CONTROL, VERSION_CONTROL or the default decides when the command runs.
        if (!value.empty()) {
            const auto control = ValueNamed<BackupControl>(value, kBackupControls, suggestion);
            if (!control) return Format<str::kCliBadBackupFormat>(value) + suggestion;
            options.backupControl = *control;
        }
    } else if (name == "--suffix") {
        if (!IsBackupSuffix(value)) return Format<str::kCliBadSuffixFormat>(value);
        options.suffix = std::string(value);
    }
    return {};
}

// Options that each say what the output is, given together.
[[nodiscard]] std::string ClashOf(const CliOptions& options)
{
    if (options.csv && options.json) return str::kCliCsvOrJson;
    if (options.quiet && (options.csv || options.json || options.output)) return str::kCliQuietWritesNothing;
    return {};
}

ParsedCommandLine Failure(std::string error) { return {std::nullopt, std::move(error)}; }

ParsedCommandLine HelpFor(std::optional<CliCommand> command)
{
    CliOptions options;
    options.command = CliCommand::Help;
    options.helpFor = command;
    return {options, {}};
}

// "help" alone, or "help COMMAND".
ParsedCommandLine ParseHelp(std::span<const std::string_view> args)
{
    if (args.size() < 2) return HelpFor(std::nullopt);
    if (args.size() > 2) return Failure(Format<str::kCliExtraArgumentFormat>(args[2]));
    const std::optional<CliCommand> topic = CommandNamed(args[1]);
    if (!topic || *topic == CliCommand::Help || *topic == CliCommand::Version) return Failure(UnknownCommand(args[1]));
    return HelpFor(topic);
}

} // namespace

std::optional<BackupControl> BackupControlNamed(std::string_view word, std::string& suggestion)
{
    return ValueNamed<BackupControl>(word, kBackupControls, suggestion);
}

TableFormat FormatOf(const CliOptions& options, std::string_view tableFile)
{
    if (options.format) return *options.format;
    constexpr std::string_view kXlsx = ".xlsx";
    const bool xlsx = tableFile.size() > kXlsx.size() && AsciiLower(tableFile.substr(tableFile.size() - kXlsx.size())) == kXlsx;
    return xlsx ? TableFormat::Xlsx : TableFormat::Csv;
}

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args)
{
    if (args.empty()) return Failure(str::kCliMissingFile);
    const std::optional<CliCommand> command = CommandNamed(args[0]);
    if (!command) return Failure(UnknownCommand(args[0]));
    if (*command == CliCommand::Help) return ParseHelp(args);
    CliOptions options;
    options.command = *command;
    if (*command == CliCommand::Version) {
        if (args.size() > 1) return Failure(Format<str::kCliExtraArgumentFormat>(args[1]));
        return {options, {}};
    }

    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            options.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (IsHelpOption(arg)) return HelpFor(*command);
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const auto option = std::find_if(std::begin(kOptionTable), std::end(kOptionTable),
                                         [&](const OptionSpec& o) { return o.name == name; });
        if (option == std::end(kOptionTable) || !Takes(*option, *command)) {
            return Failure(UnknownOption(arg, name, args[0], *command));
        }
        if (!option->takesValue && value) return Failure(Format<str::kCliNoValueFormat>(name));
        if (option->takesValue && !value && !option->valueOptional) {
            if (i + 1 == args.size()) return Failure(Format<str::kCliMissingValueFormat>(name));
            value = args[++i];
        }
        if (option->valueOptional && value && value->empty()) return Failure(Format<str::kCliEmptyValueFormat>(name));
        if (std::string error = Apply(name, value.value_or(""), options); !error.empty()) {
            return Failure(std::move(error));
        }
    }

    if (options.files.empty()) return Failure(str::kCliMissingFile);
    if (*command == CliCommand::Diff) {
        if (options.files.size() < 2) return Failure(str::kCliDiffNeedsTwoFiles);
        if (options.files.size() > 2) return Failure(Format<str::kCliDiffExtraArgumentFormat>(options.files[2]));
    } else if (*command != CliCommand::Info && options.files.size() > 1) {
        return Failure(Format<str::kCliExtraArgumentFormat>(options.files[1]));
    }
    if (*command == CliCommand::Import && !options.output) return Failure(str::kCliMissingOutput);
    if (*command == CliCommand::Update) {
        if (!options.where) return Failure(str::kCliUpdateNeedsWhere);
        if (options.sets.empty()) return Failure(str::kCliUpdateNeedsSet);
        if (options.output == "-") return Failure(str::kCliUpdateOutputNotStdout);
    }
    if (*command == CliCommand::Find && !options.where) return Failure(str::kCliFindNeedsWhere);
    if (std::string error = ClashOf(options); !error.empty()) return Failure(std::move(error));
    return {options, {}};
}

} // namespace rw
