#pragma once

// The grid of the list panes and the routines they share: filling a grid from
// a catalog query, moving the current cell one step on, and the value words.
//
// A grid is a QTableView (GridView) over a text table (GridModel) that it
// owns: a header of captions with one alignment per column, then the rows,
// every cell a text. Rows are numbered from 0 (the first row below the
// header); -1 stands for "no row" (the header).

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <optional>
#include <vector>

namespace dao {
class Database;
}

// The text table behind a grid: cells row after row in one vector, so a fill
// of n rows is one allocation and a reset.
class GridModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Replaces everything: the columns (captions and alignments) and the cells,
    // `cells` holding captions.size() texts per row; `nulls`, when given, one
    // flag per cell: the catalog held Null there (the cell shows it as empty).
    void Reset(const QStringList &captions, const QList<Qt::Alignment> &alignments, std::vector<QString> cells,
               std::vector<bool> nulls = {});
    // Keeps the columns, drops the rows.
    void ClearRows();
    // Appends one row of empty cells; its number.
    int AddRow();

    QString Text(int row, int col) const;
    // Sets one cell (nothing for a cell out of range); its Null flag stays.
    void SetText(int row, int col, const QString &text);
    // True when the cell stands for a stored Null.
    bool IsNull(int row, int col) const;
    void SetNull(int row, int col, bool null);
    QString Caption(int col) const { return m_captions.value(col); }
    Qt::Alignment Alignment(int col) const { return m_alignments.value(col, Qt::AlignLeft); }

private:
    QStringList m_captions;
    QList<Qt::Alignment> m_alignments;
    std::vector<QString> m_cells;
    std::vector<bool> m_nulls; // as many as m_cells
    int m_rows = 0;
};

// The grid control: a table view over its own GridModel. The current cell is
// drawn highlighted; there is no selection and no editing of its own (cell
// editors are laid over it by the pane). Every change of the current cell,
// from the user or from code, is reported at once through `cellEntered`.
class GridView : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(QWidget *parent = nullptr);

    GridModel &Model() { return m_model; }
    const GridModel &Model() const { return m_model; }

    int Rows() const { return m_model.rowCount(); }
    int Cols() const { return m_model.columnCount(); }
    // The current cell; -1 when there is none.
    int Row() const;
    int Col() const;
    // Makes (row, col) the current cell, scrolled into view.
    void SetCurrent(int row, int col);
    QString TextMatrix(int row, int col) const { return m_model.Text(row, col); }
    void SetTextMatrix(int row, int col, const QString &text) { m_model.SetText(row, col, text); }
    // The cell's rectangle in the viewport's coordinates.
    QRect CellRect(int row, int col) const { return visualRect(m_model.index(row, col)); }

    // True while a mouse press is being handled (a cell change it causes is a click).
    bool Clicking() const { return m_clicking; }

signals:
    void cellEntered(int row, int col);
    // A key typed while the grid has the focus; the receiver sets `handled`.
    void keyTyped(QKeyEvent *event, bool &handled);
    // The grid scrolled by itself (not by following a change of the current cell).
    void scrolled();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    GridModel m_model;
    bool m_clicking = false;
    int m_following = 0; // inside a change of the current cell
};

namespace modGrid {

// The caption of a catalog column: "_" as blanks, in proper case
// (COLUMN_NUMBER: "Column Number"); and back (blanks as "_", upper case).
QString Caption(const QString &column);
QString ColumnName(const QString &caption);

// Fills `grid` from a snapshot of `SQL`: a caption and an alignment per field
// of the query (left for text types, right for all others), one row per record,
// every value as text (a Null as empty, flagged as Null in the model). A failure goes to the error dialog
// under "modGrid.PopulateGrid" with the SQL: Retry fills again, Ignore leaves
// the grid with the rows read so far (its columns as they were when none was
// read), Abort ends the program. False after Ignore.
bool PopulateGrid(GridView &grid, dao::Database &db, const QString &SQL);

// Moves the current cell one to the right; from the last column to column 0 of
// the next row, and from the last row back to row 0.
void NextCell(GridView &grid);

// 1 gives "Yes", any other value "No".
QString YesNo(int value);
// A stored flag as its word: "Yes" for the whole number 1, "No" for anything
// else (a Null, an empty or non-numeric text included).
QString YesNoText(const QString &stored);
// "YES", "TRUE" or "ON" in any letter case gives 1, anything else 0.
int ToBoolean(const QString &text);
// The search levels' words, for 0 to 3.
const QStringList &SearchableWords();
// "Unsearchable" 0, "LIKE only" 1, "All except LIKE" 2, "Searchable" 3 (case
// matters); any other text 0.
int ToSearchable(const QString &text);
// A field's encryption words, for 0 to 2.
const QStringList &EncryptedWords();
// "No" 0, "Yes - Read/Write" 1, "Yes - Read Only" 2 (case matters); any other text 0.
int ToEncrypted(const QString &text);
// A word's position in `words` (case matters); any other text 0.
int WordCode(const QString &text, const QStringList &words);
// A stored code as its word from `words` (0 is the first); an empty value or a
// value that is no position of `words` shows as it is.
QString CodeWord(const QString &stored, const QStringList &words);

} // namespace modGrid
