#pragma once

#include "panes/gridpane.h"

// The users of a data source (its QN_USER rows) in a grid; passwords show
// masked and are written only when typed; 'ADMIN' keeps its name.
class frmUsers : public GridPane
{
    Q_OBJECT
public:
    frmUsers();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    bool RefuseCell(int row, int col) const override;
    QString ValidateCell(int row, int col) override;
    QString DeleteSQL() override;
    QString InsertSQL() override;
    QString UpdateSQL() override;
    QString FolderKey() const override;
};
