#pragma once

// Every text the program shows, in one place, like the string table they come from.
// UTF-8; formats take their arguments through QString::asprintf (%s is UTF-8 text).

namespace rw::str {

// Application and main frame
inline constexpr char kAppTitle[] = "Vellmar(Kesh)服务端修改器";
inline constexpr char kTitleFileOpen[] = "——数据文件[";
inline constexpr char kTitleFileClose[] = "]";
inline constexpr char kIdleMessage[] = "就绪";
inline constexpr char kAttribution[] = "Recwright 数据表编辑器";
inline constexpr char kDateFormat[] = "%04d年%02d月%02d日";
inline constexpr char kTimeFormat[] = "%02d:%02d:%02d";
inline constexpr char kIndicatorCaps[] = "大写";
inline constexpr char kIndicatorNum[] = "数字";
inline constexpr char kIndicatorScroll[] = "滚动";

// Menu 128 and the prompts of its commands (status text, line break, short name)
inline constexpr char kMenuFile[] = "文件(&F)";
inline constexpr char kMenuOpen[] = "打开(&O)";
inline constexpr char kMenuSetKey[] = "设置(&K)";
inline constexpr char kMenuExit[] = "退出(&X)";
inline constexpr char kMenuHelp[] = "帮助(&H)";
inline constexpr char kMenuAbout[] = "关于 Recwright(&A)...";
inline constexpr char kPromptOpen[] = "打开DAT文件\n打开文件";
inline constexpr char kPromptSetKey[] = "设置加解密密钥\n设置密钥";
inline constexpr char kPromptExit[] = "退出应用程序；提示保存文档\n退出";
inline constexpr char kPromptAbout[] = "显示程序信息，版本号和版权\n关于";

// About box
inline constexpr char kAboutCaption[] = "关于 Recwright";
inline constexpr char kAboutVersion[] = "Recwright 1.02 版";
inline constexpr char kAboutAttribution[] = "数据表编辑器，供服务端管理员使用";
inline constexpr char kAboutOk[] = "确定";

// Message box captions
inline constexpr char kCaptionWarning[] = "警告";
inline constexpr char kCaptionError[] = "错误";
inline constexpr char kCaptionNotice[] = "提示";

// The record form
inline constexpr char kLabelCount[] = "数量:";
inline constexpr char kLabelId[] = "序号:";
inline constexpr char kLabelName[] = "名称:";
inline constexpr char kButtonSearchId[] = "搜索(&I)";
inline constexpr char kButtonSearchName[] = "搜索(&N)";
inline constexpr char kButtonRefresh[] = "刷新(&R)";
inline constexpr char kButtonModify[] = "修改(&M)";
inline constexpr char kButtonDelete[] = "删除(&D)";
inline constexpr char kButtonAdd[] = "增加(&A)";
inline constexpr char kButtonSave[] = "保存(&S)";

// Loading
inline constexpr char kNotADataFile[] = "打开文件非Stditem.dat,Magic.dat,Monster.dat这三个文件！";
inline constexpr char kDuplicateIdFormat[] = "已存在[ID=%s]的记录,请重新输入ID！";
inline constexpr char kTruncatedFormat[] = "文件[%s]不完整：文件头记录数为%d，实际只有%d条记录！";
inline constexpr char kRefreshFailedFormat[] = "无法重新读取文件[%s]，表格保持不变！";

// The form's commands
inline constexpr char kAddWithoutFile[] = "请打开数据文件后再进行增加记录！";
inline constexpr char kModifyWithoutFile[] = "请打开数据文件后再进行修改！";
inline constexpr char kModifyWithoutSelection[] = "请选择记录后再进行修改！";
inline constexpr char kDeleteWithoutSelection[] = "请选择记录后，再进行删除！";
inline constexpr char kSearchIdEmpty[] = "请输入0-255之间的整数！";
inline constexpr char kSearchNameEmpty[] = "请输入需搜索的名称！";
inline constexpr char kNotFound[] = "未找到你所需要的记录！";
inline constexpr char kSaved[] = "文件已保存！";
inline constexpr char kSaveFailedFormat[] = "文件[%s]保存失败：%s";
inline constexpr char kDiscardChanges[] = "表格中有未保存的修改，确定要放弃这些修改吗？";
inline constexpr char kMonsterFirstIdFormat[] =
    "第一条记录的ID(%d)无法保存在monster.dat文件中，重新打开后将变为0。是否仍然保存？";
inline constexpr char kRecordGone[] = "该记录已被删除，不存在了，无法保存修改！";

// File dialogs
inline constexpr char kOpenFilter[] = "Data Files (*.txt;*.dat)";
inline constexpr char kSaveFilter[] = "Data Files (*.dat)";
inline constexpr char kSaveDefaultSuffix[] = "dat";
inline constexpr char kProposedNameSuffix[] = "2";

// Record edit dialogs
inline constexpr char kDialogModeModify[] = "修改";
inline constexpr char kDialogModeAdd[] = "增加";
inline constexpr char kCommitModify[] = "修改(&M)";
inline constexpr char kCommitAdd[] = "增加(&A)";
inline constexpr char kCancel[] = "取消(&C)";
inline constexpr char kDialogCaptionFormat[] = "数据文件[%s]——"; // the kind's file name
inline constexpr char kEnterInteger[] = "请输入一个整数。";

// Key settings dialog
inline constexpr char kKeyDialogCaption[] = "设置密钥";
inline constexpr char kKeyLabelItem[] = "stditem密钥:";
inline constexpr char kKeyLabelMagic[] = "magic  密钥:";
inline constexpr char kKeyLabelMonster[] = "monster密钥:";
inline constexpr char kKeyOk[] = "确定(&O)";
inline constexpr char kKeyCancel[] = "取消(&C)";
inline constexpr char kEnterByte[] = "请输入一个0到255之间的整数。";

} // namespace rw::str
