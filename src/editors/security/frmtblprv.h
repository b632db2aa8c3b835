#pragma once

#include "privilegeeditor.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The table privilege editor: one QN_TBLPRV row, the rights of one user on one
// table. Choosing another user moves the row to that user.
class frmTBLPRV : public PrivilegeEditor
{
    Q_OBJECT
public:
    frmTBLPRV();

    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    QString CalcParentKey() const override;

    QLineEdit *txtDatabase = nullptr;     // txtProperty_0 DATABASE_NAME (never enabled)
    QLineEdit *txtTable = nullptr;        // txtProperty_1 TABLE_NAME (never enabled)
    QLineEdit *txtUser = nullptr;         // txtProperty_2 USER_NAME, twin of cboDropdown_0
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_3 REMARKS
    QComboBox *cboUser = nullptr;         // cboDropdown_0 USER_NAME
    // chkAllow: chkProperty_0..3 with the twins txtProperty_4..7

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    void PrepareNew() override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    void RefreshFolder() override;

private:
    // "DATABASE_NAME = '<database>' AND TABLE_NAME = '<table>' AND USER_NAME = '<user>'" of the held names.
    QString where(const QString &user) const;
};
