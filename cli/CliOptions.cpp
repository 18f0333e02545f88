#include "cli/CliOptions.h"

#include "cli/CliText.h"
#include "data/DecimalText.h"
#include "resources/Strings.h"

namespace rw {
namespace {

struct Option {
    std::string_view name;
    bool info, exportCsv, importCsv; // which commands take it
};

constexpr Option kOptions[] = {
    {"-o", false, true, true},
    {"--key", true, true, true},
    {"--kind", true, true, true},
    {"--encoding", false, true, true},
};

[[nodiscard]] bool Takes(const Option& option, CliCommand command)
{
    switch (command) {
    case CliCommand::Info: return option.info;
    case CliCommand::Export: return option.exportCsv;
    case CliCommand::Import: return option.importCsv;
    case CliCommand::Help: return false;
    }
    return false;
}

[[nodiscard]] std::optional<CliCommand> CommandNamed(std::string_view name)
{
    if (name == "info") return CliCommand::Info;
    if (name == "export") return CliCommand::Export;
    if (name == "import") return CliCommand::Import;
    if (name == "help" || name == "--help" || name == "-h") return CliCommand::Help;
    return std::nullopt;
}

[[nodiscard]] std::optional<FileKind> KindNamed(std::string_view name)
{
    if (name == "item") return FileKind::Item;
    if (name == "magic") return FileKind::Magic;
    if (name == "monster") return FileKind::Monster;
    return std::nullopt;
}

[[nodiscard]] std::optional<CsvEncoding> EncodingNamed(std::string_view name)
{
    if (name == "utf-8" || name == "utf8") return CsvEncoding::Utf8;
    if (name == "utf-8-bom" || name == "utf8-bom") return CsvEncoding::Utf8Bom;
    if (name == "gbk" || name == "cp936") return CsvEncoding::Gbk;
    return std::nullopt;
}

// Stores one option's value; the error text when the value is no good.
[[nodiscard]] std::string Apply(std::string_view name, std::string_view value, CliOptions& options)
{
    if (name == "-o") {
        options.output = std::string(value);
    } else if (name == "--key") {
        const auto key = ParseStrictInt32(value);
        if (!key || *key < 0 || *key > 255) return Format(str::kCliBadKeyFormat, value);
        options.key = static_cast<std::uint8_t>(*key);
    } else if (name == "--kind") {
        const auto kind = KindNamed(value);
        if (!kind) return Format(str::kCliBadKindFormat, value);
        options.kind = *kind;
    } else if (name == "--encoding") {
        const auto encoding = EncodingNamed(value);
        if (!encoding) return Format(str::kCliBadEncodingFormat, value);
        options.encoding = *encoding;
    }
    return {};
}

ParsedCommandLine Failure(std::string error) { return {std::nullopt, std::move(error)}; }

} // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args)
{
    if (args.empty()) return Failure(str::kCliMissingFile);
    const std::optional<CliCommand> command = CommandNamed(args[0]);
    if (!command) return Failure(Format(str::kCliUnknownCommandFormat, args[0]));
    CliOptions options;
    options.command = *command;
    if (*command == CliCommand::Help) return {options, {}};

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
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const Option* option = nullptr;
        for (const Option& o : kOptions) {
            if (o.name == name) option = &o;
        }
        if (!option || !Takes(*option, *command)) {
            return Failure(Format(str::kCliUnknownOptionFormat, arg, args[0]));
        }
        if (!value) {
            if (i + 1 == args.size()) return Failure(Format(str::kCliMissingValueFormat, name));
            value = args[++i];
        }
        if (std::string error = Apply(name, *value, options); !error.empty()) return Failure(std::move(error));
    }

    if (options.files.empty()) return Failure(str::kCliMissingFile);
    if (*command != CliCommand::Info && options.files.size() > 1) {
        return Failure(Format(str::kCliExtraArgumentFormat, options.files[1]));
    }
    if (*command == CliCommand::Import && !options.output) return Failure(str::kCliMissingOutput);
    return {options, {}};
}

} // namespace rw
