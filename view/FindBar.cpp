#include "view/FindBar.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rw {

FindBar::FindBar(QWidget* parent)
    : QWidget(parent),
      m_query(new QLineEdit(this)),
      m_onlyMatching(new QCheckBox(Text(str::kFindOnlyMatching), this)),
      m_result(new QLabel(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(Text(str::kFindLabel), this);
    label->setBuddy(m_query);
    m_query->setPlaceholderText(Text(str::kFindPlaceholder));
    // How to write a query, with examples, where the query is typed.
    for (QWidget* explained : std::initializer_list<QWidget*>{label, m_query}) explained->setToolTip(Text(str::kFindSyntaxTip));
    m_query->setClearButtonEnabled(true);
    auto* previous = new QPushButton(Text(str::kFindPrevious), this);
    auto* next = new QPushButton(Text(str::kFindNext), this);
    auto* close = new QPushButton(Text(str::kFindClose), this);
    for (QPushButton* button : {previous, next, close}) button->setAutoDefault(false);
    m_result->setTextFormat(Qt::PlainText);
    m_result->setObjectName(QStringLiteral("result"));
    row->addWidget(label);
    row->addWidget(m_query, 3);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(m_onlyMatching);
    row->addWidget(m_result, 2);
    row->addWidget(close);
    // Tab goes along the bar as it reads.
    QWidget::setTabOrder(m_query, previous);
    QWidget::setTabOrder(previous, next);
    QWidget::setTabOrder(next, m_onlyMatching);
    QWidget::setTabOrder(m_onlyMatching, close);
    connect(m_query, &QLineEdit::textChanged, this, &FindBar::QueryChanged);
    connect(m_query, &QLineEdit::returnPressed, this, &FindBar::FindNext);
    connect(next, &QPushButton::clicked, this, &FindBar::FindNext);
    connect(previous, &QPushButton::clicked, this, &FindBar::FindPrevious);
    connect(m_onlyMatching, &QCheckBox::toggled, this, &FindBar::OnlyMatchingChanged);
    connect(close, &QPushButton::clicked, this, &FindBar::CloseRequested);
}

QString FindBar::Query() const { return m_query->text(); }

bool FindBar::OnlyMatching() const { return m_onlyMatching->isChecked(); }

void FindBar::SetOnlyMatching(bool only) { m_onlyMatching->setChecked(only); }

void FindBar::FocusQuery()
{
    m_query->setFocus(Qt::ShortcutFocusReason);
    m_query->selectAll();
}

void FindBar::ShowResult(const QString& text, bool wrong)
{
    m_result->setText(text);
    // A malformed query shows in red, in the box and beside it.
    const QString red = wrong ? QStringLiteral("color: #c00000;") : QString();
    m_result->setStyleSheet(red);
    m_query->setStyleSheet(red);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit CloseRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace rw
