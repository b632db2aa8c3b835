#pragma once

#include "core/localtyperules.h"
#include "panes/gridpane.h"

// The fields of a file definition (its QN_FIELD rows) in a grid; each row's
// local type decides which of LENGTH, PRECISION, SCALE and FORMAT open, their
// bounds, and what choosing the type writes into the row.
class frmFields : public GridPane
{
    Q_OBJECT
public:
    frmFields();

    // The rules of the local type named `LocalTypeName` in the data source:
    // nothing for an empty name or one the data source does not have.
    std::optional<localtype::Rules> FetchTypeInfo(const QString &LocalTypeName) const;

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
    QString file() const { return Keys().value(1); }
};
