#include "view/StepNames.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

namespace rw {

QString StepName(const StepLabel& label, FileKind kind)
{
    const auto title = [&] {
        const RecordSchema& schema = SchemaOf(kind);
        return label.column >= 0 && label.column < schema.ColumnCount() ? Text(schema.Column(label.column).title)
                                                                        : QString();
    };
    switch (label.kind) {
    case StepKind::Modify: return Text(str::kStepModifyFormat, label.id);
    case StepKind::Add: return Text(str::kStepAddFormat, label.id);
    case StepKind::Delete:
        return label.count == 1 ? Text(str::kStepDeleteOneFormat, label.id) : Text(str::kStepDeleteFormat, label.count);
    case StepKind::Sort: return Text(str::kStepSortFormat, title());
    case StepKind::EditCell: return Text(str::kStepEditCellFormat, title());
    case StepKind::Paste: return Text(str::kStepPasteFormat, label.count);
    case StepKind::CopyAsNew: return Text(str::kStepCopyAsNewFormat, label.count);
    case StepKind::BulkChange: return Text(str::kStepBulkChangeFormat, title());
    case StepKind::Import: return Text(str::kStepImportFormat, label.count);
    case StepKind::TakeOver: return Text(str::kStepTakeOverFormat, label.count);
    case StepKind::TakeValue: return Text(str::kStepTakeValueFormat, title());
    case StepKind::Formula: return Text(str::kStepFormulaFormat, Text(label.formula));
    }
    return {};
}

} // namespace rw
