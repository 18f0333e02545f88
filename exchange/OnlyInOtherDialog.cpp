#include "exchange/OnlyInOtherDialog.h"

#include "data/RecordBytes.h"
#include "resources/Strings.h"
#include "text/GbkCodec.h"
#include "ui/Texts.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace rw {
namespace {

// ID and name of the listed records.
class OtherRecordsModel final : public QAbstractTableModel {
public:
    OtherRecordsModel(const Comparison& comparison, FileKind kind, const std::vector<std::size_t>& indexes,
                      QObject* parent)
        : QAbstractTableModel(parent), m_comparison(comparison), m_schema(SchemaOf(kind)), m_indexes(indexes)
    {
    }

    [[nodiscard]] int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_indexes.size());
    }
    [[nodiscard]] int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto record = m_comparison.OtherRecord(m_indexes[static_cast<std::size_t>(index.row())]);
        if (index.column() == kIdColumn) return LoadInt32(record.data());
        return GbkCodec::Instance().Decode(ReadShortName(m_schema, record.data()));
    }

    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
        return Text(m_schema.Column(section).title);
    }

private:
    const Comparison& m_comparison;
    const RecordSchema& m_schema;
    const std::vector<std::size_t>& m_indexes;
};

} // namespace

OnlyInOtherDialog::OnlyInOtherDialog(const Comparison& comparison, FileKind kind, std::vector<std::size_t> indexes,
                                     const QString& summary, QWidget* parent)
    : QDialog(parent), m_indexes(std::move(indexes))
{
    const QString otherName = QString::fromStdString(comparison.OtherName());
    setWindowTitle(Text(str::kCompareOnlyThereCaptionFormat, otherName));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(summary, this);
    heading->setWordWrap(true);
    heading->setTextFormat(Qt::PlainText);
    heading->setObjectName(QStringLiteral("summary"));
    layout->addWidget(heading);
    auto* label = new QLabel(Text(str::kCompareOnlyThereLabelFormat, m_indexes.size(), otherName), this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);

    m_list = new QTableView(this);
    m_list->setModel(new OtherRecordsModel(comparison, kind, m_indexes, m_list));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    // Rows of one height: a long list is laid out without measuring each.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(kIdColumn, SchemaOf(kind).Column(kIdColumn).widthPx);
    m_list->selectAll();
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_takeOver = buttons->addButton(Text(str::kButtonTakeOver), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(str::kButtonClose), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, 360);
}

std::vector<std::size_t> OnlyInOtherDialog::Chosen() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<std::size_t> chosen;
    chosen.reserve(rows.size());
    for (const int row : rows) chosen.push_back(m_indexes[static_cast<std::size_t>(row)]);
    return chosen;
}

} // namespace rw
