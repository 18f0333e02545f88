#include "query/BulkChange.h"

#include "data/Schema.h"

#include <algorithm>

namespace rw {

BulkChange ChangeOf(FileKind kind, int column, BulkOperation operation, const FieldExpression& operand)
{
    static constexpr FieldExpression::Operator kOperators[] = {
        FieldExpression::Operator::Add, FieldExpression::Operator::Add, FieldExpression::Operator::Subtract,
        FieldExpression::Operator::Multiply, FieldExpression::Operator::Divide};
    BulkChange change;
    change.column = column;
    change.value = operation == BulkOperation::Set
                       ? operand
                       : FieldExpression::Combined(FieldExpression::Field(kind, column),
                                                   kOperators[static_cast<int>(operation)], operand);
    return change;
}

BulkChange FormulaOf(FileKind kind, int column, const FieldExpression& expression)
{
    BulkChange change;
    change.column = column;
    change.value = expression;
    change.formula = std::string(SchemaOf(kind).Column(column).title) + "=" + expression.Text();
    return change;
}

std::vector<std::size_t> MembersSharingIds(const UniqueIds& held, const IdBatch::Rewrites& rewrites,
                                           std::span<const std::int32_t> ids)
{
    std::vector<std::size_t> members;
    IdBatch batch(held, rewrites);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::uint32_t taken = batch.Claim(ids[i], static_cast<std::uint32_t>(i));
        if (taken == IdBatch::kHeldOutside) {
            members.push_back(i);
        } else if (taken != UniqueIds::kNobody) {
            members.insert(members.end(), {std::size_t{taken}, i});
        }
    }
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    return members;
}

BulkPlan PlanBulkChange(const BulkChange& change, const BulkRecords& records)
{
    BulkPlan plan;
    plan.values.resize(records.count);
    ValueFault refused = ValueFault::None;
    for (std::size_t member = 0; member < records.count; ++member) {
        const WholeValue value = change.value.EvaluateWhole(records.recordAt(member));
        plan.values[member] = value.value;
        if (value.Ok()) continue;
        if (refused == ValueFault::None) refused = value.fault;
        if (value.fault == refused) plan.members.push_back(member);
    }
    switch (refused) {
    case ValueFault::None: break;
    case ValueFault::Overflow: plan.outcome = BulkPlan::Outcome::Overflow; break;
    case ValueFault::DivisionByZero: plan.outcome = BulkPlan::Outcome::DivisionByZero; break;
    case ValueFault::OutOfRange: plan.outcome = BulkPlan::Outcome::OutOfRange; break;
    }
    if (plan.outcome == BulkPlan::Outcome::Done && change.column == kIdColumn && records.held) {
        plan.members = MembersSharingIds(*records.held, records.rewrites, plan.values);
        if (!plan.members.empty()) plan.outcome = BulkPlan::Outcome::DuplicateId;
    }
    if (plan.outcome != BulkPlan::Outcome::Done) plan.values.clear();
    return plan;
}

} // namespace rw
