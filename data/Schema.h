#pragma once

// The three record layouts as constant tables. The table columns, the edit dialogs, the CSV
// header and the codec all read these; nothing else spells out an offset or a title.

#include "data/FileKind.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rw {

enum class ColumnRole : std::uint8_t { Id, Name, Field };

struct ColumnSpec {
    std::string_view title;
    ColumnRole role = ColumnRole::Field;
    std::uint16_t offset = 0;    // the int32 for Id and Field, the name bytes for Name
    std::uint16_t widthPx = 70;  // width of the column in the record table
    std::uint16_t controlId = 0; // edit box of the kind's record dialog
    std::string_view label;      // dialog label where it differs from the title

    [[nodiscard]] constexpr std::string_view DialogLabel() const { return label.empty() ? title : label; }
    [[nodiscard]] constexpr bool IsNumeric() const { return role != ColumnRole::Name; }
};

// Bytes the editor never shows; they are carried through untouched.
struct ByteRange {
    std::uint16_t begin = 0;
    std::uint16_t end = 0; // one past the last byte
    [[nodiscard]] constexpr std::size_t Size() const { return end - begin; }
};

struct RecordSchema {
    FileKind kind = FileKind::None;
    std::string_view fileName;   // the bare file name that selects this kind
    std::uint16_t recordSize = 0;
    std::uint16_t nameLengthOffset = 0;
    std::uint16_t nameOffset = 0;
    std::uint16_t nameCapacity = 0;
    std::uint8_t initialKey = 0;
    bool uniqueIds = false;      // item and monster tables refuse a second record with one ID
    std::span<const ColumnSpec> columns;
    std::span<const ByteRange> hidden;

    // The most bytes a typed name may have: the field keeps one for the zero that ends it.
    [[nodiscard]] constexpr int TypedNameCapacity() const { return nameCapacity - 1; }
    [[nodiscard]] constexpr int ColumnCount() const { return static_cast<int>(columns.size()); }
    [[nodiscard]] constexpr const ColumnSpec& Column(int k) const { return columns[static_cast<std::size_t>(k)]; }
    // Column of a dialog edit box, or -1.
    [[nodiscard]] constexpr int ColumnOfControl(int controlId) const
    {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (columns[k].controlId == controlId) return static_cast<int>(k);
        }
        return -1;
    }
};

inline constexpr int kIdColumn = 0;
inline constexpr int kNameColumn = 1;
inline constexpr std::size_t kMaxRecordSize = 252;

namespace schema_detail {

struct FieldDef {
    std::string_view title;
    std::uint16_t controlId;
    std::uint16_t widthPx = 70;
    std::string_view label = {};
};

// Column 0 is the ID at offset 0, column 1 the name, then the int32 fields back to back.
template <std::size_t N>
constexpr std::array<ColumnSpec, N + 2> BuildColumns(FieldDef id, FieldDef name, std::uint16_t nameOffset,
                                                     std::uint16_t firstFieldOffset,
                                                     const std::array<FieldDef, N>& fields)
{
    std::array<ColumnSpec, N + 2> out{};
    out[0] = {id.title, ColumnRole::Id, 0, id.widthPx, id.controlId, id.label};
    out[1] = {name.title, ColumnRole::Name, nameOffset, name.widthPx, name.controlId, name.label};
    for (std::size_t i = 0; i < N; ++i) {
        out[i + 2] = {fields[i].title, ColumnRole::Field, static_cast<std::uint16_t>(firstFieldOffset + 4 * i),
                      fields[i].widthPx, fields[i].controlId, fields[i].label};
    }
    return out;
}

inline constexpr auto kItemColumns = BuildColumns<29>(
    {"ItemID", 1014}, {"ItemName", 1015, 120}, 153, 36,
    {{{"Stdmode", 1016}, {"Shape", 1017}, {"Weight", 1018}, {"CharLooks", 1019, 80}, {"Anicount", 1020},
      {"Source", 1021}, {"Reserved", 1022}, {"Throw", 1023}, {"Looks", 1024}, {"DuraMax", 1025},
      {"Ac", 1026}, {"Ac2", 1027}, {"MacType", 1028, 70, "Mac_Type"}, {"Mac", 1029}, {"Mac2", 1030},
      {"Dc", 1031}, {"Dc2", 1032}, {"McType", 1033, 70, "Mc_Type"}, {"Mc", 1034}, {"Mc2", 1035},
      {"FuncType", 1036, 80, "Func_Type"}, {"Need", 1037}, {"WZ1", 1038}, {"WZ2", 1039}, {"WZ3", 1040},
      {"WZ4", 1041}, {"NeedLevel", 1042, 80}, {"Price", 1043}, {"Stock", 1045}}});

inline constexpr auto kMagicColumns = BuildColumns<21>(
    {"MagID", 1047}, {"MagName", 1058, 120}, 105, 20,
    {{{"Type", 1048}, {"EffectType", 1049, 80}, {"Effect", 1050}, {"Spell", 1051}, {"Power", 1052},
      {"MaxPower", 1053}, {"DefSpell", 1054}, {"DefPower", 1055}, {"DefMaxPower", 1056, 80}, {"Job", 1057},
      {"NeedL1", 1070}, {"L1Train", 1071}, {"NeedL2", 1072}, {"L2Train", 1073}, {"NeedL3", 1074},
      {"L3Train", 1075}, {"WZ1", 1076}, {"WZ2", 1077}, {"WZ3", 1078}, {"WZ4", 1079}, {"Delay", 1080}}});

inline constexpr auto kMonsterColumns = BuildColumns<33>(
    {"MonID", 1081}, {"MonName", 1104, 120}, 234, 24,
    {{{"Race", 1082}, {"RaceImg", 1083}, {"Appr", 1084}, {"Level", 1085}, {"Undead", 1086},
      {"Tameble", 1087}, {"WZ1", 1088}, {"CoolEye", 1089}, {"EXP", 1090}, {"HP", 1091}, {"MP", 1092},
      {"WZ2", 1093}, {"WZ3", 1094}, {"AC", 1095}, {"FireMAC", 1096}, {"IceMAC", 1097}, {"LightMAC", 1098},
      {"WindMAC", 1099}, {"HolyMAC", 1100}, {"DarkMAC", 1101}, {"PhantomMAC", 1102, 80}, {"DC", 1103},
      {"DCMax", 1105}, {"MCType", 1106}, {"MC", 1107}, {"MCMax", 1108}, {"Speed", 1109}, {"Hit", 1110},
      {"WalkSpd", 1111}, {"WalkWait", 1112}, {"WalkStep", 1113}, {"AttackSpd", 1114, 80}, {"WZ4", 1115}}});

inline constexpr std::array<ByteRange, 1> kItemHidden{{{4, 36}}};
inline constexpr std::array<ByteRange, 1> kMagicHidden{{{4, 20}}};
inline constexpr std::array<ByteRange, 2> kMonsterHidden{{{4, 24}, {156, 233}}};

} // namespace schema_detail

