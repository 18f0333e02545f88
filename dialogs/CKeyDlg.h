#pragma once

// The modal key settings dialog. It works on a copy of the three keys; the
// caller takes them back with GetKeys only when exec() answered Accepted.

#include "data/KeySet.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QLineEdit;

namespace rw {

class Prompter;

class CKeyDlg : public QDialog {
    Q_OBJECT

public:
    CKeyDlg(const KeySet& keys, Prompter& prompter, QWidget* parent = nullptr);

    [[nodiscard]] KeySet GetKeys() const;

    // OK: every box must hold a whole number from 0 to 255, else the dialog stays open.
    void accept() override;

private:
    struct KeyBox {
        QLineEdit* box;
        std::uint8_t* key;
    };

    void OnOK();

    std::uint8_t m_magicKey;
    std::uint8_t m_monsterKey;
    std::uint8_t m_itemKey;
    Prompter& m_prompter;
    std::array<KeyBox, 3> m_readOrder{}; // magic, monster, item
};

} // namespace rw
