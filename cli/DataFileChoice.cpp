#include "cli/CliText.h"
#include "cli/Commands.h"
#include "data/DataFile.h"
#include "data/KeySet.h"
#include "resources/Strings.h"

#include <filesystem>

namespace rw {

std::optional<DataFileChoice> ChooseDataFile(const CliOptions& options, const std::string& dataFile)
{
    DataFileChoice choice;
    choice.kind = options.kind != FileKind::None ? options.kind
                                                 : KindFromName(std::filesystem::path(dataFile).filename().string());
    if (choice.kind == FileKind::None) {
        Complain(Format(str::kCliUnknownKindFormat, dataFile.c_str()));
        return std::nullopt;
    }
    choice.key = options.key.value_or(KeySet{}.For(choice.kind));
    return choice;
}

} // namespace rw
