#include "query/NearestName.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string_view>

namespace rw {
namespace {

// A slip of a letter or two first; then the start of exactly one name; then a part of exactly
// one; never a name of two that would fit alike.
TEST(NearestName, SlipsThenStartsThenParts)
{
    constexpr std::array<std::string_view, 5> commands{"info", "export", "import", "diff", "update"};
    constexpr std::array<std::string_view, 4> titles{"Stdmode", "McType", "FuncType", "NeedLevel"};
    const std::pair<std::string_view, std::optional<std::string_view>> onCommands[] = {
        {"exprot", "export"}, {"IMPORT", "import"}, {"imp", "import"},
        {"x", std::nullopt}, {"frobnicate", std::nullopt},
    };
    for (const auto& [typed, meant] : onCommands) EXPECT_EQ(NearestName(typed, commands), meant) << typed;
    const std::pair<std::string_view, std::optional<std::string_view>> onTitles[] = {
        {"level", "NeedLevel"}, {"stdmod", "Stdmode"}, {"Typ", std::nullopt}, {"Func", "FuncType"},
    };
    for (const auto& [typed, meant] : onTitles) EXPECT_EQ(NearestName(typed, titles), meant) << typed;
}

} // namespace
} // namespace rw
