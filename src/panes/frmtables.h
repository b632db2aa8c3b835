#pragma once

#include "panes/gridpane.h"

// The tables of a catalog database (its QN_TABLE rows) in a grid.
class frmTables : public GridPane
{
    Q_OBJECT
public:
    frmTables();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    void PopulateCombos() override;
    bool IsReadOnly() const override;
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
    QString databaseKey() const;
};
