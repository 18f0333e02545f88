#include "query/SetExpression.h"

#include "data/RecordBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace rw {
namespace {

// Each --set text read: the column, the operation and what the value comes to on an item whose
// Price is 50 and NeedLevel 16; or why it is refused.
TEST(SetExpression, AssignmentsReadAsTheirColumnOperationAndValue)
{
    const RecordSchema& schema = SchemaOf(FileKind::Item);
    std::array<std::uint8_t, 184> item{};
    StoreInt32(item.data() + schema.Column(28).offset, 16);
    StoreInt32(item.data() + schema.Column(29).offset, 50);
    using Op = BulkOperation;
    using E = SetError::Kind;
    struct Case {
        const char* text;
        std::optional<E> error;
        int column = 0;
        Op operation = Op::Set;
        std::int32_t value = 0; // the column's new value, or the name's text as the value's
        const char* name = "";
    };
    const Case cases[] = {
        {"Price=NeedLevel*120", {}, 29, Op::Set, 1920},
        {" price = needlevel * 120 ", {}, 29, Op::Set, 1920},
        {"Price*=1.15", {}, 29, Op::Multiply, 58},
        {"Price/=2*2", {}, 29, Op::Divide, 13},   // Price/(2*2): the value is one expression
        {"Price-=10-5", {}, 29, Op::Subtract, 45}, // Price-(10-5)
        {"Price+=-10", {}, 29, Op::Add, 40},
        {"Price=1.5", {}, 29, Op::Set, 2},
        {"ItemID+=-10", {}, 0, Op::Add, -10},
        {"Stock=max(Price,NeedLevel)", {}, 30, Op::Set, 50},
        {"Name=新名字", {}, 1, Op::Set, 0, "新名字"},
        {"itemname= a b ", {}, 1, Op::Set, 0, " a b "},
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
        EXPECT_EQ(parsed.set->column, c.column) << c.text;
        EXPECT_EQ(parsed.set->operation, c.operation) << c.text;
        EXPECT_EQ(parsed.set->text, c.text);
        if (parsed.set->SetsName()) {
            EXPECT_EQ(parsed.set->nameText, c.name) << c.text;
            continue;
        }
        const WholeValue value = parsed.set->Change(FileKind::Item).value.EvaluateWhole(item.data());
        EXPECT_TRUE(value.Ok()) << c.text;
        EXPECT_EQ(value.value, c.value) << c.text;
    }
    // The refusal says where in the whole text, and what was most likely meant.
    const ParsedSet mistyped = ParseSetExpression("Price = 2*NeedLevl", schema);
    ASSERT_TRUE(mistyped.error);
    EXPECT_EQ(mistyped.error->expression.position, 10u);
    EXPECT_EQ(mistyped.error->expression.nearest, "NeedLevel");
    EXPECT_EQ(ParseSetExpression("Prcie=5", schema).error->nearest, "Price");
}

} // namespace
} // namespace rw
