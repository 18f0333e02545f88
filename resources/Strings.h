#pragma once

// Every text the program shows, in one place, like the string table they come from. UTF-8.

namespace rw::str {

// The windows' formats have places %1, %2, ..., filled by Text() (ui/Texts.h) in one pass;
// the command line's keep printf's forms, so that the compiler checks them.

// Application and main frame
inline constexpr char kAppTitle[] = "Vellmar(Kesh)服务端修改器";
inline constexpr char kTitleFileOpen[] = "——数据文件[";
inline constexpr char kTitleFileClose[] = "]";
inline constexpr char kIdleMessage[] = "就绪";
inline constexpr char kAttribution[] = "Recwright 数据表编辑器";
inline constexpr char kDateFormat[] = "%1年%2月%3日"; // 4, 2 and 2 digits
inline constexpr char kTimeFormat[] = "%1:%2:%3";     // 2 digits each

// Menu 128 and the prompts of its commands (status text, line break, short name)
inline constexpr char kMenuFile[] = "文件(&F)";
inline constexpr char kMenuOpen[] = "打开(&O)";
inline constexpr char kMenuOpenAsKind[] = "按类型打开(&T)...";
inline constexpr char kMenuSave[] = "保存(&S)";
inline constexpr char kMenuFileInfo[] = "文件信息(&I)...";
inline constexpr char kMenuSetKey[] = "设置(&K)";
inline constexpr char kMenuExit[] = "退出(&X)";
inline constexpr char kMenuHelp[] = "帮助(&H)";
inline constexpr char kMenuAbout[] = "关于 Recwright(&A)...";
inline constexpr char kPromptOpen[] = "打开DAT文件\n打开文件";
inline constexpr char kPromptOpenAsKind[] = "打开任意名称的数据文件，并说明它是哪一种数据表\n按类型打开";
inline constexpr char kPromptFileInfo[] = "显示打开的文件的位置、类型、密钥和大小\n文件信息";
inline constexpr char kPromptSave[] = "保存到打开的文件，原来的文件另存为 .bak\n保存";
inline constexpr char kPromptSetKey[] = "设置加解密密钥\n设置密钥";
inline constexpr char kPromptExit[] = "退出应用程序；提示保存文档\n退出";
inline constexpr char kPromptAbout[] = "显示程序信息，版本号和版权\n关于";
inline constexpr char kMenuEdit[] = "编辑(&E)";
inline constexpr char kMenuUndo[] = "撤销"; // followed by the step's name
inline constexpr char kMenuRedo[] = "重做";
inline constexpr char kPromptUndo[] = "撤销上一步修改\n撤销";
inline constexpr char kPromptRedo[] = "重做刚撤销的修改\n重做";
inline constexpr char kMenuEditCell[] = "编辑单元格(&E)";
inline constexpr char kPromptFind[] = "按名称、ID或列的条件查找记录\n查找";
inline constexpr char kPromptFindNext[] = "查找下一个匹配的记录\n查找下一个";
inline constexpr char kPromptFindPrevious[] = "查找上一个匹配的记录\n查找上一个";
inline constexpr char kPromptEditCell[] = "在表格中直接修改当前单元格\n编辑单元格";
inline constexpr char kPromptDeleteRows[] = "删除选中的所有记录\n删除所选记录";
inline constexpr char kPromptCopyAsNew[] = "把选中的记录复制为ID新的记录，加在表格末尾\n复制为新记录";
inline constexpr char kPromptBulkChange[] = "把选中记录的一列设为、加上或乘以一个数\n批量修改";
inline constexpr char kPromptCopy[] = "把选中的记录复制到剪贴板\n复制";
inline constexpr char kPromptPaste[] = "从剪贴板粘贴记录，或把一列数值粘贴到当前列\n粘贴";
inline constexpr char kMenuRecentFiles[] = "最近打开的文件(&R)";
inline constexpr char kPromptRecentFiles[] = "再次打开最近打开过的文件，按当时的类型\n最近打开的文件";
inline constexpr char kRecentFileFormat[] = "&%1 %2（%3）"; // its number, the path, the kind
inline constexpr char kRecentNone[] = "（无）";
inline constexpr char kKindShortItem[] = "物品";
inline constexpr char kKindShortMagic[] = "魔法";
inline constexpr char kKindShortMonster[] = "怪物";
inline constexpr char kMenuView[] = "查看(&V)";
inline constexpr char kMenuResizable[] = "可调整窗口大小(&R)";
inline constexpr char kPromptResizable[] = "让窗口可以改变大小和最大化，记录列表随窗口变大\n可调整窗口大小";
inline constexpr char kMenuFitColumns[] = "适合列宽(&W)";
inline constexpr char kPromptFitColumns[] = "把每一列的宽度调整到正好显示列名和表格中所有的值\n适合列宽";
inline constexpr char kMenuSortByColumn[] = "按当前列排序(&S)";
inline constexpr char kPromptSortByColumn[] = "按当前单元格所在的列排序，再次执行则反向排序\n按当前列排序";
inline constexpr char kMenuShownColumns[] = "显示的列(&C)";
inline constexpr char kMenuShowAllColumns[] = "显示全部列(&A)";
inline constexpr char kPromptShownColumns[] = "选择记录列表显示哪些列（在列名上单击右键也可以）\n显示的列";
inline constexpr char kMenuOnlyChanged[] = "只显示修改过的记录(&M)";
inline constexpr char kPromptOnlyChanged[] = "只显示打开或保存以来修改过或增加的记录\n只显示修改过的记录";
inline constexpr char kMenuOnlyDiffering[] = "只显示不同的记录(&D)";
inline constexpr char kPromptOnlyDiffering[] = "只显示与比较文件不同的记录（先用“与文件比较”）\n只显示不同的记录";
inline constexpr char kMenuNextDifference[] = "下一处差异(&N)";
inline constexpr char kPromptNextDifference[] =
    "转到下一个与比较文件不同的单元格；没有比较时，转到下一个修改过的单元格\n下一处差异";
inline constexpr char kMenuPreviousDifference[] = "上一处差异(&R)";
inline constexpr char kPromptPreviousDifference[] =
    "转到上一个与比较文件不同的单元格；没有比较时，转到上一个修改过的单元格\n上一处差异";
inline constexpr char kMenuTakeOtherValue[] = "接收此值(&T)";
inline constexpr char kPromptTakeOtherValue[] = "所选记录在当前列的值改为比较文件中的值（可以撤销）\n接收此值";
inline constexpr char kNoDifferences[] = "没有与比较文件不同的单元格。";
inline constexpr char kNoChangedCells[] = "没有修改过的单元格。";
inline constexpr char kDifferenceWrappedToStart[] = "已到表格末尾，从开头继续。";
inline constexpr char kDifferenceWrappedToEnd[] = "已到表格开头，从末尾继续。";
inline constexpr char kTakeValueWithoutComparison[] = "请先用“与文件比较”打开一个比较文件。";
inline constexpr char kTakeValueWithoutColumn[] = "请先在表格中选择一个单元格：接收的是它所在列的值。";
inline constexpr char kTakeValueNothingFormat[] = "所选记录的[%1]与[%2]没有不同，没有可接收的值。"; // title, file
inline constexpr char kTakeValueDuplicateIdFormat[] = "接收后ID将重复，没有接收：%1";
inline constexpr char kStepTakeValueFormat[] = "接收 %1"; // the column's title
inline constexpr char kSortWithoutColumn[] = "请先在表格中选择一个单元格，再按它所在的列排序！";

// The steps of the edit history, as the 编辑 menu names them
inline constexpr char kStepModifyFormat[] = "修改 [ID=%1]";
inline constexpr char kStepAddFormat[] = "增加 [ID=%1]";
inline constexpr char kStepDeleteOneFormat[] = "删除 [ID=%1]";
inline constexpr char kStepDeleteFormat[] = "删除 %1 条记录";
inline constexpr char kStepSortFormat[] = "排序 %1";       // the column's title
inline constexpr char kStepEditCellFormat[] = "修改 %1";   // the column's title
inline constexpr char kStepPasteFormat[] = "粘贴 %1 条记录";
inline constexpr char kStepCopyAsNewFormat[] = "复制为新记录 %1 条";
inline constexpr char kStepBulkChangeFormat[] = "批量修改 %1"; // the column's title
inline constexpr char kStepFormulaFormat[] = "公式 %1";      // the formula, "Price=NeedLevel*120"

// Many rows at once: the list's context menu
inline constexpr char kMenuDeleteRows[] = "删除所选记录(&D)";
inline constexpr char kMenuCopyAsNew[] = "复制为新记录(&N)";
inline constexpr char kMenuBulkChange[] = "批量修改(&B)...";
inline constexpr char kDeleteRowsFormat[] = "确定要删除选中的%1条记录吗？";
inline constexpr char kCopyAsNewNoIds[] = "无法为新记录分配ID：最大的ID之后已没有足够的32位整数！";
inline constexpr char kBulkOutOfRangeFormat[] =
    "批量修改后，下列记录的%1将超出32位整数的范围，没有做任何修改：\n%2"; // the column, the records
inline constexpr char kBulkDuplicateIdFormat[] = "批量修改后，下列记录的ID将与其他记录重复，没有做任何修改：\n%1";
inline constexpr char kBulkOverflowFormat[] =
    "批量修改时，下列记录的%1在计算中出现了过大、无法精确计算的值，没有做任何修改：\n%2"; // the column, the records
inline constexpr char kBulkDivisionByZeroFormat[] = "批量修改时，下列记录的公式除以零，没有做任何修改：\n%1";
inline constexpr char kRecordIdFormat[] = "[ID=%1]";
inline constexpr char kMoreRecordsFormat[] = "……另有%1条";

// Bulk change dialog
inline constexpr char kBulkCaption[] = "批量修改";
inline constexpr char kBulkColumn[] = "列(&L):";
inline constexpr char kBulkSet[] = "设为(&S)";
inline constexpr char kBulkAdd[] = "加上(&A)";
inline constexpr char kBulkMultiply[] = "乘以(&M)";
inline constexpr char kBulkFormula[] = "公式(&F)";
inline constexpr char kBulkValue[] = "数值(&V):";
inline constexpr char kBulkRowsFormat[] = "修改选中的%1条记录";
inline constexpr char kBulkTooManyDigitsFormat[] = "乘数最多有%1位数字，小数点后也最多%1位。";
inline constexpr char kBulkFormulaTip[] =
    "公式按每条记录自己的字段计算新值，如 NeedLevel*120、Level*Level*40、max(Dc,Dc2)*1.5：\n"
    "列名（不分大小写）、整数和小数、+ - * /、括号、min(…)、max(…)、abs(…)；\n"
    "精确计算，最后四舍五入一次（.5 远离零）。";
inline constexpr char kBulkPreviewFormat[] = "将修改%1条记录：";
inline constexpr char kBulkPreviewNone[] = "没有记录会改变。";
inline constexpr char kBulkPreviewRowFormat[] = "[ID=%1] %2 → %3";
inline constexpr char kBulkPreviewRefused[] = "不能修改：";
inline constexpr char kBulkOutOfRangeShort[] = "超出32位整数的范围";
inline constexpr char kBulkOverflowShort[] = "计算中出现过大的值";
inline constexpr char kBulkDivisionByZeroShort[] = "除以零";
inline constexpr char kBulkDuplicateIdShort[] = "ID与其他记录重复";
// What is wrong with an expression, where: the character's number, then the reason.
inline constexpr char kExprAtFormat[] = "第%1个字符处：%2";
inline constexpr char kExprNoValue[] = "缺少数值";
inline constexpr char kExprNoValueFormat[] = "“%1”处应是一个数值";
inline constexpr char kExprUnexpectedFormat[] = "“%1”前面已是完整的值，这里应是 + - * / 或结束";
inline constexpr char kExprNameFieldFormat[] = "“%1”是名称，不能参与计算";
inline constexpr char kExprUnknownFunctionFormat[] = "没有名为“%1”的函数；可用的有 min、max 和 abs";
inline constexpr char kExprAbsCountFormat[] = "“%1”只取一个值";
inline constexpr char kExprMinMaxCountFormat[] = "“%1”要取两个或更多的值";
inline constexpr char kExprNoClosing[] = "这个“(”没有对应的“)”";
inline constexpr char kExprNotANumberFormat[] = "“%1”不是数";
inline constexpr char kExprTooManyDigitsFormat[] = "“%1”的位数太多：最多%2位数字，小数点后也最多%2位";
inline constexpr char kExprTooDeepFormat[] = "嵌套超过%1层，或一次取的值太多";
inline constexpr char kEnterNumber[] = "请输入一个数。";

// Find bar
inline constexpr char kMenuFind[] = "查找(&F)...";
inline constexpr char kMenuFindNext[] = "查找下一个(&G)";
inline constexpr char kMenuFindPrevious[] = "查找上一个(&V)";
// The syntax with the open kind's examples: a part of a name, an ID, a condition, parts
// together, alternatives.
inline constexpr char kFindSyntaxTipFormat[] =
    "查找什么：\n"
    "· 名称的一部分（英文字母不分大小写）或ID：%1、%2\n"
    "· 列的条件：列名、运算符（= != < <= > >=）和整数：%3\n"
    "· 与本记录其他字段算出的值比较：%6（列名、数、+ - * /、括号、min、max、abs，精确比较）\n"
    "· 用空格分开的几部分都要满足：%4\n"
    "· 用 | 分开的几组满足一组即可：%5";
inline constexpr char kFindInactive[] = "按 Enter 在这个表格中查找";
inline constexpr char kFindLabel[] = "查找(&W):";
inline constexpr char kFindPlaceholderFormat[] = "名称、ID或条件，如 %1"; // the kind's condition
// Each kind's examples of a query, every one of which finds records in the sample tables:
// items, spells and monsters, in the order of their FileKind.
struct QueryExamples {
    const char* namePart;
    const char* id;
    const char* condition; // the placeholder's too
    const char* together;  // a part of a name and conditions
    const char* either;    // alternatives
    const char* compare;   // a field compared with what other fields give
};
inline constexpr QueryExamples kQueryExamples[] = {
    {"戒指", "16", "NeedLevel>=16", "戒指 NeedLevel>=16 Price<2500", "Stdmode=30 | Stdmode=31", "Price<NeedLevel*10"},
    {"治愈", "5", "NeedL1>=20", "斩 Job=0 NeedL1<20", "Job=1 | Job=2", "MaxPower>=Power*2"},
    {"野猪", "26", "Level>=40", "守卫 Level>=30 HP<2000", "Level>=40 | HP>=3000", "HP>=Level*Level*40"},
};
inline constexpr char kFindPrevious[] = "上一个";
inline constexpr char kFindNext[] = "下一个";
inline constexpr char kFindOnlyMatching[] = "只显示匹配的记录";
inline constexpr char kFindClose[] = "关闭";
inline constexpr char kFindMatchFormat[] = "第 %1 个，共 %2 个";
inline constexpr char kFindMatchCountFormat[] = "共 %1 个";
inline constexpr char kFindNoMatch[] = "没有匹配的记录";
inline constexpr char kFindUnknownColumnFormat[] = "没有名为“%1”的列";
inline constexpr char kFindDidYouMeanFormat[] = "；是指“%1”吗？"; // the nearest title
inline constexpr char kFindNameColumnFormat[] = "“%1”是名称，不能按数值比较";
inline constexpr char kFindNoOperatorFormat[] = "“%1”后面应是 = != < <= > >= 之一";
inline constexpr char kFindNoNumberFormat[] = "“%1”的运算符后面没有要比较的值";
inline constexpr char kFindNotInRangeFormat[] = "“%1”超出了32位整数的范围";
inline constexpr char kFindEmptyAlternative[] = "“|”的一边没有内容，那会匹配所有记录";

// Tab-separated text and CSV in the editor: what is wrong where
inline constexpr char kCsvLineColumnFormat[] = "第%1行第%2列：%3";
inline constexpr char kCsvLineFormat[] = "第%1行：%2";
inline constexpr char kCsvMoreErrorsFormat[] = "……另有%1处错误";
inline constexpr char kCsvZhNoHeader[] = "没有内容；第一行应是列名";
inline constexpr char kCsvZhBadHeaderFormat[] = "第一行应是%1的列名：%2[,Raw]；实际是：%3";
inline constexpr char kCsvZhBadAnyHeaderFormat[] = "第一行应是某个表的列名（%1）；实际是：%2";
inline constexpr char kCsvZhQuoteInsideField[] = "字段中间有引号（应把整个字段放在引号中，其中的引号写两遍）";
inline constexpr char kCsvZhTextAfterQuote[] = "字段的引号结束后还有其他文字";
inline constexpr char kCsvZhUnclosedQuote[] = "引号直到末尾都没有结束";
inline constexpr char kCsvZhStrayCarriageReturn[] = "行中有多余的回车符";
inline constexpr char kCsvZhRowTooLongFormat[] = "这一行太长（超过%1字节）";
inline constexpr char kCsvZhInHeaderFormat[] = "列名那一行：%1";
inline constexpr char kCsvZhFieldCountFormat[] = "有%1个字段，但列名有%2个";
inline constexpr char kCsvZhBadNumberFormat[] = "%1：“%2”不是-2147483648到2147483647之间的整数";
inline constexpr char kCsvZhBadRawFormat[] = "Raw（记录的原始字节）：“%1”不是%2个十六进制数字（也可以为空）";
inline constexpr char kCsvZhNameNotWellFormedFormat[] = "%1：“%2”的编码不是UTF-8（它可能是GBK文字）";
inline constexpr char kCsvZhNameNotEncodedFormat[] = "%1：“%2”中有GBK无法表示的字符";
inline constexpr char kCsvZhNameTooLongFormat[] = "%1：“%2”在GBK中占%3字节，最多只能%4字节";
inline constexpr char kCsvZhDuplicateIdFormat[] = "%1：ID %2 在第%3行已经出现";
inline constexpr char kCsvZhTooManyRecords[] = "记录太多，数据文件无法记下这个数目";
inline constexpr char kCsvZhNoRawColumn[] = "没有Raw列（记录的原始字节，保存着各列不显示的内容）：各条记录中不显示的字节都将为0";
inline constexpr char kCsvZhFirstMonsterIdFormat[] = "第一条记录的ID（%1）在monster.dat中无法保存，重新打开后将变为0";
inline constexpr char kCsvZhNoRecords[] = "没有记录";
inline constexpr char kCsvZhWrongCellTypeFormat[] = "%1：“%2”存储为%3，而不是文本：它可能已被电子表格改变（请把该列设为文本格式后重新输入）";
inline constexpr char kCsvZhCellNumber[] = "数字";
inline constexpr char kCsvZhCellBoolean[] = "逻辑值";
inline constexpr char kCsvZhCellError[] = "错误值";
inline constexpr char kCsvZhCellFormula[] = "公式";
inline constexpr char kCsvZhCellDate[] = "日期";

// The clipboard
inline constexpr char kMenuCopy[] = "复制(&C)";
inline constexpr char kMenuPaste[] = "粘贴(&P)";
inline constexpr char kPasteBadTextFormat[] = "剪贴板中的文字无法粘贴，表格没有改变：\n%1";
inline constexpr char kPasteRefusedFormat[] = "下列记录的ID在表格中已经存在，没有粘贴：\n%1";
inline constexpr char kPasteCountMismatchFormat[] = "剪贴板中有%1个数值，但选中了%2条记录。";
inline constexpr char kPasteCellsBadFormat[] = "第%1个数值“%2”不是-2147483648到2147483647之间的整数，表格没有改变。";
inline constexpr char kPasteCellsDuplicateFormat[] = "粘贴后，下列记录的ID将与其他记录重复，表格没有改变：\n%1";
inline constexpr char kPasteNothing[] = "剪贴板中没有可以粘贴的文字。";
inline constexpr char kPasteWithoutColumn[] = "请先在表格中选择一个单元格：一列数值将粘贴到它所在的列。";
inline constexpr char kPasteCellsNotGbkFormat[] = "第%1个数值“%2”中有GBK无法表示的字符，表格没有改变。";

// What a column header's tooltip says of its field
inline constexpr char kColumnTipNumberFormat[] = "%1：偏移 %2，32 位整数"; // the title, the offset
inline constexpr char kColumnTipNameFormat[] =
    "%1：偏移 %2，名称（GBK 文字），字段容量 %3 字节；长度字节在偏移 %4"; // the title, the offset, the capacity, the length byte

// The status bar beyond the panes of the frame
inline constexpr char kStatusChangedFormat[] = "已修改 %1 条记录";
inline constexpr char kStatusOrderChanged[] = "记录顺序已改变";
inline constexpr char kStatusChangedAndOrderFormat[] = "已修改 %1 条记录，记录顺序已改变";
inline constexpr char kStatusShownFormat[] = "显示 %1 / %2 条";

// About box
inline constexpr char kAboutCaption[] = "关于 Recwright";
inline constexpr char kAboutVersion[] = "Recwright 1.02 版";
inline constexpr char kAboutAttribution[] = "自由软件，许可证：GPL-3.0-or-later"; // LICENSE
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
inline constexpr char kDuplicateIdFormat[] = "已存在[ID=%1]的记录,请重新输入ID！";
inline constexpr char kTruncatedFormat[] = "文件[%1]不完整：文件头记录数为%2，实际只有%3条记录！";
inline constexpr char kOpenFailedFormat[] = "无法打开文件[%1]：%2！"; // the file, the reason
inline constexpr char kRefreshFailedFormat[] = "无法重新读取文件[%1]，表格保持不变：%2！";
// Why a file did not load, after the file's name
inline constexpr char kReasonNotRegularFile[] = "它不是普通文件，而是文件夹、设备或管道";
inline constexpr char kReasonSystemFormat[] = "%1（%2）"; // our words, the system's
inline constexpr char kReasonNoFile[] = "文件不存在";
inline constexpr char kReasonNoPermission[] = "没有读取它的权限";
inline constexpr char kReasonLinkLoop[] = "链接过多：符号链接层数过多或形成了循环";
inline constexpr char kReasonNameTooLong[] = "文件名太长";
inline constexpr char kReasonNotAFolder[] = "路径中有一部分不是文件夹";
inline constexpr char kReasonIoError[] = "读取时发生输入输出错误";
inline constexpr char kReasonSystemOther[] = "系统无法读取它";
// The same when writing, and the reasons common to both
inline constexpr char kReasonNoFolder[] = "它所在的文件夹不存在";
inline constexpr char kReasonNoWritePermission[] = "没有写入它或它所在文件夹的权限";
inline constexpr char kReasonDiskFull[] = "磁盘空间不足";
inline constexpr char kReasonReadOnly[] = "它所在的磁盘是只读的";
inline constexpr char kReasonIsAFolder[] = "它是一个文件夹";
inline constexpr char kReasonFileTooLarge[] = "文件太大，超过了系统允许的大小";
inline constexpr char kReasonInUse[] = "它正被其他程序使用";
inline constexpr char kReasonNoRecordsFormat[] = "文件头中的记录数为%1，没有可以载入的记录";
inline constexpr char kReasonTooLargeFormat[] = "文件太大（%1），载入它所需的内存超过了可用的内存";
// Records a load leaves out
inline constexpr char kLoadDuplicateIdFormat[] = "已存在[ID=%1]的记录,该记录未载入！";
inline constexpr char kLoadRefusedSummaryFormat[] = "共有%1条记录因ID与前面的记录重复而未载入，它们的ID是：\n%2";
inline constexpr char kLoadRefusedTimesFormat[] = "%1（%2条）"; // an ID, how many records had it
inline constexpr char kLoadRefusedMoreFormat[] = "……另有%1个ID";
inline constexpr char kTrailingBytesFormat[] =
    "文件[%1]的文件头记录数为%2，但最后一条记录之后还有%3字节。这些字节没有载入，保存时不会保留！";

// The form's commands
inline constexpr char kAddWithoutFile[] = "请打开数据文件后再进行增加记录！";
inline constexpr char kModifyWithoutFile[] = "请打开数据文件后再进行修改！";
inline constexpr char kModifyWithoutSelection[] = "请选择记录后再进行修改！";
inline constexpr char kDeleteWithoutSelection[] = "请选择记录后，再进行删除！";
inline constexpr char kSearchIdEmpty[] = "请输入0-255之间的整数！";
inline constexpr char kSearchNameEmpty[] = "请输入需搜索的名称！";
inline constexpr char kNotFound[] = "未找到你所需要的记录！";
inline constexpr char kSavedFormat[] = "%1文件已保存！"; // the bare name
inline constexpr char kSaveFailedFormat[] = "文件[%1]保存失败：%2";
inline constexpr char kBackupFailedFormat[] = "无法把原来的文件备份为[%1]：%2。文件没有保存！";
inline constexpr char kBackupReadFailedFormat[] = "无法读取文件[%1]来备份它：%2。文件没有保存！";
inline constexpr char kBackupNameTakenFormat[] =
    "无法把原来的文件备份为[%1]：这个名称已被%2占用，备份只替换本用户的普通文件。文件没有保存！请把它移走或改名后再保存。";
inline constexpr char kBackupNameIsTableFormat[] =
    "无法把原来的文件备份为[%1]：[%2]是指向它的链接，备份会被这次保存覆盖。文件没有保存！";
inline constexpr char kNameEntryLink[] = "一个符号链接";
inline constexpr char kNameEntryFolder[] = "一个文件夹";
inline constexpr char kNameEntryPipeOrDevice[] = "一个管道或设备";
inline constexpr char kNameEntryOther[] = "一个特殊文件";
inline constexpr char kNameEntryOthersFile[] = "其他用户的文件";
inline constexpr char kLossQuestionFormat[] =
    "文件[%1]载入时有内容没有载入。保存会覆盖它，下列内容将不会保留：\n%2\n是否仍然保存？";
inline constexpr char kLossMissingFormat[] =
    "· 文件头所说的%1条记录：文件缺 %2 字节，缺的记录没有载入，不完整的记录以0补足";
inline constexpr char kLossTrailingFormat[] = "· 最后一条记录之后的 %1 字节";
inline constexpr char kLossRefusedFormat[] = "· 因ID重复而没有载入的 %1 条记录";
inline constexpr char kLossOtherKindFormat[] =
    "· 文件原来的内容：它的大小正好是%1的大小，按%2载入的记录很可能是乱码";
inline constexpr char kSaveChangesQuestion[] = "表格中有未保存的修改，是否先保存这些修改？";
inline constexpr char kSaveOrderQuestion[] = "表格中有未保存的修改：只改变了记录顺序。是否先保存这些修改？";
inline constexpr char kButtonSaveChanges[] = "保存(&S)";
inline constexpr char kButtonDiscardChanges[] = "不保存(&N)";
inline constexpr char kButtonCancelQuestion[] = "取消";
inline constexpr char kButtonStopShowing[] = "不再提示(&T)";
inline constexpr char kButtonOpenAsKind[] = "按类型打开(&T)...";
inline constexpr char kSaveEmptyTable[] =
    "表格中没有任何记录。保存后的文件记录数为0，本程序和服务端都无法再打开它。是否仍然保存？";
inline constexpr char kChangedOnDiskFormat[] =
    "文件[%1]在载入后已被其他程序修改。保存将覆盖那些修改，是否仍然保存？";
inline constexpr char kChangedWhileSavingFormat[] =
    "文件[%1]正在保存时被其他程序修改了。文件和它的备份都没有改动！再次保存时会询问是否覆盖那些修改。";
inline constexpr char kMonsterFirstIdFormat[] =
    "第一条记录的ID(%1)无法保存在monster.dat文件中，重新打开后将变为0。是否仍然保存？";
inline constexpr char kRecordGone[] = "该记录已被删除，不存在了，无法保存修改！";

// Opening any file name, and where the open file is
inline constexpr char kAllFilesFilter[] = "所有文件";
inline constexpr char kKindCaption[] = "数据表类型";
inline constexpr char kKindQuestionFormat[] = "文件[%1]是哪一种数据表？";
inline constexpr char kKindItemFormat[] = "物品（stditem.dat，密钥 %1）";
inline constexpr char kKindMagicFormat[] = "魔法（magic.dat，密钥 %1）";
inline constexpr char kKindMonsterFormat[] = "怪物（monster.dat，密钥 %1）";
inline constexpr char kKindChoiceFormat[] = "%1：%2"; // the kind with its key, what it would load
inline constexpr char kKindFitExactFormat[] = "%1 条记录，正好";
inline constexpr char kKindFitMissingFormat[] = "%1 条记录，缺 %2 字节";
inline constexpr char kKindFitExtraFormat[] = "%1 条记录，多 %2 字节";
inline constexpr char kKindFitNoRecordsFormat[] = "文件头记录数为 %1，没有记录";
inline constexpr char kKindMisfitFormat[] =
    "文件[%1]的大小与%2的记录不符（%3）。按这种类型载入，记录很可能是乱码。是否仍然按%2载入？";
inline constexpr char kKindMisfitOtherFitsFormat[] =
    "文件[%1]的大小与%2的记录不符（%3），而正好是%4的大小。按%2载入，记录很可能是乱码。是否仍然按%2载入？";
inline constexpr char kKindWordItem[] = "物品（stditem.dat）";
inline constexpr char kKindWordMagic[] = "魔法（magic.dat）";
inline constexpr char kKindWordMonster[] = "怪物（monster.dat）";
inline constexpr char kDropManyFiles[] = "一次只能打开一个文件。";
inline constexpr char kDropNotAFileFormat[] = "[%1]不是文件，无法打开。";
inline constexpr char kFileInfoCaption[] = "文件信息";
inline constexpr char kFileInfoFormat[] =
    "路径：%1\n类型：%2\n密钥：%3\n记录数：%4\n文件大小：%5\n最后一条记录之后的字节：%6\n载入时间：%7";
inline constexpr char kFileInfoSizeFormat[] = "%1 字节";
inline constexpr char kFileInfoGone[] = "文件已不存在";
inline constexpr char kFileInfoSavedFormat[] = "\n保存时间：%1";       // over the file
inline constexpr char kFileInfoSavedAsFormat[] = "\n另存为：%1（%2）"; // elsewhere: the path, when
inline constexpr char kFileInfoUnsavedFormat[] = "\n未保存：%1";       // what the status bar says
inline constexpr char kFileInfoBehind[] = "\n打开的文件中还没有另存的修改，按 Ctrl+S 保存到打开的文件";
inline constexpr char kNoFileOpen[] = "还没有打开数据文件。";

// Tables in and out: CSV and spreadsheets
inline constexpr char kMenuExport[] = "导出CSV(&E)...";
inline constexpr char kMenuImport[] = "导入CSV(&M)...";
inline constexpr char kMenuKeepNames[] = "导入时保留原名称(&N)";
inline constexpr char kPromptExport[] = "把表格导出为CSV或Excel工作簿，供电子表格程序编辑\n导出CSV";
inline constexpr char kPromptImport[] = "从CSV或Excel工作簿导入记录，替换表格中的记录（可以撤销）\n导入CSV";
inline constexpr char kPromptKeepNames[] =
    "导入时，名称与记录的原始字节（Raw列）中保存的名称不同的记录仍保留原来的名称（电子表格程序常把“007”之类的名称改掉）\n保留原名称";
inline constexpr char kExportFilterUtf8Bom[] = "CSV，UTF-8 带 BOM（电子表格程序用）";
inline constexpr char kExportFilterUtf8[] = "CSV，UTF-8";
inline constexpr char kExportFilterGbk[] = "CSV，GBK";
inline constexpr char kSheetFilter[] = "Excel 工作簿";
inline constexpr char kImportFilter[] = "CSV 或 Excel 工作簿";
inline constexpr char kExportProgress[] = "正在导出……";
inline constexpr char kImportProgress[] = "正在读取……";
inline constexpr char kExportedFormat[] = "已把%1条记录导出到[%2]。";
inline constexpr char kExportFailedFormat[] = "无法写入[%1]：%2";
inline constexpr char kExportFormulaNamesFormat[] =
    "\n\n注意：有%1个名称以 =、+、- 或 @ 开头（第一个：ID %2 “%3”），电子表格程序打开这个CSV时可能把它们当作公式。"
    "CSV中的名称保持原样；如要在电子表格中编辑，请导出为Excel工作簿（.xlsx），其中的名称保持为文本。";
inline constexpr char kImportCannotReadFormat[] = "无法读取[%1]：%2";
inline constexpr char kImportErrorsFormat[] = "[%1]中有以下错误，表格没有改变：\n%2";
inline constexpr char kImportWrongKindFormat[] =
    "[%1]是%2的表格，而打开的是%3，表格没有改变。";
inline constexpr char kImportEmptyFormat[] = "[%1]中没有记录，表格没有改变。";
inline constexpr char kImportedFormat[] = "已从[%1]导入%2条记录（按 Ctrl+Z 撤销）。";
inline constexpr char kImportWarningsHeading[] = "\n\n请注意：";
inline constexpr char kImportNamesChangedFormat[] =
    "\n\n%1个名称与记录的原始字节（Raw列，保存着各列不显示的内容）中的名称不同，已采用新名称"
    "（如要保留原名称，请撤销导入，勾选“文件 ▸ 导入时保留原名称”后重新导入）：";
inline constexpr char kImportNamesKeptFormat[] =
    "\n\n%1个名称与记录的原始字节（Raw列，保存着各列不显示的内容）中的名称不同，已按设置保留原名称：";
inline constexpr char kImportNameChangeFormat[] = "第%1行，ID %2：“%3” → “%4”";
inline constexpr char kImportMoreNamesFormat[] = "……另有%1个";
inline constexpr char kSheetFailureNotAFile[] = "它不是普通文件";
inline constexpr char kSheetFailureNotZip[] = "它不是Excel工作簿（.xlsx），或者已经损坏";
inline constexpr char kSheetFailureDamagedFormat[] = "工作簿已经损坏，无法解开其中的%1（%2）";
inline constexpr char kSheetFailureNoWorksheetFormat[] = "工作簿中没有工作表（缺少%1）";
inline constexpr char kSheetFailureTooLargeFormat[] = "工作簿中的%1解开后太大，可能是恶意构造的文件";
inline constexpr char kSheetFailureBadXmlFormat[] = "工作簿的%1已经损坏（第%2行：%3）";
inline constexpr char kSheetFailureTooManyRowsFormat[] = "记录太多，一个工作表最多只能有%1条记录";
inline constexpr char kSheetFailureCellTooLongFormat[] = "第%1行的单元格太长（超过%2字节）";
inline constexpr char kSheetFailureNotInThisBuild[] = "此版本不能读写Excel工作簿（.xlsx），请使用CSV";
inline constexpr char kSheetFailureBeyondFormat[] = "%1：%2，记录工作簿远不会如此，可能是恶意构造的文件";
inline constexpr char kSheetWholeWorkbook[] = "工作簿";
inline constexpr char kSheetBeyondTokenFormat[] = "有一段标记超过%1字节";
inline constexpr char kSheetBeyondNameFormat[] = "有元素名超过%1字节";
inline constexpr char kSheetBeyondDepthFormat[] = "元素嵌套超过%1层";
inline constexpr char kSheetBeyondSheetsFormat[] = "有超过%1个工作表";
inline constexpr char kSheetBeyondRelationshipsFormat[] = "有超过%1个关系";
inline constexpr char kSheetBeyondMembersFormat[] = "有超过%1个成员";
inline constexpr char kSheetFailureDuplicateMemberFormat[] =
    "工作簿中有两个名为%1的成员（或只有大小写不同），电子表格程序可能显示其中任何一个";
inline constexpr char kSheetFailureHiddenSheetFormat[] =
    "工作簿的第一个工作表“%1”是隐藏的，电子表格程序显示的是另一个工作表；请取消隐藏，或把记录所在的工作表移到最前面";
inline constexpr char kSheetFailureNotAWorksheetFormat[] = "工作簿作为第一个工作表指定的%1不是工作表（而是<%2>）";
inline constexpr char kSheetFailureOutOfMemory[] = "内存不足，无法读完工作簿";
inline constexpr char kStepImportFormat[] = "导入 %1 条记录";

// Comparing with another file
inline constexpr char kMenuCompare[] = "与文件比较(&C)...";
inline constexpr char kMenuClearCompare[] = "清除比较标记(&L)";
inline constexpr char kPromptCompare[] = "与另一个同类数据文件比较，标出不同的单元格\n与文件比较";
inline constexpr char kPromptClearCompare[] = "去掉比较留下的标记\n清除比较标记";
inline constexpr char kCompareProgress[] = "正在比较……";
inline constexpr char kCompareWrongKindFormat[] = "[%1]是%2，而打开的是%3，无法比较。";
inline constexpr char kCompareFailedFormat[] = "无法读取[%1]：%2";
inline constexpr char kCompareSummaryFormat[] =
    "与[%1]比较：\n%2条记录有不同之处（已标出）\n%3条记录只在本表中\n%4条记录只在[%1]中";
inline constexpr char kCompareSizeNoteFormat[] =
    "\n\n注意：[%1]的大小与它的记录数不符，它可能不是%2。";
inline constexpr char kCompareEqualFormat[] = "表格与[%1]完全相同。";
inline constexpr char kCompareOtherValueFormat[] = "[%1]中为：%2";
inline constexpr char kCompareHiddenDiffer[] = "不显示的字节与比较文件不同";
inline constexpr char kCompareOnlyHere[] = "比较文件中没有这条记录";
inline constexpr char kCompareOnlyThereCaptionFormat[] = "与[%1]比较";
inline constexpr char kMenuRecordsOnlyThere[] = "只在比较文件中的记录(&O)...";
inline constexpr char kPromptRecordsOnlyThere[] =
    "再次显示与文件比较的结果，和只在比较文件中、可以接收的记录\n只在比较文件中的记录";
inline constexpr char kCompareOnlyThereLabelFormat[] = "以下%1条记录只在[%2]中。选中要接收的记录，按“接收”把它们加到表格末尾（可以撤销）。";
inline constexpr char kButtonTakeOver[] = "接收(&T)";
inline constexpr char kButtonClose[] = "关闭";
inline constexpr char kStepTakeOverFormat[] = "接收 %1 条记录";

// File dialogs
inline constexpr char kOpenFilter[] = "Data Files (*.txt;*.dat)";
inline constexpr char kSaveFilter[] = "Data Files (*.dat)";
inline constexpr char kSaveDefaultSuffix[] = "dat";

// Record edit dialogs
inline constexpr char kDialogModeModify[] = "修改";
inline constexpr char kDialogModeAdd[] = "增加";
inline constexpr char kCommitModify[] = "修改(&M)";
inline constexpr char kCommitAdd[] = "增加(&A)";
inline constexpr char kCancel[] = "取消(&C)";
inline constexpr char kCommitTip[] = "把记录放入表格（Ctrl+Enter）；在编辑框中按 Enter 是取消";
inline constexpr char kDialogCaptionFormat[] = "数据文件[%1]——"; // the kind's file name
inline constexpr char kEnterInteger[] = "请输入一个整数。";
inline constexpr char kCellNotInt32Format[] = "%1列只能填写-2147483648到2147483647之间的整数，“%2”不是。"; // the title, the text

// Key settings dialog
inline constexpr char kKeyDialogCaption[] = "设置密钥";
inline constexpr char kKeyLabelItem[] = "stditem密钥:";
inline constexpr char kKeyLabelMagic[] = "magic  密钥:";
inline constexpr char kKeyLabelMonster[] = "monster密钥:";
inline constexpr char kKeyOk[] = "确定(&O)";
inline constexpr char kKeyCancel[] = "取消(&C)";
inline constexpr char kEnterByte[] = "请输入一个0到255之间的整数。";

// The command-line companion, recwright-cli. Its texts are English, like its options, so that
// scripts and logs can match them whatever the terminal's locale. Formats go through
// std::snprintf: %s is UTF-8 text, numbers are passed as long long (%lld).

// Usage: the overall text is put together from these, each command's own from its parts.
inline constexpr char kCliSynopsisInfo[] = "recwright-cli info FILE... [--json] [--key N] [--kind KIND]";
inline constexpr char kCliSynopsisExport[] =
    "recwright-cli export FILE [-o OUT] [--key N] [--kind KIND] [--encoding ENC] [--format FMT]";
inline constexpr char kCliSynopsisImport[] = "recwright-cli import CSV|XLSX -o FILE [--key N] [--kind KIND] "
                                             "[--encoding ENC] [--format FMT] [--allow-empty] [--keep-names]";
inline constexpr char kCliSynopsisOther[] = "recwright-cli COMMAND --help | help COMMAND | --version";
inline constexpr char kCliAbout[] =
    "Shows, compares, finds records in, changes, exports to CSV or .xlsx and builds from CSV or .xlsx\n"
    "the data files stditem.dat, magic.dat and monster.dat.\n";
inline constexpr char kCliAboutInfo[] =
    "info: shows per data file its kind, key, the count in its header, the records present,\n"
    "its size, whether it is truncated (holds fewer records than the count), the bytes after\n"
    "the last record the count announces, and how many records repeat an ID.\n";
inline constexpr char kCliAboutExport[] =
    "export: writes the data file as CSV, to standard output or OUT, or as a worksheet when\n"
    "OUT ends in .xlsx.\n";
inline constexpr char kCliAboutImport[] =
    "import: builds the data file FILE from CSV (\"-\" reads standard input) or from the first\n"
    "worksheet of an .xlsx. Nothing is written when it has any error, nor when it has no record\n"
    "unless --allow-empty is given. Each name that differs from the name in its row's Raw is\n"
    "listed as a warning.\n";
inline constexpr char kCliOptionsHeading[] = "Options:\n";
inline constexpr char kCliOptionKind[] =
    "  --kind KIND     item, magic or monster, in any letter case; by default the data file's\n"
    "                  name tells (stditem.dat, magic.dat, monster.dat), else its size when it\n"
    "                  fits one kind's records exactly, else for import the header's titles\n";
inline constexpr char kCliOptionKey[] =
    "  --key N         the XOR key, 0 to 255; by default item 173, magic 203, monster 241\n";
inline constexpr char kCliOptionEncoding[] =
    "  --encoding ENC  the CSV's text: utf-8 (or utf8; the default), utf-8-bom (or utf8-bom)\n"
    "                  or gbk (or cp936), in any letter case\n";
inline constexpr char kCliOptionOutput[] =
    "  -o PATH         where the output goes (\"-\": standard output); never the input file\n"
    "                  itself\n";
inline constexpr char kCliOptionAllowEmpty[] =
    "  --allow-empty   import: write FILE even from a CSV without records (its count is then\n"
    "                  0, and it opens nowhere)\n";
inline constexpr char kCliOptionFormat[] =
    "  --format FMT    csv or xlsx, in any letter case; by default a file name ending in .xlsx\n"
    "                  (in any letter case) means xlsx, any other csv\n";
inline constexpr char kCliOptionKeepNames[] =
    "  --keep-names    import: a row with Raw keeps the name Raw holds, whatever its name column\n"
    "                  says (the differences are still listed, as names not taken)\n";
inline constexpr char kCliCsvNotes[] =
    "CSV: a header of the table's column titles and Raw, then one row per record; Raw is the\n"
    "whole deciphered record in hexadecimal. An import row starts from its Raw bytes (or zeros\n"
    "when Raw is empty or absent); the ID, the fields and a changed name are written over them.\n"
    "XLSX: the same columns on one worksheet; IDs and fields are numbers, names and Raw text, so\n"
    "that a spreadsheet leaves a name such as 007, 1e5 or 3/4 as it is. An import refuses a name\n"
    "or Raw that a spreadsheet has stored as a number, a date or a formula.\n";
inline constexpr char kCliExitStatus[] =
    "Exit status: 0 done; 1 bad data (a file or CSV that cannot be used, output that cannot\n"
    "be written, memory that ran out); 2 bad usage (an output that is the input file included).\n";
inline constexpr char kCliVersionFormat[] = "recwright-cli %s\n";

inline constexpr char kCliPrefix[] = "recwright-cli: ";
inline constexpr char kCliWhereLineColumnFormat[] = "%s:%lld:%lld: "; // a CSV, its line and column
inline constexpr char kCliWhereLineFormat[] = "%s:%lld: ";
inline constexpr char kCliUnknownCommandFormat[] = "unknown command '%s'";
inline constexpr char kCliUnknownOptionFormat[] = "unknown option '%s' for %s";
inline constexpr char kCliDidYouMeanFormat[] = "; did you mean '%s'?";
inline constexpr char kCliTakenByOneFormat[] = " (only %s takes it)";
inline constexpr char kCliTakenByManyFormat[] = " (only %s take it)";
inline constexpr char kCliCsvOrJson[] = "--csv and --json both say what to write; give one of them";
inline constexpr char kCliQuietWritesNothing[] = "--quiet writes nothing, so it goes with neither -o, --csv nor --json";
inline constexpr char kCliMissingValueFormat[] = "option %s needs a value";
inline constexpr char kCliNoValueFormat[] = "option %s takes no value";
inline constexpr char kCliEmptyValueFormat[] = "option %s= needs a value after the =, or none at all";
inline constexpr char kCliBadKeyFormat[] = "--key takes a whole number from 0 to 255, not '%s'";
inline constexpr char kCliBadKindFormat[] = "--kind takes item, magic or monster, not '%s'";
inline constexpr char kCliBadFormatFormat[] = "--format takes csv or xlsx, not '%s'";
inline constexpr char kCliXlsxNotToStdout[] = "an .xlsx cannot go to standard output; give -o FILE.xlsx";
inline constexpr char kCliXlsxNotFromStdin[] = "an .xlsx cannot be read from standard input; name the file";
inline constexpr char kCliXlsxEncoding[] = "an .xlsx always holds UTF-8 text; --encoding is for CSV";
inline constexpr char kCliBadEncodingFormat[] =
    "--encoding takes utf-8 (utf8), utf-8-bom (utf8-bom) or gbk (cp936), not '%s'";
inline constexpr char kCliMissingFile[] = "no file given";
inline constexpr char kCliMissingOutput[] = "import needs -o FILE, the data file to build";
inline constexpr char kCliExtraArgumentFormat[] = "one file only, not also '%s'";
inline constexpr char kCliKindBySizeFormat[] = "%s: kind: %s (its size fits)";
inline constexpr char kCliKindByHeaderFormat[] = "%s: kind: %s (%s's header)";
inline constexpr char kCliTheCsv[] = "the CSV";
inline constexpr char kCliTheWorksheet[] = "the worksheet";
inline constexpr char kCliKindNotToldFormat[] =
    "%s: the name does not say which table this is (stditem.dat, magic.dat, monster.dat), and its size fits "
    "no kind's records exactly: it could be a damaged %s table; give --kind";
inline constexpr char kCliNoKindFitsFormat[] =
    "%s: not a table of any kind: its header counts %lld records, but the file has %lld bytes";
inline constexpr char kCliHelpHint[] = "try 'recwright-cli --help'";
inline constexpr char kCliOutputIsInputFormat[] = "%s: the output is the input file itself; nothing done";
inline constexpr char kCliStdoutIsInputFormat[] = "standard output is %s, the input file itself; nothing done";
inline constexpr char kCliStdinIsOutputFormat[] = "standard input is %s, the output file itself; nothing done";

inline constexpr char kCliCannotReadFormat[] = "%s: cannot read: %s";
inline constexpr char kCliNotRegularFile[] = "not a regular file (a folder, a device, a pipe or a socket)";
inline constexpr char kCliIsFolder[] = "it is a folder";
inline constexpr char kCliBadCountFormat[] = "%s: not loaded: the count in its header is %lld";
inline constexpr char kCliOtherKindFormat[] =
    "%s: not a table of kind %s: its size is exactly that of %lld %s records (--kind %s reads it so)";
inline constexpr char kCliCountTooLargeFormat[] =
    "%s: not a table of kind %s: its header counts %lld records (%lld bytes), but the file has %lld bytes";
inline constexpr char kCliTooLargeFormat[] =
    "%s: not loaded: too large to load (%lld bytes, more than the memory this program can have)";
inline constexpr char kCliTruncatedFormat[] =
    "%s: warning: the header announces %lld records but the file holds %lld; those are exported";
inline constexpr char kCliTrailingBytesFormat[] =
    "%s: warning: %lld bytes follow the last of the %lld records the header announces; they are not exported";
inline constexpr char kCliFormulaNamesFormat[] =
    "%s: warning: %lld name(s) begin with =, +, - or @ (the first: ID %lld '%s'), which a spreadsheet opening "
    "the CSV may take for formulas; the CSV keeps them as they are, and an .xlsx (-o FILE.xlsx) keeps them as text";
inline constexpr char kCliStandardOutput[] = "standard output";
inline constexpr char kCliCannotWriteFormat[] = "%s: cannot write: %s";
inline constexpr char kCliSpillFailedFormat[] =
    "%s: not written: the records could not wait for their count in a temporary file: %s";
inline constexpr char kCliNotWrittenFormat[] = "%s: not written: %lld error(s) in %s";
inline constexpr char kCliMoreErrorsFormat[] = "%s: ... and %lld more error(s)";
inline constexpr char kCliEmptyNotWrittenFormat[] =
    "%s: not written: %s has no records, and a data file with a count of 0 does not open "
    "(--allow-empty writes it anyway)";
inline constexpr char kCliOutOfMemory[] = "out of memory; stopped, and nothing was written";
inline constexpr char kCliStopped[] = "stopped, and nothing was written: ";
inline constexpr char kCliInfoFormat[] =
    "%s\n"
    "  kind:                %s (%s)\n"
    "  key:                 %lld\n"
    "  count in header:     %lld\n"
    "  records present:     %lld\n"
    "  file size:           %lld bytes\n"
    "  truncated:           %s\n"
    "  bytes after records: %lld\n";
inline constexpr char kCliInfoRepeatsFormat[] = "  repeated IDs:        %lld\n";
inline constexpr char kCliYes[] = "yes";
inline constexpr char kCliNo[] = "no";

// recwright-cli diff: its usage, messages and output.
inline constexpr char kCliSynopsisDiff[] =
    "recwright-cli diff A B [--csv | --json | --quiet] [-o OUT] [--key N] [--kind KIND]";
inline constexpr char kCliAboutDiff[] =
    "diff: compares the data files A and B, of one kind, record by record: items and monsters\n"
    "by ID (a reordered table is the same table; a repeated ID pairs first with first, second\n"
    "with second), spells by position. Shows each record only in A or only in B, and each\n"
    "changed record with its changed values as old → new, then how many of each. Positions\n"
    "count from 1 in file order. A name that does not tell the kind takes the other's; when\n"
    "neither tells, the sizes do.\n";
inline constexpr char kCliOptionCsv[] =
    "  --csv           diff, update: CSV instead, one row per changed value and per record only\n"
    "                  in A or B: Change,ID,Name,Position A,Position B,Field,Old,New (UTF-8);\n"
    "                  find: export's CSV of the records found\n";
inline constexpr char kCliOptionJson[] =
    "  --json          info, diff, update, find: one JSON object instead of text, its keys as\n"
    "                  the README lists them\n";
inline constexpr char kCliOptionQuiet[] =
    "  --quiet         diff: writes nothing and answers with the exit status alone; only what\n"
    "                  keeps it from comparing is said\n";
inline constexpr char kCliDiffExitStatus[] =
    "Exit status of diff: 0 the records are the same; 1 they differ; 2 bad usage or bad data\n"
    "(a file that cannot be used, output that cannot be written, memory that ran out).\n";
inline constexpr char kCliDiffNeedsTwoFiles[] = "diff needs two data files, A and B";
inline constexpr char kCliDiffExtraArgumentFormat[] = "two files only, not also '%s'";
inline constexpr char kCliDiffUnknownKindFormat[] =
    "neither %s nor %s is named as a table is (stditem.dat, magic.dat, monster.dat), nor does its size fit "
    "one kind's records exactly; give --kind";
inline constexpr char kCliDiffKindsDifferFormat[] =
    "%s and %s are tables of different kinds (%s, %s); diff compares two tables of one kind";
inline constexpr char kCliDiffTruncatedFormat[] =
    "%s: warning: the header announces %lld records but the file holds %lld whole; those are compared";
inline constexpr char kCliDiffCutRecordFormat[] =
    "%s: warning: the file ends inside record %lld, holding %lld of its %lld bytes; it is not compared";
inline constexpr char kCliDiffTrailingBytesFormat[] =
    "%s: warning: %lld bytes follow the last of the %lld records the header announces; they are not compared";
inline constexpr char kCliDiffFilesFormat[] = "A: %s, %lld records\nB: %s, %lld records\n";
inline constexpr char kCliDiffOnlyInAFormat[] = "only in A: ID %lld '%s', position %lld\n";
inline constexpr char kCliDiffOnlyInBFormat[] = "only in B: ID %lld '%s', position %lld\n";
inline constexpr char kCliDiffChangedFormat[] = "changed: ID %lld '%s', position %lld in A, %lld in B\n";
inline constexpr char kCliDiffValueFormat[] = "  %s: %lld → %lld\n";
inline constexpr char kCliDiffNameFormat[] = "  %s: '%s' → '%s'\n";
inline constexpr char kCliDiffHiddenBytes[] = "  hidden bytes differ\n";
inline constexpr char kCliDiffSummaryFormat[] = "%lld only in A, %lld only in B, %lld changed, %lld the same\n";
inline constexpr char kCliDiffCsvHeader[] = "Change,ID,Name,Position A,Position B,Field,Old,New\n";
inline constexpr char kCliDiffOnlyInA[] = "only in A";
inline constexpr char kCliDiffOnlyInB[] = "only in B";
inline constexpr char kCliDiffChanged[] = "changed";
inline constexpr char kCliDiffHiddenField[] = "hidden bytes";

// CSV problems; each follows "CSV:LINE:COLUMN: " or "CSV:LINE: ".
inline constexpr char kCsvNoHeader[] = "the CSV is empty; its first line must be the header";
inline constexpr char kCsvSheetNoHeader[] = "the worksheet has no rows; its first row must be the header";
inline constexpr char kCsvBadHeaderFormat[] = "the header must be the %s table's titles: %s[,Raw]; found: %s";
inline constexpr char kCsvBadAnyHeaderFormat[] = "the header must be one table's titles, starting %s; found: %s";
inline constexpr char kCsvHeaderStartFormat[] = "%s,%s,... (%s)";
inline constexpr char kCsvInHeaderFormat[] = "in the header: %s; without the header nothing after it can be read";
inline constexpr char kCsvQuoteInsideField[] =
    "a quote inside a field that does not start with one (quote the field and double its quotes)";
inline constexpr char kCsvTextAfterQuote[] = "text after the closing quote of a field";
inline constexpr char kCsvUnclosedQuote[] = "a quoted field is still open at the end of the CSV";
inline constexpr char kCsvStrayCarriageReturn[] = "a carriage return outside quotes that ends no line";
inline constexpr char kCsvRowTooLongFormat[] = "a row longer than %lld bytes (a record's row takes a few kilobytes at most)";
inline constexpr char kCsvFieldCountFormat[] = "%lld fields, but the header has %lld";
inline constexpr char kCsvBadNumberFormat[] = "%s: '%s' is not a whole number from -2147483648 to 2147483647";
inline constexpr char kCsvBadRawFormat[] = "Raw: '%s' is not %lld hexadecimal digits (or empty)";
inline constexpr char kCsvNameNotWellFormedFormat[] =
    "%s: '%s' is not UTF-8 text; if the CSV is in GBK, give --encoding gbk "
    "(later names like it are not reported again)";
inline constexpr char kCsvNameNotEncodedFormat[] = "%s: '%s' has characters that a GBK name cannot hold";
inline constexpr char kCsvNameTooLongFormat[] = "%s: '%s' takes %lld bytes in GBK; at most %lld fit";
inline constexpr char kCsvDuplicateIdFormat[] = "%s: ID %lld is already on line %lld";
inline constexpr char kCsvTooManyRecords[] = "more records than a data file can count";
inline constexpr char kCsvNoRawColumn[] =
    "warning: no Raw column; the bytes that no column shows will be zero in every record";
inline constexpr char kCsvFirstMonsterIdFormat[] =
    "warning: the first record's ID (%lld) has no room in a monster file; it reads back as 0";
inline constexpr char kCsvNoRecords[] = "warning: no records; a data file with a count of 0 does not open";
inline constexpr char kCsvWrongCellTypeFormat[] =
    "%s: '%s' is stored as %s, not as text: a spreadsheet may have changed it (format the column as "
    "text and enter it again)";
inline constexpr char kCsvCellNumber[] = "a number";
inline constexpr char kCsvCellBoolean[] = "a truth value";
inline constexpr char kCsvCellError[] = "an error value";
inline constexpr char kCsvCellFormula[] = "a formula";
inline constexpr char kCsvCellDate[] = "a date";

// Name changes an import makes (or, with --keep-names, does not); each follows "CSV:LINE:2: ".
inline constexpr char kCliNameChangedFormat[] = "warning: ID %lld: the name '%s' becomes '%s'";
inline constexpr char kCliNameKeptFormat[] = "warning: ID %lld: the name '%s' is kept, not '%s'";
inline constexpr char kCliMoreNameChangesFormat[] = "%s: warning: ... and %lld more name change(s)";
inline constexpr char kCliNamesChangedFormat[] =
    "%s: warning: %lld name(s) differ from the names their Raw holds and are written; --keep-names "
    "keeps the names in Raw instead";
inline constexpr char kCliNamesKeptFormat[] = "%s: warning: %lld name(s) differ from the names their Raw holds; those are kept";

// Worksheets that cannot be written or read; each starts with the .xlsx's name.
inline constexpr char kCliSheetTooManyRecordsFormat[] =
    "%s: not written: %lld records, and a worksheet has room for %lld";
inline constexpr char kCliSheetNotZipFormat[] = "%s: not an .xlsx workbook (%s)";
inline constexpr char kCliSheetDamagedZipFormat[] = "%s: damaged: %s cannot be unpacked (%s)";
inline constexpr char kCliSheetNoWorksheetFormat[] = "%s: no worksheet to read: %s is missing or names none";
inline constexpr char kCliSheetTooLargeFormat[] =
    "%s: refused: %s unpacks to more than %lld bytes, more than any worksheet of records";
inline constexpr char kCliSheetPackedTooDenselyFormat[] =
    "%s: refused: %s unpacks to more than %lld times its packed size, as a zip bomb does";
inline constexpr char kCliSheetBadXmlFormat[] = "%s: damaged: %s:%lld: %s";
inline constexpr char kCliSheetTooManyRowsFormat[] = "%s: row %lld is past the last row a worksheet has (%lld)";
inline constexpr char kCliSheetTooManyStringsFormat[] = "%s: refused: %s holds more than %lld shared strings";
inline constexpr char kCliSheetCellTooLongFormat[] = "%s: refused: a cell of row %lld holds more than %lld bytes";
inline constexpr char kCliSheetStringTooLongFormat[] = "%s: refused: a string in %s holds more than %lld bytes";
inline constexpr char kCliSheetNotInThisBuildFormat[] =
    "%s: .xlsx is not available in this build of recwright-cli; use CSV (--format csv)";
inline constexpr char kCliSheetBeyondFormat[] = "%s: refused: %s: %s; no workbook of records comes near that";
inline constexpr char kCliSheetWholeArchive[] = "the archive";
inline constexpr char kCliSheetBeyondTokenFormat[] = "a tag or other piece of markup longer than %lld bytes";
inline constexpr char kCliSheetBeyondNameFormat[] = "an element name longer than %lld bytes";
inline constexpr char kCliSheetBeyondDepthFormat[] = "elements nested more than %lld deep";
inline constexpr char kCliSheetBeyondSheetsFormat[] = "more than %lld sheets";
inline constexpr char kCliSheetBeyondRelationshipsFormat[] = "more than %lld relationships";
inline constexpr char kCliSheetBeyondMembersFormat[] = "more than %lld members";
inline constexpr char kCliSheetDuplicateMemberFormat[] =
    "%s: refused: it holds two members named '%s' (letter case aside), and spreadsheet programs may show either";
inline constexpr char kCliSheetHiddenSheetFormat[] =
    "%s: refused: its first worksheet, '%s', is hidden, and a spreadsheet shows another; unhide it or move the "
    "sheet of records to the front";
inline constexpr char kCliSheetNotAWorksheetFormat[] =
    "%s: no worksheet to read: the workbook gives %s as its first worksheet, but that holds a <%s>";
inline constexpr char kCliSheetOutOfMemoryFormat[] = "%s: out of memory while reading it; stopped, and nothing was written";

// recwright-cli find: its usage and messages.
inline constexpr char kCliSynopsisFind[] = "recwright-cli find FILE --where COND [--csv | --json] [--key N] [--kind KIND]";
inline constexpr char kCliAboutFind[] =
    "find: shows the records of FILE that meet COND, the find bar's query (as for update), in\n"
    "export's columns: a line per record with its position and each column's value, or with\n"
    "--csv export's CSV of them (Raw included, so that it imports), or with --json one object.\n"
    "COND may compare a field with what the record's other fields give (Price<NeedLevel*10,\n"
    "HP>=Level*Level*40, Dc2<Dc), so that a script can check a table against its rules.\n";
inline constexpr char kCliFindExitStatus[] =
    "Exit status of find: 0 some record meets COND; 1 none does; 2 bad usage or bad data (a\n"
    "malformed COND, a file that cannot be used, output that cannot be written), as grep answers.\n";
inline constexpr char kCliFindNeedsWhere[] = "find needs --where COND, the records to show";
inline constexpr char kCliFindCountFormat[] = "%s: %lld of %lld record(s) meet '%s'";
inline constexpr char kCliFindRecordFormat[] = "position %lld:";

// recwright-cli update: its usage and messages.
inline constexpr char kCliSynopsisUpdate[] = "recwright-cli update FILE --where COND --set EXPR [--set EXPR]... "
                                             "[-o OUT] [--dry-run] [--backup[=CONTROL]] [--suffix=SUFFIX] "
                                             "[--csv | --json] [--key N] [--kind KIND]";
inline constexpr char kCliAboutUpdate[] =
    "update: changes the records of FILE that meet COND, as the editor's find bar and 批量修改\n"
    "do: COND is the find bar's query (conditions on the kind's columns, as NeedLevel>=16\n"
    "Price<2500 for items, Job=2 NeedL1<20 for spells or Level>=40 for monsters, or comparing\n"
    "fields, as Price<NeedLevel*10; a part of a name; alternatives separated by |); each EXPR\n"
    "is Field=V, Field+=V, Field-=V, Field*=V or Field/=V, V an expression over the record's\n"
    "own fields (titles, whole and decimal numbers, + - * /, parentheses, min, max, abs),\n"
    "worked out exactly and rounded once to the nearest whole number, halves away from zero,\n"
    "or Name=TEXT, taken in order. Nothing changes when any value would leave the 32-bit\n"
    "range, overflow on the way or divide by zero, or two records would share an ID. Shows what changed as diff does, then writes FILE over (keeping it as FILE.bak, or\n"
    "as --backup says) or OUT; a file whose read loses something is written over only as OUT,\n"
    "and one that another program wrote while update ran is not written over at all.\n";
inline constexpr char kCliOptionWhere[] =
    "  --where COND    update, find: the records to change or show, in the find bar's language\n"
    "                  (required)\n";
inline constexpr char kCliOptionSet[] =
    "  --set EXPR      update: Field=V, Field+=V, Field-=V, Field*=V, Field/=V (V an expression\n"
    "                  over the record's fields: Price=NeedLevel*120, HP*=1.2) or Name=TEXT;\n"
    "                  repeatable, in order, all or nothing\n";
inline constexpr char kCliOptionDryRun[] =
    "  --dry-run       update: shows what would change and writes nothing\n";
inline constexpr char kCliOptionBackup[] =
    "  --backup[=CONTROL]\n"
    "                  update: which backups of FILE to keep, as cp, mv and install do:\n"
    "                  none or off (none), simple or never (FILE.bak, replacing the one before),\n"
    "                  numbered or t (FILE.~1~, FILE.~2~, ..., every one), existing or nil\n"
    "                  (numbered when FILE has a numbered backup, else simple). Without CONTROL,\n"
    "                  the VERSION_CONTROL environment variable, else existing. Without\n"
    "                  --backup, FILE.bak, as the editor keeps it\n";
inline constexpr char kCliOptionSuffix[] =
    "  --suffix=SUFFIX update: a simple backup's suffix, .bak unless given; with --backup, the\n"
    "                  SIMPLE_BACKUP_SUFFIX environment variable when there is no --suffix\n";
inline constexpr char kCliUpdateExitStatus[] =
    "Exit status of update: 0 done, FILE (or OUT) written as the report on standard output\n"
    "says (nothing matched or nothing changed included, with a note); 1 nothing written (a\n"
    "value out of range, a shared ID, a file that cannot be used, that another program wrote\n"
    "meanwhile, or that cannot be written over, or a report that could not be written); 2 bad\n"
    "usage, nothing written. The report is written before the file is replaced, so that a\n"
    "report that fails leaves the file as it was.\n";
inline constexpr char kCliUpdateNeedsWhere[] = "update needs --where COND, the records to change";
inline constexpr char kCliUpdateNeedsSet[] = "update needs at least one --set EXPR, what to change";
inline constexpr char kCliUpdateWhereTwice[] = "--where given twice; join the conditions in one";
inline constexpr char kCliUpdateEmptyWhere[] =
    "--where is empty, which would match every record; give a condition (ItemID>=0, say)";
inline constexpr char kCliUpdateOutputNotStdout[] = "update writes a data file, not to standard output; -o takes a file";
inline constexpr char kCliUpdateOutputIsInputFormat[] =
    "%s: -o names the input file itself; leave -o out to update it in place (keeping a backup)";
inline constexpr char kCliWhereFormat[] = "--where '%s': %s";
inline constexpr char kCliQueryUnknownColumnFormat[] = "no column named '%s'";
inline constexpr char kCliQueryNameColumnFormat[] = "'%s' is the name, which has no numbers to compare";
inline constexpr char kCliQueryNoOperatorFormat[] = "'%s' must be followed by one of = != < <= > >=";
inline constexpr char kCliQueryNoNumberFormat[] = "'%s' has nothing after its operator to compare with";
inline constexpr char kCliQueryNotInRangeFormat[] = "'%s' is beyond the 32-bit range";
inline constexpr char kCliQueryEmptyAlternative[] = "'|' has nothing on one side, which would match every record";
inline constexpr char kCliSetFormat[] = "--set '%s': %s";
inline constexpr char kCliSetNoOperator[] = "no operator; one of = += -= *= /= goes between the column and the value";
inline constexpr char kCliSetNameOnlySet[] = "a name can only be set, with =";
inline constexpr char kCliSetNotInRangeFormat[] = "'%s' is beyond the 32-bit range";
inline constexpr char kCliSetDivideByZero[] = "cannot divide by zero";
inline constexpr char kCliSetNotGbk[] = "the name has a character that GBK, the names' code page, cannot hold";
// Where an expression goes wrong ("at character N" of the option's value), then what is wrong.
inline constexpr char kCliExprAtFormat[] = "at character %lld: %s";
inline constexpr char kCliExprNoValueAtEnd[] = "a value is missing";
inline constexpr char kCliExprNoValueFormat[] = "'%s' stands where a value should";
inline constexpr char kCliExprUnexpectedFormat[] = "'%s' follows a whole value, where + - * / or the end should";
inline constexpr char kCliExprNameFieldFormat[] = "'%s' is the name, which has no number to compute with";
inline constexpr char kCliExprUnknownFunctionFormat[] = "no function named '%s'; there are min, max and abs";
inline constexpr char kCliExprAbsCountFormat[] = "'%s' takes one value";
inline constexpr char kCliExprMinMaxCountFormat[] = "'%s' takes two values or more";
inline constexpr char kCliExprNoClosing[] = "this '(' is never closed";
inline constexpr char kCliExprNotANumberFormat[] = "'%s' is not a number";
inline constexpr char kCliExprTooManyDigitsFormat[] = "'%s' has more digits than a number may: %lld, %lld of them after the point";
inline constexpr char kCliExprTooDeepFormat[] = "nested more than %lld deep, or too many values at once";
inline constexpr char kCliSetNameCutFormat[] = "warning: --set '%s': the name is cut to '%s' (%lld bytes, all the field holds)";
inline constexpr char kCliUpdateNothingMatchedFormat[] = "%s: no record meets '%s'; nothing written";
inline constexpr char kCliUpdateNothingChangedFormat[] = "%s: %lld record(s) meet the condition, but none changes; nothing written";
inline constexpr char kCliUpdateOutOfRangeFormat[] =
    "%s: nothing changed: --set '%s' takes %lld record(s) out of the 32-bit range: %s";
inline constexpr char kCliUpdateOverflowFormat[] =
    "%s: nothing changed: --set '%s' meets a value too large to work out exactly for %lld record(s): %s";
inline constexpr char kCliUpdateDivisionByZeroFormat[] =
    "%s: nothing changed: --set '%s' divides by zero for %lld record(s): %s";
inline constexpr char kCliUpdateSharedIdsFormat[] =
    "%s: nothing changed: --set '%s' gives %lld record(s) an ID another record has: %s";
inline constexpr char kCliUpdateFirstMonsterIdFormat[] =
    "%s: nothing changed: --set '%s' gives record 1 the ID %lld, but a monster file keeps its count "
    "where that record's ID would be, so it always reads as 0";
inline constexpr char kCliUpdateRecordFormat[] = "ID %lld '%s' (position %lld)";
inline constexpr char kCliUpdateMoreRecordsFormat[] = ", and %lld more";
inline constexpr char kCliUpdateLossTruncatedFormat[] = "the header counts %lld records but the file holds %lld";
inline constexpr char kCliUpdateLossCutFormat[] = "the file ends inside record %lld, whose missing bytes become zeros";
inline constexpr char kCliUpdateLossTrailingFormat[] = "%lld bytes after the last record the header counts";
inline constexpr char kCliUpdateLossRepeatsFormat[] = "%lld record(s) repeating an earlier record's ID";
inline constexpr char kCliUpdateRefusedLossFormat[] =
    "%s: not written over: writing it back would not keep all it holds: %s; -o OTHER writes what it keeps elsewhere";
inline constexpr char kCliUpdateDryRunLossFormat[] =
    "%s: warning: an update in place would be refused: writing it back would not keep all it holds: %s";
inline constexpr char kCliUpdateOtherLossFormat[] = "%s: warning: %s does not keep all %s holds: %s";
inline constexpr char kCliUpdateDryRunFormat[] = "%s: %lld record(s) would change; --dry-run: nothing written";
inline constexpr char kCliUpdateWrittenFormat[] = "%s: %lld record(s) changed, written to %s";
inline constexpr char kCliUpdateInPlaceFormat[] = "%s: %lld record(s) changed; the file as it was is kept as %s";
inline constexpr char kCliBackupFailedFormat[] = "%s: not written over: the backup %s cannot be made: %s";
inline constexpr char kCliBackupNameTaken[] = "something other than a file of yours stands under its name";
inline constexpr char kCliBackupNameIsTable[] = "its name leads to the table itself";
inline constexpr char kCliBackupTableNotAFile[] = "the table is not a regular file";
inline constexpr char kCliBadBackupFormat[] =
    "--backup takes none, off, simple, never, numbered, t, existing or nil, not '%s'";
inline constexpr char kCliBadVersionControlFormat[] =
    "the VERSION_CONTROL environment variable is '%s', which --backup does not take (none, off, simple, never, "
    "numbered, t, existing or nil)";
inline constexpr char kCliBadSuffixFormat[] =
    "--suffix takes a suffix such as .orig, not '%s' (it must not be empty nor name a folder)";
inline constexpr char kCliUpdateChangedSinceReadFormat[] =
    "%s: not written over: another program has changed it since update read it; nothing written, run update again";
inline constexpr char kCliUpdateGoneSinceReadFormat[] =
    "%s: not written: it has been removed or replaced by a folder since update read it; nothing written";
inline constexpr char kCliUpdateBackupWithOutput[] =
    "--backup and --suffix are for an update in place; -o OUT writes another file and keeps no backup";
inline constexpr char kCliUpdateReportFailedFormat[] = "%s: nothing written, since the report of the change could not be";
inline constexpr char kCliUpdateNoBackupFormat[] = "%s: %lld record(s) changed; no backup kept (--backup=none)";
inline constexpr char kCliUpdateBackupReplacedFormat[] =
    "%s: note: the earlier backup %s now holds the file as this update found it; --backup=numbered keeps every one";
inline constexpr char kSheetXmlNotWellFormedFormat[] = "the XML is not well-formed: %s";
inline constexpr char kSheetXmlDocumentType[] = "a document type declaration, which no workbook has";
inline constexpr char kSheetXmlBadRowNumberFormat[] = "a row numbered '%s'";
inline constexpr char kSheetXmlRowOutOfOrderFormat[] = "row %s does not come after the row before it";
inline constexpr char kSheetXmlBadCellReferenceFormat[] = "a cell reference '%s' outside its row or the sheet";
inline constexpr char kSheetXmlCellOutOfOrderFormat[] = "cell %s does not come after the cell before it";
inline constexpr char kSheetXmlNoSuchSharedStringFormat[] = "a cell takes shared string %s, which is not there";

// The plot dock (查看 ▸ 图表)
inline constexpr char kMenuPlot[] = "图表(&P)";
inline constexpr char kPromptPlot[] =
    "在记录列表旁显示当前列的直方图，或两列的散点图；图中点选或框选记录，列表中同时选中\n图表";
inline constexpr char kPlotMadeResizable[] = "图表显示在记录列表旁，需要可调整大小的窗口：已打开“查看 ▸ 可调整窗口大小”。";
inline constexpr char kPlotCaption[] = "图表";
inline constexpr char kPlotType[] = "类型(&T):";
inline constexpr char kPlotHistogram[] = "直方图";
inline constexpr char kPlotScatter[] = "散点图";
inline constexpr char kPlotColumn[] = "列(&L):";
inline constexpr char kPlotX[] = "横轴(&X):";
inline constexpr char kPlotY[] = "纵轴(&Y):";
inline constexpr char kPlotExport[] = "导出图片(&P)...";
inline constexpr char kPlotNothing[] = "没有可显示的记录";
inline constexpr char kPlotHistogramSummaryFormat[] = "%1 条记录，每组宽 %2，共 %3 组"; // rows, width, bins
inline constexpr char kPlotScatterSummaryFormat[] = "%1 条记录，画为 %2 个点"; // rows, points
inline constexpr char kPlotThinnedSummary[] = "（同一小格中的记录合为一点）";
inline constexpr char kPlotSelectedSummaryFormat[] = "；列表中已选 %1 条";
inline constexpr char kPlotCountAxis[] = "记录数";
inline constexpr char kPlotUnselectedSet[] = "记录";
inline constexpr char kPlotSelectedSet[] = "所选";
inline constexpr char kPlotBinTipFormat[] = "%1：%2 ~ %3\n%4 条记录"; // the column, the bin's range, its rows
inline constexpr char kPlotBinTipSelectedFormat[] = "，已选 %1 条";
inline constexpr char kPlotPointTipFormat[] = "ID %1  %2\n%3：%4\n%5：%6"; // ID, name, X and its value, Y and its value
inline constexpr char kPlotPointTipMoreFormat[] = "\n此处共 %1 条记录，点击全部选中";
inline constexpr char kPlotImageFilterPng[] = "PNG 图片";
inline constexpr char kPlotImageFilterSvg[] = "SVG 图片";
inline constexpr char kPlotExportedFormat[] = "已把图表导出到[%1]。";
// A pick too scattered to select in place: the list shows it alone.
inline constexpr char kPlotShowAll[] = "显示全部记录";
inline constexpr char kPlotPickShownAloneFormat[] =
    "列表只显示图中选取的 %1 条记录；点图表的空白处或“显示全部记录”显示全部。"; // rows

// The response log (RECWRIGHT_RESPONSE_LOG): what the user did, then the milliseconds until
// the record list was painted after it.
inline constexpr char kResponseLogFormat[] = "response: %s -> record list painted: %.1f ms\n";
inline constexpr char kResponseReturn[] = "Return";
inline constexpr char kResponseClick[] = "click";

} // namespace rw::str
