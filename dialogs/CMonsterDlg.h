#pragma once

#include "dialogs/CRecordDlg.h"

namespace rw {

// Monster records (monster.dat), in the monster layout.
class CMonsterDlg : public CRecordDlg {
public:
    explicit CMonsterDlg(Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent = nullptr)
        : CRecordDlg(FileKind::Monster, prompter, commitTarget, parent)
    {
    }
};

} // namespace rw
