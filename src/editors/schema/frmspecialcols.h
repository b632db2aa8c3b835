#pragma once

#include <array>

#include "dao.h"
#include "editors/editorpane.h"

class ErrorHandler;
class QCheckBox;
class QComboBox;
class QLabel;

// The special columns of a table: eight pseudo-columns (RFA, INDEX_NUMBER, ...,
// RELATIVE_INDEX), each stored as a QN_COLUMN row with COLUMN_NUMBER 1 and its
// type (1 to 8) as COLUMN_TYPE, switched on and off with one check box each,
// as far as the database's driver and the table's file organisation allow.
// RELATIVE_INDEX names a column of the table in its REMARKS. No bound
// controls: the state of each type is the check box's value (wanted) and its
// "Tag" ("1" stored, "0" not). The tables of 'QN' are shown read-only.
class frmSpecialCols : public EditorPane
{
    Q_OBJECT
public:
    frmSpecialCols();

    // keys: the data source, the database and the table. -1 when the data
    // source has no open database, else 0 (an ignored failure included).
    int Display(const QStringList &keys) override;
    // "Up1" (the table's editor), "Special Column Edit", "OK" (one unit of
    // every insert and delete, then the relative index's column), "Cancel".
    void tbr_ButtonClick(const QString &key) override;

    // The check box of a special type; 9 (subscript out of range) for any
    // type but 1 to 8.
    QCheckBox *chkActive(long type) const;

    QLabel *lblDescription = nullptr;
    QComboBox *cboRIColumn = nullptr; // the column RELATIVE_INDEX names

public slots:
    void chkActive_Click(int Index);
    void cboRIColumn_Click();

private:
    void Form_Load();
    void edit(ErrorHandler &handler);
    void commit(ErrorHandler &handler);
    void setBand(bool edit, bool pending);
    // The first column of the first row of `sql`, or "" when there is none.
    QString firstValue(ErrorHandler &handler, const QString &sql, bool &ok);
    QString tableWhere() const;

    std::array<QCheckBox *, 9> m_chkActive{}; // [0] unused: the types are 1 to 8
    dao::DatabasePtr m_db;
    QString DatabaseName;
    QString TableName;
    bool m_loaded = false;
};
