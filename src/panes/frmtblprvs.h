#pragma once

#include "panes/gridpane.h"

// The table privileges of one table (its QN_TBLPRV rows, one per user) in a grid.
class frmTBLPRVs : public GridPane
{
    Q_OBJECT
public:
    frmTBLPRVs();

protected:
    QString Title(const QStringList &keys) const override;
    QString Query() const override;
    void PopulateCombos() override;
    bool IsReadOnly() const override;
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
    QString tableKey() const;
};
