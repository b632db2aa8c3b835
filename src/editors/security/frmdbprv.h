#pragma once

#include "privilegeeditor.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The database privilege editor: one QN_DBPRV row, the rights of one user on
// one database, with the user name and password recorded for that database.
// The password is never shown. Choosing another user moves the row (and the
// user's table privileges in the database) to that user, its stored password
// kept.
class frmDBPRV : public PrivilegeEditor
{
    Q_OBJECT
public:
    frmDBPRV();

    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    QString CalcParentKey() const override;

    QLineEdit *txtDatabase = nullptr;     // txtProperty_0 DATABASE_NAME (never enabled)
    QLineEdit *txtUser = nullptr;         // txtProperty_1 USER_NAME, twin of cboDropdown_0
    QLineEdit *txtDbUser = nullptr;       // txtProperty_2 DATABASE_USERNAME
    QLineEdit *txtPassword = nullptr;     // txtProperty_3 DATABASE_PASSWORD
    QLineEdit *txtLevel = nullptr;        // txtProperty_4 SECURITY_LEVEL, twin of cboDropdown_1
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_5 REMARKS
    QLineEdit *txtConfirm = nullptr;
    QComboBox *cboUser = nullptr;         // cboDropdown_0 USER_NAME
    QComboBox *cboLevel = nullptr;        // cboDropdown_1 SECURITY_LEVEL
    // chkAllow: chkProperty_0..3 with the twins txtProperty_6..9

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    void PrepareNew() override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    void RefreshFolder() override;

private:
    // "DATABASE_NAME = '<database>' AND USER_NAME = '<user>'" of the held names.
    QString where() const;
};
