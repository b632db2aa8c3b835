#pragma once

#include "editors/editorframe.h"

class QLineEdit;
class QPlainTextEdit;

// The user editor: one QN_USER row, its name the key. The password is never
// shown; a rename empties it (the user is asked first) and carries the user's
// privileges to the new name; a delete takes them with it. 'ADMIN' can be
// neither deleted nor renamed.
class frmUser : public EditorFrame
{
    Q_OBJECT
public:
    frmUser();

    bool ValidateFields() override;
    QString CalcParentKey() const override;
    void tbr_ButtonClick(const QString &key) override;

    QLineEdit *txtName = nullptr;        // txtProperty_0 USER_NAME
    QLineEdit *txtPassword = nullptr;    // txtProperty_1 USER_PASSWORD
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_2 REMARKS
    QLineEdit *txtConfirm = nullptr;

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    void RefreshFolder() override;
    void ReKeyTree(const QString &oldName, const QString &newName) override;
    void RemoveFromTree() override;
    bool ConfirmDelete() override;
};
