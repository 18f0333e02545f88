#pragma once

// The record form's layout: 460 × 345 dialog units, its controls in tab order.

#include "resources/Ids.h"
#include "resources/Strings.h"

#include <array>

namespace rw::form {

inline constexpr int kWidth = 460;
inline constexpr int kHeight = 345;

enum class ControlType { List, Label, Edit, Button, GroupBox };

struct ControlTemplate {
    ControlType type;
    int id; // 0: none
    const char* text;
    int x, y, width, height;
};

inline constexpr std::array kControls{
    ControlTemplate{ControlType::List, ids::kList, "", 0, 0, 460, 310},
    ControlTemplate{ControlType::Label, 0, str::kLabelCount, 9, 325, 20, 8},
    ControlTemplate{ControlType::Label, 0, str::kLabelId, 60, 325, 20, 8},
    ControlTemplate{ControlType::Label, 0, str::kLabelName, 144, 325, 20, 8},
    ControlTemplate{ControlType::Edit, ids::kCountBox, "", 29, 323, 27, 12},
    ControlTemplate{ControlType::Edit, ids::kIdBox, "", 80, 323, 27, 12},
    ControlTemplate{ControlType::Edit, ids::kNameBox, "", 164, 323, 58, 12},
    ControlTemplate{ControlType::Button, ids::kSearchId, str::kButtonSearchId, 108, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kSearchName, str::kButtonSearchName, 222, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kRefresh, str::kButtonRefresh, 267, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kModify, str::kButtonModify, 303, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kDelete, str::kButtonDelete, 339, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kAdd, str::kButtonAdd, 375, 323, 32, 12},
    ControlTemplate{ControlType::Button, ids::kSave, str::kButtonSave, 423, 323, 32, 12},
    ControlTemplate{ControlType::GroupBox, 0, "", 4, 314, 255, 26},
};

// The gap between the buttons, and the wider one before the Save button (dialog units).
inline constexpr int kButtonGap = 4;
inline constexpr int kSaveButtonGap = 16;

// EnableCommands sets the buttons in this order.
inline constexpr std::array kCommandButtons{ids::kSearchId, ids::kSearchName, ids::kRefresh, ids::kModify,
                                            ids::kDelete,   ids::kAdd,        ids::kSave};

} // namespace rw::form
