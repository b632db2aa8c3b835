#pragma once

#include <array>

#include "editors/editorframe.h"

class CSQLDTs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// The column editor: one ordinary QN_COLUMN row (COLUMN_TYPE 0) of a table,
// bound to a field of the table's file and typed by one of the data source's
// SQL data types. Choosing a type whose name has no "CHAR" in it copies that
// type's length, precision, search level and six flags into the row and locks
// them; a "CHAR" type unlocks them. A changed name, number, type or field goes
// through the column rename writer. The columns of 'QN' are shown read-only.
class frmColumn : public EditorFrame
{
    Q_OBJECT
public:
    frmColumn();

    int Display(const QStringList &keys) override;
    void tbr_ButtonClick(const QString &key) override;
    void PopulateCombos() override;
    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    // The controls the SQL data type governs on (true) or off.
    void EnableDatatype(bool State);
    QString CalcParentKey() const override;

    // The field name as the row was read (the mapping check of an edit starts from it).
    const QString &FieldAsRead() const { return m_fieldAsRead; }

    QLineEdit *txtDatabase = nullptr;   // txtProperty_0 DATABASE_NAME (never enabled)
    QLineEdit *txtTable = nullptr;      // txtProperty_1 TABLE_NAME (never enabled)
    QLineEdit *txtName = nullptr;       // txtProperty_2 COLUMN_NAME
    QLineEdit *txtDisplay = nullptr;    // txtProperty_3 DISPLAY_NAME
    QLineEdit *txtNumber = nullptr;     // txtProperty_4 COLUMN_NUMBER
    QLineEdit *txtLength = nullptr;     // txtProperty_5 LENGTH
    QLineEdit *txtPrecision = nullptr;  // txtProperty_6 PRECISION
    QLineEdit *txtScale = nullptr;      // txtProperty_7 SCALE
    QLineEdit *txtDefault = nullptr;    // txtProperty_8 DEFAULT_VALUE
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_9 REMARKS
    QLineEdit *txtField = nullptr;      // txtProperty_10 FIELD_NAME, twin of cboDropdown_0
    QLineEdit *txtColumnType = nullptr; // txtProperty_13 COLUMN_TYPE (hidden)
    QLineEdit *txtSearchable = nullptr; // txtProperty_14 SEARCHABLE, twin of cboDropdown_2
    QLineEdit *txtType = nullptr;       // txtProperty_99 SQL_TYPE_NAME, twin of cboDropdown_1
    QComboBox *cboField = nullptr;      // cboDropdown_0 FIELD_NAME
    QComboBox *cboType = nullptr;       // cboDropdown_1 SQL_TYPE_NAME
    QComboBox *cboSearchable = nullptr; // cboDropdown_2 SEARCHABLE: the four words, item data 0 to 3
    // chkProperty_<n>: 1 NULLABLE, 2 UNSIGNED_ATTRIBUTE, 3 UPDATABLE, 4 VISIBLE, 5 MONEY,
    // 6 AUTO_INCREMENT, 7 CASE_SENSITIVE, 8 RADIX, 0 SETFILEPARAMETER; twins txtProperty_15..22 and 12.
    std::array<QCheckBox *, 9> chkProperty{};
    std::array<UpDown *, 4> spnUpDn{}; // number, length, precision, scale
    QToolButton *cmdNextColumnNumber = nullptr;

public slots:
    // The highest number of the table's columns (special columns included) plus 1, or 1.
    void cmdNextColumnNumber_Click();

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    bool RowGone() override;
    bool IsSystemObject() const override;
    void PrepareNew() override;
    void PrepareEdit() override;
    bool ConfirmDelete() override;
    void PrepareInsert() override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    void RemoveFromTree() override;
    void PropertyChanged(QWidget *box, const QString &tag) override;
    QString ComboValue(const QComboBox *combo) const override;
    void ShowComboValue(QComboBox *combo, const QString &value) override;

private:
    // The data-type rule for the type in the SQL_TYPE_NAME box (a choice of the user's).
    void cboDropdown_Click();
    const CSQLDTs &SQLTypes() const;
    // "DATABASE_NAME = '<database>' AND TABLE_NAME = '<table>'" of the held names.
    QString tableWhere() const;
    QString where() const;
    QString m_fieldAsRead;
};
