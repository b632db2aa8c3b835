#pragma once

#include "panes/gridpane.h"

// The privileges users hold on one catalog database (its QN_DBPRV rows) in a
// grid; database passwords show masked and are written only when typed.
class frmDBPRVs : public GridPane
{
    Q_OBJECT
public:
    frmDBPRVs();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    void PopulateCombos() override;
    void NewRow(int row) override;
    QString ValidateCell(int row, int col) override;
    QString DeleteSQL() override;
    QString InsertSQL() override;
    QString UpdateSQL() override;
    QString FolderKey() const override;
    QString ParentSQL() const override;
    std::optional<Up> UpTarget() const override;

private:
    QString database() const { return Keys().value(1); }
};
