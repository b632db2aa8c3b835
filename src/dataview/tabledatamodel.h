#pragma once

// The rows of a query as a read-only table model, filled a batch at a time
// from a forward-only reader: a view shows the first rows while the rest are
// still being read.

#include <QAbstractTableModel>
#include <deque>
#include <memory>
#include <vector>

#include "dao.h"

class TableDataModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    ~TableDataModel() override;

    // Starts showing the result of `reader`: its columns and no row. The rows
    // read before are dropped; the columns stay as they are (so a view keeps
    // its column widths) when the result has the same ones.
    void Start(std::unique_ptr<dao::Reader> reader);
    // Reads up to `rows` further rows and appends them; returns how many it read.
    // A failure of the read passes to the caller, the rows before it kept.
    long FetchRows(long rows);
    // True once every row of the result was read (or there is no result).
    bool Complete() const { return !m_reader || m_reader->AtEnd(); }
    // Ends the read; the rows read stay.
    void StopReading();
    // Drops the rows and the columns.
    void Clear();

    // A cell as text: Null empty, dates and times in ISO form, numbers in the C locale.
    static QString CellText(const QVariant &value);
    const QVariant &Cell(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::unique_ptr<dao::Reader> m_reader;
    std::vector<dao::FieldInfo> m_columns;
    std::deque<QVariant> m_cells; // row after row
    int m_rows = 0;
};
