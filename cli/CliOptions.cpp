#include "cli/CliOptions.h"

#include "cli/CliText.h"
#include "cli/OptionTable.h"
#include "data/DecimalText.h"
#include "data/KeySet.h"
#include "resources/Strings.h"

#include <algorithm>

namespace rw {
namespace {

[[nodiscard]] std::optional<CliCommand> CommandNamed(std::string_view name)
{
    if (name == "info") return CliCommand::Info;
    if (name == "export") return CliCommand::Export;
    if (name == "import") return CliCommand::Import;
    if (name == "diff") return CliCommand::Diff;
    if (name == "help" || name == "--help" || name == "-h") return CliCommand::Help;
    if (name == "--version") return CliCommand::Version;
    return std::nullopt;
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

[[nodiscard]] std::optional<FileKind> KindNamed(std::string_view name)
{
    const std::string lower = AsciiLower(name);
    if (lower == "item") return FileKind::Item;
    if (lower == "magic") return FileKind::Magic;
    if (lower == "monster") return FileKind::Monster;
    return std::nullopt;
}

[[nodiscard]] std::optional<CsvEncoding> EncodingNamed(std::string_view name)
{
    const std::string lower = AsciiLower(name);
    if (lower == "utf-8" || lower == "utf8") return CsvEncoding::Utf8;
    if (lower == "utf-8-bom" || lower == "utf8-bom") return CsvEncoding::Utf8Bom;
    if (lower == "gbk" || lower == "cp936") return CsvEncoding::Gbk;
    return std::nullopt;
}

[[nodiscard]] std::optional<TableFormat> FormatNamed(std::string_view name)
{
    const std::string lower = AsciiLower(name);
    if (lower == "csv") return TableFormat::Csv;
    if (lower == "xlsx") return TableFormat::Xlsx;
    return std::nullopt;
}

// Stores one option's value; the error text when the value is no good.
[[nodiscard]] std::string Apply(std::string_view name, std::string_view value, CliOptions& options)
{
    if (name == "-o") {
        options.output = std::string(value);
    } else if (name == "--key") {
        const auto key = ParseKey(value);
        if (!key) return Format<str::kCliBadKeyFormat>(value);
        options.key = *key;
    } else if (name == "--kind") {
        const auto kind = KindNamed(value);
        if (!kind) return Format<str::kCliBadKindFormat>(value);
        options.kind = *kind;
    } else if (name == "--encoding") {
        const auto encoding = EncodingNamed(value);
        if (!encoding) return Format<str::kCliBadEncodingFormat>(value);
        options.encoding = *encoding;
    } else if (name == "--allow-empty") {
        options.allowEmpty = true;
    } else if (name == "--format") {
        const auto format = FormatNamed(value);
        if (!format) return Format<str::kCliBadFormatFormat>(value);
        options.format = *format;
    } else if (name == "--keep-names") {
        options.keepNames = true;
    } else if (name == "--csv") {
        options.csv = true;
    }
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
    if (!topic || *topic == CliCommand::Help || *topic == CliCommand::Version) {
        return Failure(Format<str::kCliUnknownCommandFormat>(args[1]));
    }
    return HelpFor(topic);
}

} // namespace

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
    if (!command) return Failure(Format<str::kCliUnknownCommandFormat>(args[0]));
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
            return Failure(Format<str::kCliUnknownOptionFormat>(arg, args[0]));
        }
        if (!option->takesValue && value) return Failure(Format<str::kCliNoValueFormat>(name));
        if (option->takesValue && !value) {
            if (i + 1 == args.size()) return Failure(Format<str::kCliMissingValueFormat>(name));
            value = args[++i];
        }
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
    return {options, {}};
}

} // namespace rw