inline constexpr RecordSchema kItemSchema{FileKind::Item, "stditem.dat", 184, 152, 153, 31, 173, true,
                                          schema_detail::kItemColumns, schema_detail::kItemHidden};
inline constexpr RecordSchema kMagicSchema{FileKind::Magic, "magic.dat", 120, 104, 105, 15, 203, false,
                                           schema_detail::kMagicColumns, schema_detail::kMagicHidden};
inline constexpr RecordSchema kMonsterSchema{FileKind::Monster, "monster.dat", 252, 233, 234, 18, 241, true,
                                             schema_detail::kMonsterColumns, schema_detail::kMonsterHidden};

// kind: a data kind (not None).
[[nodiscard]] constexpr const RecordSchema& SchemaOf(FileKind kind)
{
    assert(IsDataKind(kind));
    switch (kind) {
    case FileKind::Magic: return kMagicSchema;
    case FileKind::Monster: return kMonsterSchema;
    default: return kItemSchema;
    }
}

namespace schema_detail {

// Every byte of a record belongs to exactly one of: the ID, a field, a hidden range, the
// name's length byte, the name field. Walk the record once and check the pieces tile it.
constexpr bool TilesRecord(const RecordSchema& s)
{
    std::array<int, kMaxRecordSize> owner{};
    auto claim = [&](std::size_t begin, std::size_t end) {
        if (end > s.recordSize || begin >= end) return false;
        for (std::size_t b = begin; b < end; ++b) {
            if (owner[b]++ != 0) return false;
        }
        return true;
    };
    for (const ColumnSpec& c : s.columns) {
        const bool ok = c.role == ColumnRole::Name ? claim(c.offset, c.offset + s.nameCapacity)
                                                   : claim(c.offset, c.offset + 4u);
        if (!ok) return false;
    }
    for (const ByteRange& r : s.hidden) {
        if (!claim(r.begin, r.end)) return false;
    }
    if (!claim(s.nameLengthOffset, s.nameLengthOffset + 1u)) return false;
    for (std::size_t b = 0; b < s.recordSize; ++b) {
        if (owner[b] != 1) return false;
    }
    return true;
}

constexpr bool WellShaped(const RecordSchema& s)
{
    if (s.columns.size() < 2 || s.columns[0].role != ColumnRole::Id || s.columns[0].offset != 0) return false;
    if (s.columns[1].role != ColumnRole::Name || s.columns[1].offset != s.nameOffset) return false;
    if (s.nameLengthOffset + 1 != s.nameOffset || s.nameOffset + s.nameCapacity != s.recordSize) return false;
    for (std::size_t k = 3; k < s.columns.size(); ++k) {
        if (s.columns[k].role != ColumnRole::Field || s.columns[k].offset != s.columns[k - 1].offset + 4) return false;
    }
    for (std::size_t a = 0; a < s.columns.size(); ++a) {
        for (std::size_t b = a + 1; b < s.columns.size(); ++b) {
            if (s.columns[a].controlId == s.columns[b].controlId) return false;
        }
    }
    return s.fileName.size() > 4 && s.recordSize <= kMaxRecordSize;
}

} // namespace schema_detail

static_assert(kItemSchema.recordSize == 184 && kItemSchema.ColumnCount() == 31);
static_assert(kMagicSchema.recordSize == 120 && kMagicSchema.ColumnCount() == 23);
static_assert(kMonsterSchema.recordSize == 252 && kMonsterSchema.ColumnCount() == 35);
static_assert(schema_detail::WellShaped(kItemSchema) && schema_detail::TilesRecord(kItemSchema));
static_assert(schema_detail::WellShaped(kMagicSchema) && schema_detail::TilesRecord(kMagicSchema));
static_assert(schema_detail::WellShaped(kMonsterSchema) && schema_detail::TilesRecord(kMonsterSchema));
static_assert(kItemSchema.Column(30).offset == 148 && kItemSchema.Column(30).controlId == 1045);
static_assert(kMagicSchema.Column(22).offset == 100 && kMonsterSchema.Column(34).offset == 152);

} // namespace rw
