#include "shell/CAboutDlg.h"

#include "resources/Icons.h"
#include "resources/Ids.h"
#include "resources/Strings.h"
#include "ui/Texts.h"
#include "ui/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace rw {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_icon(WindowIcon())
{
    setFont(DialogFont());
    const DialogUnits du(font());
    setWindowTitle(Text(str::kAboutCaption));
    setWindowIcon(m_icon);
    setFixedSize(du.Size(235, 55));

    auto* picture = new QLabel(this);
    picture->setGeometry(du.Rect(11, 17, 20, 20));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(ProgramIcon().pixmap(32, 32));

    auto* version = new QLabel(Text(str::kAboutVersion), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(du.Rect(40, 16, 119, 8));

    auto* attribution = new QLabel(Text(str::kAboutAttribution), this);
    attribution->setTextFormat(Qt::PlainText);
    attribution->setGeometry(du.Rect(40, 31, 136, 8));

    auto* ok = new QPushButton(Text(str::kAboutOk), this);
    ok->setProperty(ids::kControlIdProperty, ids::kOk);
    ok->setGeometry(du.Rect(178, 7, 50, 14));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace rw
