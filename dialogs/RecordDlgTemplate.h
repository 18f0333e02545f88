#pragma once

// The item, spell and monster layouts: where the record dialogs stand their labels, boxes and buttons,
// in dialog units. A template only says how many fields each column holds; which fields they
// are, their labels and their control ids come from the record schema, whose columns the
// dialog takes in order: the ID first, then the numeric fields.

#include "data/Schema.h"
#include "resources/Ids.h"

#include <array>
#include <cassert>
#include <span>

namespace rw {

struct DlgColumn {
    int labelX = 0;
    int boxX = 0;
    int fieldCount = 0;
};

// A label that stands apart from the others of its column.
struct DlgLabelShift {
    int controlId = 0;
    int labelX = 0;
};

struct RecordDlgTemplate {
    FileKind kind = FileKind::None;
    int width = 0;
    int height = 0;
    int labelWidth = 0;
    std::span<const DlgColumn> columns;
    int nameColumn = 0; // the column below whose fields the name box stands
    int nameY = 0;
    int nameWidth = 0;
    int buttonY = 0;
    int commitX = 0;
    int cancelX = 0;
    int commitId = 0;
    int cancelId = 0;
    std::span<const DlgLabelShift> labelShifts;

    [[nodiscard]] constexpr int LabelX(int column, int controlId) const
    {
        for (const DlgLabelShift& shift : labelShifts) {
            if (shift.controlId == controlId) return shift.labelX;
        }
        return columns[static_cast<std::size_t>(column)].labelX;
    }
};

// Shared by the three templates.
inline constexpr int kDlgFirstBoxY = 7;
inline constexpr int kDlgRowPitch = 14;
inline constexpr int kDlgLabelDrop = 1; // a label stands one unit lower than its box
inline constexpr int kDlgLabelHeight = 8;
inline constexpr int kDlgBoxWidth = 40;
inline constexpr int kDlgBoxHeight = 12;
inline constexpr int kDlgButtonWidth = 38;
inline constexpr int kDlgButtonHeight = 14;

namespace dlg_detail {

inline constexpr std::array<DlgColumn, 3> kItemColumns{{{7, 50, 10}, {99, 142, 10}, {192, 234, 10}}};
inline constexpr std::array<DlgLabelShift, 2> kItemShifts{{{1035, 191}, {1045, 191}}}; // Mc2, Stock
inline constexpr std::array<DlgColumn, 2> kMagicColumns{{{7, 57, 11}, {103, 153, 11}}};
inline constexpr std::array<DlgColumn, 3> kMonsterColumns{{{7, 53, 12}, {98, 144, 11}, {189, 235, 11}}};

} // namespace dlg_detail

inline constexpr RecordDlgTemplate kItemDlgTemplate{
    FileKind::Item, 281, 173, 37, dlg_detail::kItemColumns, 0, 150, 77,
    152, 171, 219, ids::kItemCommit, ids::kItemCancel, dlg_detail::kItemShifts};
inline constexpr RecordDlgTemplate kMagicDlgTemplate{
    FileKind::Magic, 200, 203, 45, dlg_detail::kMagicColumns, 0, 161, 91,
    182, 48, 113, ids::kMagicCommit, ids::kMagicCancel, {}};
inline constexpr RecordDlgTemplate kMonsterDlgTemplate{
    FileKind::Monster, 282, 203, 41, dlg_detail::kMonsterColumns, 1, 161, 91,
    182, 75, 169, ids::kMonsterCommit, ids::kMonsterCancel, {}};

// kind: a data kind (not None).
[[nodiscard]] constexpr const RecordDlgTemplate& DlgTemplateOf(FileKind kind)
{
    assert(IsDataKind(kind));
    switch (kind) {
    case FileKind::Magic: return kMagicDlgTemplate;
    case FileKind::Monster: return kMonsterDlgTemplate;
    default: return kItemDlgTemplate;
    }
}

// The schema column that the i-th box of a template carries (the name aside): the ID, then
// the numeric fields in offset order.
[[nodiscard]] constexpr int SchemaColumnOfBox(int i) { return i == 0 ? kIdColumn : i + 1; }

namespace dlg_detail {

// Every numeric column of the kind has exactly one box, and every label shift names one.
constexpr bool FitsSchema(const RecordDlgTemplate& t)
{
    const RecordSchema& s = SchemaOf(t.kind);
    int boxes = 0;
    for (const DlgColumn& c : t.columns) boxes += c.fieldCount;
    if (boxes != s.ColumnCount() - 1) return false;
    if (t.nameColumn < 0 || t.nameColumn >= static_cast<int>(t.columns.size())) return false;
    for (const DlgLabelShift& shift : t.labelShifts) {
        if (s.ColumnOfControl(shift.controlId) < 0) return false;
    }
    return true;
}

} // namespace dlg_detail

static_assert(dlg_detail::FitsSchema(kItemDlgTemplate));
static_assert(dlg_detail::FitsSchema(kMagicDlgTemplate));
static_assert(dlg_detail::FitsSchema(kMonsterDlgTemplate));

} // namespace rw
