#pragma once

#include "dialogs/CRecordDlg.h"

namespace rw {

// Item records (stditem.dat), template 133.
class CStdItemDlg : public CRecordDlg {
public:
    explicit CStdItemDlg(Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent = nullptr)
        : CRecordDlg(FileKind::Item, prompter, commitTarget, parent)
    {
    }
};

} // namespace rw
