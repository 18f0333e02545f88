#pragma once

#include "dialogs/CRecordDlg.h"

namespace rw {

// Magic records (magic.dat), in the spell layout.
class CMagicDlg : public CRecordDlg {
public:
    explicit CMagicDlg(Prompter& prompter, RecordCommitTarget& commitTarget, QWidget* parent = nullptr)
        : CRecordDlg(FileKind::Magic, prompter, commitTarget, parent)
    {
    }
};

} // namespace rw
