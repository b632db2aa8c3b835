#pragma once

#include "editors/editorframe.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The database editor: one QN_DB row, its name the key. A rename carries the
// database's tables with their columns and table privileges, and its database
// privileges, to the new name; a delete takes them with it. The catalog's own
// database 'QN' is shown read-only.
class frmDatabase : public EditorFrame
{
    Q_OBJECT
public:
    frmDatabase();

    void PopulateCombos() override;
    bool ValidateFields() override;
    QString CalcParentKey() const override;

    QLineEdit *txtName = nullptr;      // txtProperty_0 DATABASE_NAME
    QLineEdit *txtDirectory = nullptr; // txtProperty_1 DEFAULT_DIRECTORY
    QLineEdit *txtDriver = nullptr;    // txtProperty_2 DRIVER_NAME, the combo's twin
    QLineEdit *txtSetup = nullptr;     // txtProperty_3 SETUP_PROCEDURE (hidden)
    QPlainTextEdit *txtConnect = nullptr; // txtProperty_4 CONNECT_STRING
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_5 REMARKS
    QLineEdit *txtDisplay = nullptr;   // txtProperty_6 DISPLAY_NAME
    QComboBox *cboDriver = nullptr;    // cboDropdown_0 DRIVER_NAME

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    bool IsSystemObject() const override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
};
