#pragma once

#include "panes/gridpane.h"

// The file definitions of a data source (its QN_FILE rows) in a grid.
class frmFiles : public GridPane
{
    Q_OBJECT
public:
    frmFiles();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    bool RefuseCell(int row, int col) const override;
    void LookupClick(int element) override;
    QString LookupRoutine() const override { return QStringLiteral("frmColumn.Display"); }
    QString ValidateCell(int row, int col) override;
    QString DeleteSQL() override;
    QString InsertSQL() override;
    QString UpdateSQL() override;
    QString FolderKey() const override;
};
