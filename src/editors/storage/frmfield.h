#pragma once

#include "editors/editorframe.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// The field editor: one QN_FIELD row of a file definition. Its local data
// type fixes, defaults or bounds LENGTH, PRECISION, SCALE and FORMAT (the
// rules of core/localtyperules.h); a change of LENGTH or FORMAT keeps the
// others in line. A rename or a new offset goes through the rename writer,
// which carries the name into the columns bound to the field; a changed length
// may be copied to those columns. The fields of the catalog's own files are
// shown read-only and are never deleted.
class frmField : public EditorFrame
{
    Q_OBJECT
public:
    frmField();

    void PopulateCombos() override;
    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    QString CalcParentKey() const override;

    // The spinners' starting ranges (FIELD_NUMBER and OFFSET keep theirs).
    static constexpr int MinFieldNumber = 1, MaxFieldNumber = 32767;
    static constexpr int MinOffset = 0, MaxOffset = 65535;

    // The boxes by index, as the form numbers them.
    QLineEdit *txtFile = nullptr;         // txtProperty_0 FILE_NAME (never enabled)
    QLineEdit *txtNumber = nullptr;       // txtProperty_1 FIELD_NUMBER
    QLineEdit *txtName = nullptr;         // txtProperty_2 FIELD_NAME
    QLineEdit *txtType = nullptr;         // txtProperty_3 LOCAL_TYPE_NAME, twin of cboDropdown_0
    QLineEdit *txtOffset = nullptr;       // txtProperty_4 OFFSET
    QLineEdit *txtLength = nullptr;       // txtProperty_5 LENGTH
    QLineEdit *txtPrecision = nullptr;    // txtProperty_6 PRECISION
    QLineEdit *txtScale = nullptr;        // txtProperty_7 SCALE
    QLineEdit *txtEncrypted = nullptr;    // txtProperty_8 ENCRYPTED (0, 1, 2), twin of cboDropdown_1
    QLineEdit *txtFormat = nullptr;       // txtProperty_9 FORMAT
    QLineEdit *txtDefault = nullptr;      // txtProperty_10 DEFAULT_VALUE
    QPlainTextEdit *txtRemarks = nullptr; // txtProperty_11 REMARKS
    QComboBox *cboType = nullptr;         // cboDropdown_0
    QComboBox *cboEncrypted = nullptr;    // cboDropdown_1: "No", "Yes - Read/Write", "Yes - Read Only"
    UpDown *spnUpDn[5] = {};              // FIELD_NUMBER, OFFSET, LENGTH, PRECISION, SCALE
    QLabel *lblMinMax[5] = {};            // LENGTH, PRECISION, SCALE, OFFSET, FIELD_NUMBER
    QToolButton *cmdNextFieldNumber = nullptr;
    QToolButton *cmdCalcOffset = nullptr;
    QToolButton *cmdFormat = nullptr;

    bool LengthChanged() const { return m_lengthChanged; }

public slots:
    void cmdNextFieldNumber_Click();
    void cmdCalcOffset_Click();
    void cmdFormat_Click();

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    bool IsSystemObject() const override;
    void FillRow(const dao::Recordset *rs) override;
    void PrepareNew() override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    bool RefuseDelete(bool committing) override;
    bool ConfirmSave(Entry entry) override;
    void SaveStatements(Entry entry) override;
    void Saved(Entry entry) override;
    void RefreshFolder() override;
    void Undo() override;
    void PropertyChanged(QWidget *box, const QString &tag) override;
    QString ComboValue(const QComboBox *combo) const override;
    void ShowComboValue(QComboBox *combo, const QString &value) override;

private:
    // The type's rules on the boxes, their ranges and locks; nothing for an
    // empty name or one the data source does not have.
    void ApplyLocalType(const QString &LocalTypeName);
    // The wrapped attribute text of a local type of the data source; none when unknown.
    std::optional<QString> Attributes(const QString &LocalTypeName) const;
    // The PRECISION range of a packed type of length `length`.
    void SetPackedRange(long length);
    void SetRange(int spinner, int label, long min, long max, const QString &caption);
    // "FILE_NAME = '<file>' AND FIELD_NAME = '<field>'"
    QString where(const QString &field) const;
    QString file() const { return Parent(0); }

    bool m_populating = false;
    bool m_lengthChanged = false;
    bool m_copyLength = false; // the edit's answer to the length question
    QString m_oldFieldNumber;
};
