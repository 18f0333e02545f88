#pragma once

// Control, command and message numbers. Every control that has one carries it as the
// integer dynamic property "controlId", every menu command its number as its QAction's
// data, so that tests and automation find them by number.

namespace rw::ids {

inline constexpr char kControlIdProperty[] = "controlId";

// The record form
inline constexpr int kList = 1000;
inline constexpr int kCountBox = 1001;
inline constexpr int kRefresh = 1002;
inline constexpr int kAdd = 1003;
inline constexpr int kModify = 1004;
inline constexpr int kDelete = 1005;
inline constexpr int kSave = 1006;
inline constexpr int kSearchId = 1007;
inline constexpr int kSearchName = 1008;
inline constexpr int kIdBox = 1009;
inline constexpr int kNameBox = 1010;

// Key settings dialog
inline constexpr int kItemKeyBox = 1011;
inline constexpr int kMagicKeyBox = 1012;
inline constexpr int kMonsterKeyBox = 1013;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// Record dialogs: commit and cancel buttons (the edit boxes' ids are in the record schemas)
inline constexpr int kItemCommit = 1044;
inline constexpr int kItemCancel = 1046;
inline constexpr int kMagicCommit = 1059;
inline constexpr int kMagicCancel = 1060;
inline constexpr int kMonsterCommit = 1116;
inline constexpr int kMonsterCancel = 1117;

// Menu commands
inline constexpr int kCmdFileOpen = 57601;
inline constexpr int kCmdFileSave = 57603;
inline constexpr int kCmdFileOpenAsKind = 32806;
inline constexpr int kCmdFileInfo = 32807;
inline constexpr int kCmdSetKey = 32772;
inline constexpr int kCmdAppExit = 57665;
inline constexpr int kCmdAppAbout = 57664;
inline constexpr int kCmdFileExport = 32808;
inline constexpr int kCmdFileImport = 32809;
inline constexpr int kCmdKeepNames = 32810;
inline constexpr int kCmdCompare = 32811;
inline constexpr int kCmdClearCompare = 32812;
inline constexpr int kCmdEditUndo = 57643;
inline constexpr int kCmdEditRedo = 57644;
// The record list's context menu
inline constexpr int kCmdDeleteRows = 32800;
inline constexpr int kCmdCopyAsNew = 32801;
inline constexpr int kCmdBulkChange = 32802;
inline constexpr int kCmdCopy = 57634;
inline constexpr int kCmdPaste = 57637;
inline constexpr int kCmdFind = 32803;
inline constexpr int kCmdFindNext = 32804;
inline constexpr int kCmdFindPrevious = 32805;
inline constexpr int kCmdEditCell = 32813;
// 查看, and the files opened last
inline constexpr int kCmdResizable = 32814;
inline constexpr int kCmdFitColumns = 32815;
inline constexpr int kCmdSortByColumn = 32816;
inline constexpr int kCmdShownColumns = 32817;
inline constexpr int kCmdRecentFiles = 32818;
inline constexpr int kCmdOnlyChanged = 32819;
inline constexpr int kCmdOnlyDiffering = 32820;
inline constexpr int kCmdNextDifference = 32821;
inline constexpr int kCmdPreviousDifference = 32822;
inline constexpr int kCmdTakeOtherValue = 32823;
inline constexpr int kCmdRecordsOnlyThere = 32827;
// The plot dock: 查看 ▸ 图表, and its controls
inline constexpr int kCmdPlot = 32840;
inline constexpr int kPlotTypeBox = 1200;
inline constexpr int kPlotXBox = 1201;
inline constexpr int kPlotYBox = 1202;
inline constexpr int kPlotExport = 1203;
inline constexpr int kPlotShowAll = 1204;

} // namespace rw::ids
