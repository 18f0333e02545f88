// The query language's texts: field expressions, --set assignments, and the nearest name
// suggested for a mistyped one.

#include "query/FieldExpression.h"

#include "query/ColumnTitles.h"
#include "query/NearestName.h"
#include "query/SetExpression.h"
#include "data/RecordBytes.h"
#include "data/Schema.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace rw {
namespace {

// An item: Stdmode 7, Dc 10, Dc2 4, NeedLevel 16, Price 50, the rest 0.
[[nodiscard]] std::array<std::uint8_t, 184> Item()
{
    std::array<std::uint8_t, 184> record{};
    const RecordSchema& schema = SchemaOf(FileKind::Item);
    for (const auto& [title, value] : {std::pair{"Stdmode", 7}, {"Dc", 10}, {"Dc2", 4}, {"NeedLevel", 16}, {"Price", 50}}) {
        StoreInt32(record.data() + schema.Column(ColumnTitled(schema, title)).offset, value);
    }
    return record;
}

// Precedence, exact decimals rounded once at the end (halves away from zero), functions, and
// what a record cannot be given.
TEST(FieldExpression, ValuesAreExactAndRoundedOnce)
{
    struct Case { const char* text; std::int32_t value; ValueFault fault = ValueFault::None; };
    const Case cases[] = {
        {"1+2*3", 7}, {"(1+2)*3", 9}, {"10-4-3", 3}, {"100/10/5", 2}, {"2*3-4/2", 4}, {"-2*3", -6}, {"--5", 5},
        {"-(2+3)*2", -10}, {"2*-3", -6}, {"+4", 4}, {"1 + 2 * 3", 7},
        {"Price*1.15", 58}, {"45*0.7", 32}, {"7/2", 4}, {"-7/2", -4}, {"0-7/2", -4}, {"5/2", 3}, {"-5/2", -3},
        {"Price/3*3", 50}, {"Price*(1/3)*3", 50}, {"0.1+0.2-0.3", 0}, {"Price*1.005*2", 101},
        {"NeedLevel*120+Stdmode", 1927}, {"price+NEEDLEVEL", 66}, {"Dc2-Dc", -6},
        {"min(3,Price,Stdmode)", 3}, {"max(Dc,Dc2)*1.5", 15}, {"MAX(Dc2,Dc,Price)", 50}, {"abs(-7)", 7},
        {"abs(Stdmode-Price)", 43}, {"min(1.5,2)*3", 5}, {"max(-0.5,-1)", -1},
        // Beyond 64 bits on the way: worked out exactly, not wrapped.
        {"min(Price*576460752303423488*8,1)", 1},
        {"Price*4294967296*4294967296/4294967296/4294967296", 50},
        // Halves forty times over: too fine for decimals of 38 places, exact as a fraction.
        {"Price*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5"
         "*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*0.5*1099511627776", 50},
        {"max(Price*0.5*100000000000000000*100000000000000000, 1)*0", 0},
        {"abs(Price*-922337203685477580*2)/(Price*922337203685477580)", 2},
        {"2147483647.5", 0, ValueFault::OutOfRange}, {"-2147483648.4", -2147483647 - 1},
        {"Price*100000000", 0, ValueFault::OutOfRange},
        // Beyond what a fraction of 128-bit integers holds, though the end would fit.
        {"Price*100000000000000000*100000000000000000*100000000000000000/100000000000000000/100000000000000000"
         "/100000000000000000", 0, ValueFault::Overflow},
        {"Price/(Stdmode-7)", 0, ValueFault::DivisionByZero}, {"Price/0", 0, ValueFault::DivisionByZero},
        {"1/(1/(Stdmode-7))", 0, ValueFault::DivisionByZero},
    };
    const auto record = Item();
    for (const Case& c : cases) {
        const ParsedExpression parsed = FieldExpression::Parse(c.text, FileKind::Item);
        ASSERT_TRUE(parsed.expression) << c.text;
        const WholeValue value = parsed.expression->EvaluateWhole(record.data());
        EXPECT_EQ(std::make_pair(value.fault, value.Ok() ? value.value : 0), std::make_pair(c.fault, c.value)) << c.text;
    }
}

// Written out in one form, which parses again to the same steps.
TEST(FieldExpression, WrittenOutItParsesToTheSameSteps)
{
    struct Case { const char* text; const char* written; };
    const Case cases[] = {
        {"price * 1.15", "Price*1.15"}, {"Dc-(Dc2-Ac)", "Dc-(Dc2-Ac)"}, {"(Dc-Dc2)-Ac", "Dc-Dc2-Ac"},
        {"(1+2)*3", "(1+2)*3"}, {"1+(2*3)", "1+2*3"}, {"Price/(2*3)", "Price/(2*3)"}, {"-(Price)", "-Price"},
        {"- -Price", "--Price"}, {"2--5", "2--5"}, {"-5*Price", "-5*Price"}, {"-(5*Price)", "-(5*Price)"},
        {"MAX( Dc , Dc2 )*1.5", "max(Dc,Dc2)*1.5"}, {"abs(-Dc)", "abs(-Dc)"}, {"007.50", "7.5"}, {".5", "0.5"},
        {"itemid", "ItemID"}, {"-(-(3))", "3"}, {"Price*(Dc*Dc2)", "Price*(Dc*Dc2)"},
    };
    for (const Case& c : cases) {
        const ParsedExpression parsed = FieldExpression::Parse(c.text, FileKind::Item);
        ASSERT_TRUE(parsed.expression) << c.text;
        EXPECT_EQ(parsed.expression->Text(), c.written) << c.text;
        const ParsedExpression again = FieldExpression::Parse(parsed.expression->Text(), FileKind::Item);
        ASSERT_TRUE(again.expression) << c.written;
        EXPECT_EQ(*again.expression, *parsed.expression) << c.text;
    }
    const FieldExpression combined = FieldExpression::Combined(FieldExpression::Field(FileKind::Item, 29),
                                                               FieldExpression::Operator::Subtract,
                                                               *FieldExpression::Parse("Dc-1", FileKind::Item).expression);
    EXPECT_EQ(combined.Text(), "Price-(Dc-1)");
    EXPECT_EQ(combined.EvaluateWhole(Item().data()).value, 41);
}

// Every malformed text is refused with where (bytes into it) and why.
TEST(FieldExpression, MalformedTextsSayWhereAndWhy)
{
    using K = ExpressionError::Kind;
    struct Case { std::string text; K kind; std::size_t position; std::string what; std::string nearest = {}; };
    const Case cases[] = {
        {"", K::NoValue, 0, ""}, {"  ", K::NoValue, 2, ""}, {"1+", K::NoValue, 2, ""}, {"1+*2", K::NoValue, 2, "*2"},
        {"1 2", K::UnexpectedText, 2, "2"}, {"Price)", K::UnexpectedText, 5, ")"}, {"min(1 2)", K::UnexpectedText, 6, "2"},
        {"Prcie*2", K::UnknownField, 0, "Prcie", "Price"}, {"1+NeedLevl", K::UnknownField, 2, "NeedLevl", "NeedLevel"},
        {"Level", K::UnknownField, 0, "Level", "NeedLevel"}, {"ItemName+1", K::NameField, 0, "ItemName"},
        {"sqrt(4)", K::UnknownFunction, 0, "sqrt"}, {"abs(1,2)", K::ArgumentCount, 0, "abs"},
        {"min(1)", K::ArgumentCount, 0, "min"}, {"(1+2", K::NoClosingParenthesis, 0, ""},
        {"2*min(1,2", K::NoClosingParenthesis, 5, ""}, {"1.2.3", K::NotANumber, 0, "1.2.3"}, {"1+.", K::NotANumber, 2, "."},
        {"1234567890123456789", K::TooManyDigits, 0, "1234567890123456789"}, {"价格*2", K::NoValue, 0, "价格*2"},
        {std::string(33, '(') + "1" + std::string(33, ')'), K::TooDeep, 32, ""},
        {std::string(40, '-') + "1", K::TooDeep, 32, ""},
    };
    for (const Case& c : cases) {
        const ParsedExpression parsed = FieldExpression::Parse(c.text, FileKind::Item);
        ASSERT_TRUE(parsed.error) << c.text;
        const ExpressionError& e = *parsed.error;
        EXPECT_EQ(std::tie(e.kind, e.position, e.text, e.nearest), std::tie(c.kind, c.position, c.what, c.nearest)) << c.text;
    }
    // A function of more values than an expression holds at once.
    std::string many = "max(1";
    for (int i = 0; i < 100; ++i) many += ",1";
    const ParsedExpression tooMany = FieldExpression::Parse(many + ")", FileKind::Item);
    ASSERT_TRUE(tooMany.error);
    EXPECT_EQ(tooMany.error->kind, K::TooDeep);
    // A person counts characters, not bytes.
    EXPECT_EQ(CharacterNumber("价格+x", 7), 4u);
    EXPECT_EQ(CharacterNumber("a", 0), 1u);
}

// Each --set text read: the column, the operation and what the value comes to on an item whose
// Price is 50 and NeedLevel 16; or why it is refused.
TEST(SetExpression, AssignmentsReadAsTheirColumnOperationAndValue)
{
    const RecordSchema& schema = SchemaOf(FileKind::Item);
    const auto item = Item();
    using Op = BulkOperation;
    using E = SetError::Kind;
    // value: the column's new value; name: the name's text, for a name.
    struct Case { const char* text; std::optional<E> error; int column = 0; Op operation = Op::Set; std::int32_t value = 0; const char* name = ""; };
    const Case cases[] = {
        {"Price=NeedLevel*120", {}, 29, Op::Set, 1920}, {" price = needlevel * 120 ", {}, 29, Op::Set, 1920},
        {"Price*=1.15", {}, 29, Op::Multiply, 58}, {"Price+=-10", {}, 29, Op::Add, 40}, {"Price=1.5", {}, 29, Op::Set, 2},
        // The value is one expression: Price/(2*2), Price-(10-5).
        {"Price/=2*2", {}, 29, Op::Divide, 13}, {"Price-=10-5", {}, 29, Op::Subtract, 45},
        {"ItemID+=-10", {}, 0, Op::Add, -10}, {"Stock=max(Price,NeedLevel)", {}, 30, Op::Set, 50},
        {"Name=新名字", {}, 1, Op::Set, 0, "新名字"}, {"itemname= a b ", {}, 1, Op::Set, 0, " a b "},
        {"Price", E::NoOperator}, {"=5", E::NoOperator}, {" +=5", E::NoOperator},
        {"Prcie=5", E::UnknownColumn}, {"Name+=x", E::NameOnlySet}, {"ItemName*=2", E::NameOnlySet},
        {"Price=NeedLevl*2", E::BadExpression}, {"Price*=abc", E::BadExpression}, {"Price=", E::BadExpression},
        {"Price/=0", E::DivideByZero}, {"Price/=0.0", E::DivideByZero},
        {"Price=2147483648", E::NotInRange}, {"Price=-2147483648.5", E::NotInRange},
    };
    for (const Case& c : cases) {
        const ParsedSet parsed = ParseSetExpression(c.text, schema);
        ASSERT_EQ(parsed.error.has_value(), c.error.has_value()) << c.text;
        ASSERT_NE(parsed.set.has_value(), c.error.has_value()) << c.text;
        if (c.error) {
            EXPECT_EQ(parsed.error->kind, *c.error) << c.text;
            continue;
        }
        EXPECT_EQ(std::make_tuple(parsed.set->column, parsed.set->operation, parsed.set->text), std::make_tuple(c.column, c.operation, std::string(c.text)));
        if (parsed.set->SetsName()) {
            EXPECT_EQ(parsed.set->nameText, c.name) << c.text;
            continue;
        }
        const WholeValue value = parsed.set->Change(FileKind::Item).value.EvaluateWhole(item.data());
        EXPECT_EQ(std::make_pair(value.fault, value.value), std::make_pair(ValueFault::None, c.value)) << c.text;
    }
    // The refusal says where in the whole text, and what was most likely meant.
    const ParsedSet mistyped = ParseSetExpression("Price = 2*NeedLevl", schema);
    ASSERT_TRUE(mistyped.error);
    EXPECT_EQ(std::make_pair(mistyped.error->expression.position, mistyped.error->expression.nearest),
              std::make_pair(std::size_t{10}, std::string("NeedLevel")));
    EXPECT_EQ(ParseSetExpression("Prcie=5", schema).error->nearest, "Price");
}

// A slip of a letter or two first; then the start of exactly one name; then a part of exactly
// one; never a name of two that would fit alike.
TEST(NearestName, SlipsThenStartsThenParts)
{
    constexpr std::array<std::string_view, 5> commands{"info", "export", "import", "diff", "update"};
    constexpr std::array<std::string_view, 4> titles{"Stdmode", "McType", "FuncType", "NeedLevel"};
    using Typed = std::pair<std::string_view, std::optional<std::string_view>>;
    const Typed onCommands[] = {{"exprot", "export"}, {"IMPORT", "import"}, {"imp", "import"}, {"x", std::nullopt}, {"frobnicate", std::nullopt}};
    for (const auto& [typed, meant] : onCommands) EXPECT_EQ(NearestName(typed, commands), meant) << typed;
    const Typed onTitles[] = {{"level", "NeedLevel"}, {"stdmod", "Stdmode"}, {"Typ", std::nullopt}, {"Func", "FuncType"}};
    for (const auto& [typed, meant] : onTitles) EXPECT_EQ(NearestName(typed, titles), meant) << typed;
}

} // namespace
} // namespace rw
