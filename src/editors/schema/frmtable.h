#pragma once

#include "editors/editorframe.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// The table editor: one QN_TABLE row of a database, mapped onto a file
// definition. A rename carries the table's columns (special columns included)
// and table privileges to the new name; a delete takes them with it. The
// tables of the catalog's own database 'QN' are shown read-only.
class frmTable : public EditorFrame
{
    Q_OBJECT
public:
    frmTable();

    void PopulateCombos() override;
    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    QString CalcParentKey() const override;

    // The range of NUMBER_COLUMNS (the spinner's).
    static constexpr int MinColumns = 0;
    static constexpr int MaxColumns = 32767;

    QLineEdit *txtDatabase = nullptr;      // txtProperty_0 DATABASE_NAME (never enabled)
    QLineEdit *txtName = nullptr;          // txtProperty_1 TABLE_NAME
    QLineEdit *txtType = nullptr;          // txtProperty_2 TABLE_TYPE, twin of cboDropdown_0
    QLineEdit *txtFile = nullptr;          // txtProperty_3 FILE_NAME, twin of cboDropdown_1
    QLineEdit *txtSpecification = nullptr; // txtProperty_4 FILE_SPECIFICATION
    QLineEdit *txtColumns = nullptr;       // txtProperty_5 NUMBER_COLUMNS
    QPlainTextEdit *txtCriteria = nullptr; // txtProperty_6 CRITERIA (never enabled)
    QPlainTextEdit *txtRemarks = nullptr;  // txtProperty_7 REMARKS
    QLineEdit *txtDisplay = nullptr;       // txtProperty_8 DISPLAY_NAME
    QComboBox *cboType = nullptr;          // cboDropdown_0 TABLE_TYPE
    QComboBox *cboFile = nullptr;          // cboDropdown_1 FILE_NAME
    QToolButton *cmdCalcColumns = nullptr;
    QToolButton *cmdCriteria = nullptr;

public slots:
    void cmdCalcColumns_Click();
    void cmdCriteria_Click();

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    bool IsSystemObject() const override;
    void PrepareNew() override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    void RefreshFolder() override;
    void Undo() override;
    bool OtherButton(const QString &key) override;

private:
    // "DATABASE_NAME = '<database>' AND TABLE_NAME = '<table>'" of the held names.
    QString where(const QString &separator = QStringLiteral(" AND ")) const;
};
