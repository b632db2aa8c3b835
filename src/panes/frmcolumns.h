#pragma once

#include "panes/gridpane.h"

struct CSQLDT;

// The ordinary columns of a table (its QN_COLUMN rows of COLUMN_TYPE 0) in a grid.
class frmColumns : public GridPane
{
    Q_OBJECT
public:
    frmColumns();

    // True when `Value` is from 0 to 32767 and not above the Length (the
    // PRECISION) of the SQL type named in column 4 of the row being edited.
    bool IsValidLength(long Value) const;
    bool IsValidPrecision(long Value) const;

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    void PopulateCombos() override;
    bool IsReadOnly() const override;
    bool RefuseCell(int row, int col) const override;
    void ListChanged(int element, const QString &text) override;
    void LookupClick(int element) override;
    QString ValidateCell(int row, int col) override;
    QString DeleteSQL() override;
    QString InsertSQL() override;
    QString UpdateSQL() override;
    QString FolderKey() const override;
    QString ParentSQL() const override;
    std::optional<Up> UpTarget() const override;

private:
    QString database() const { return Keys().value(1); }
    QString table() const { return Keys().value(2); }
    // The SQL type of that name; none for a name the data source does not have.
    std::shared_ptr<CSQLDT> sqlType(const QString &name) const;
    QString tableKey() const;
};
