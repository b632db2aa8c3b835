#pragma once

#include "panes/gridpane.h"

// The catalog databases of a data source (its QN_DB rows) in a grid.
class frmDatabases : public GridPane
{
    Q_OBJECT
public:
    frmDatabases();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    void PopulateCombos() override;
    void ListDropDown(int element) override;
    bool RefuseCell(int row, int col) const override;
    void NewRow(int row) override;
    QString ValidateCell(int row, int col) override;
    QString DeleteSQL() override;
    QString InsertSQL() override;
    QString UpdateSQL() override;
    QString FolderKey() const override;
};
