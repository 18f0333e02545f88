#pragma once

#include "dialogs/CRecordDlg.h"

namespace rw {

// Item records (stditem.dat), in the item layout.
class CStdItemDlg : public CRecordDlg {
public:
    explicit CStdItemDlg(Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent = nullptr)
        : CRecordDlg(FileKind::Item, prompter, commitTarget, parent)
    {
    }
};

} // namespace rw
