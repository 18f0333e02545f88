#pragma once

// What the form asks of saving: its Save button, and the question before unsaved changes are
// dropped (Refresh). The frame's saver answers both, so that the questions a save asks and
// the backup it makes live in one place whichever window starts it.

class QWidget;

namespace rw {

class SaveFlow {
public:
    virtual ~SaveFlow() = default;

    // 保存: asks where, then writes; true when written. owner: the window its questions and
    // messages belong to.
    virtual bool SaveAs(QWidget* owner) = 0;
    // True when nothing would be lost: no unsaved changes, or the user saved them or agreed to
    // drop them.
    [[nodiscard]] virtual bool MayDiscardChanges(QWidget* owner) = 0;
};

} // namespace rw
