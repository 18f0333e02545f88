#pragma once

#include <QDialog>
#include <QIcon>

namespace rw {

// The about box: the program's picture, its version and an attribution line.
// OK ends it with Accepted, Escape and the close box with Rejected.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

private:
    QIcon m_icon;
};

} // namespace rw
