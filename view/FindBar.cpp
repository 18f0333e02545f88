#include "view/FindBar.h"

#include "resources/Strings.h"
#include "ui/Texts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace rw {

FindBar::FindBar(QWidget* parent)
    : QWidget(parent),
      m_query(new QLineEdit(this)),
      m_onlyMatching(new QCheckBox(Text(str::kFindOnlyMatching), this)),
      m_result(new QLabel(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    m_label = new QLabel(Text(str::kFindLabel), this);
    auto* label = m_label;
    label->setBuddy(m_query);
    SetKind(FileKind::Item);
    m_query->setClearButtonEnabled(true);
    auto* previous = new QPushButton(Text(str::kFindPrevious), this);
    auto* next = new QPushButton(Text(str::kFindNext), this);
    auto* close = new QPushButton(Text(str::kFindClose), this);
    for (QPushButton* button : {previous, next, close}) {
        button->setAutoDefault(false);
        // As wide as their texts: the query and what the find says of it need the room more
        // than the style's least button width.
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) +
                              2 * button->fontMetrics().averageCharWidth() +
                              2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin));
    }
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

void FindBar::SetKind(FileKind kind)
{
    const str::QueryExamples& examples = ExamplesOf(kind);
    m_query->setPlaceholderText(Text(str::kFindPlaceholderFormat, examples.condition));
    // How to write a query, with examples, where the query is typed.
    const QString tip = Text(str::kFindSyntaxTipFormat, examples.namePart, examples.id, examples.condition,
                             examples.together, examples.either, examples.compare);
    for (QWidget* explained : std::initializer_list<QWidget*>{m_label, m_query}) explained->setToolTip(tip);
}

const str::QueryExamples& FindBar::ExamplesOf(FileKind kind)
{
    // The item columns show while nothing is open.
    return str::kQueryExamples[IsDataKind(kind) ? static_cast<std::size_t>(kind) : 0];
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
    // Whole where the bar is too narrow for it.
    m_result->setToolTip(text);
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
