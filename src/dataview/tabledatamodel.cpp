#include "tabledatamodel.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <climits>

TableDataModel::~TableDataModel() = default;

namespace {

bool sameColumns(const std::vector<dao::FieldInfo> &a, const std::vector<dao::FieldInfo> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || a[i].Type != b[i].Type)
            return false;
    return true;
}

bool isNumber(int type)
{
    switch (type) {
    case dao::dbByte:
    case dao::dbInteger:
    case dao::dbLong:
    case dao::dbCurrency:
    case dao::dbSingle:
    case dao::dbDouble:
    case dao::dbBigInt:
    case dao::dbNumeric:
    case dao::dbDecimal:
    case dao::dbFloat: return true;
    default: return false;
    }
}

} // namespace

void TableDataModel::Start(std::unique_ptr<dao::Reader> reader)
{
    const std::vector<dao::FieldInfo> columns = reader ? reader->Columns() : std::vector<dao::FieldInfo>{};
    if (sameColumns(columns, m_columns)) {
        if (m_rows > 0) {
            beginRemoveRows({}, 0, m_rows - 1);
            m_cells.clear();
            m_rows = 0;
            endRemoveRows();
        }
        m_reader = std::move(reader);
        return;
    }
    beginResetModel();
    m_reader = std::move(reader);
    m_columns = columns;
    m_cells.clear();
    m_rows = 0;
    endResetModel();
}

long TableDataModel::FetchRows(long rows)
{
    if (Complete() || rows <= 0)
        return 0;
    // A view never holds more rows than an int counts.
    rows = qMin<long>(rows, long(INT_MAX) - m_rows);
    std::deque<QVariant> batch;
    long got = 0;
    // The whole rows read are shown, those before a failure too.
    auto append = [&] {
        got = m_columns.empty() ? 0 : long(batch.size() / m_columns.size());
        if (got == 0)
            return;
        beginInsertRows({}, m_rows, m_rows + int(got) - 1);
        m_cells.insert(m_cells.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
        m_rows += int(got);
        endInsertRows();
    };
    try {
        m_reader->Fetch(rows, batch);
    } catch (...) {
        append();
        throw;
    }
    append();
    if (m_rows == INT_MAX)
        StopReading();
    return got;
}

void TableDataModel::StopReading()
{
    if (m_reader)
        m_reader->Close();
    m_reader.reset();
}

void TableDataModel::Clear()
{
    beginResetModel();
    m_reader.reset();
    m_columns.clear();
    m_cells.clear();
    m_rows = 0;
    endResetModel();
}

QString TableDataModel::CellText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType: return {};
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime: return value.toTime().toString(Qt::ISODate);
    case QMetaType::QDateTime: return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray: return QString::fromLatin1(value.toByteArray().toHex());
    default: return value.toString();
    }
}

const QVariant &TableDataModel::Cell(int row, int column) const
{
    return m_cells[size_t(row) * m_columns.size() + size_t(column)];
}

int TableDataModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int TableDataModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TableDataModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= int(m_columns.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return CellText(Cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (isNumber(m_columns[size_t(index.column())].Type) ? Qt::AlignRight : Qt::AlignLeft));
    default: return {};
    }
}

QVariant TableDataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < int(m_columns.size()) ? QVariant(m_columns[size_t(section)].Name) : QVariant();
    return section + 1;
}

Qt::ItemFlags TableDataModel::flags(const QModelIndex &index) const
{
    // Read-only: the rows are shown, never written back.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
