#pragma once

#include "editors/editorframe.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// The file definition editor: one QN_FILE row, its name the key. A rename
// carries the file's fields and the tables mapped onto it to the new name; a
// delete takes the fields with it (the tables keep naming the file). The
// catalog's own file definitions are shown read-only and are never deleted.
class frmFile : public EditorFrame
{
    Q_OBJECT
public:
    frmFile();

    bool ValidateFields() override;
    void EnableEdit(bool State) override;
    QString CalcParentKey() const override;

    // The range of RECORD_SIZE (the spinner's).
    static constexpr int MinRecordSize = 0;
    static constexpr int MaxRecordSize = 65535;

    QLineEdit *txtName = nullptr;          // txtProperty_0 FILE_NAME
    QLineEdit *txtOpenString = nullptr;    // txtProperty_1 OPEN_STRING
    QLineEdit *txtRecordSize = nullptr;    // txtProperty_2 RECORD_SIZE
    QLineEdit *txtOrganisation = nullptr;  // txtProperty_3 FILE_ORGANISATION, twin of cboDropdown_0
    QLineEdit *txtRecordType = nullptr;    // txtProperty_4 RECORD_TYPE, twin of cboDropdown_1
    QPlainTextEdit *txtRemarks = nullptr;  // txtProperty_5 REMARKS
    QComboBox *cboOrganisation = nullptr;  // cboDropdown_0
    QComboBox *cboRecordType = nullptr;    // cboDropdown_1
    QToolButton *cmdCalcRecordSize = nullptr;

public slots:
    void cmdCalcRecordSize_Click();

protected:
    QString Title(Entry entry) const override;
    QString SelectSQL() const override;
    bool IsSystemObject() const override;
    QString UpdateSQL() const override;
    bool Rename(const QString &oldName, const QString &newName) override;
    QList<Statement> DeleteStatements() const override;
    bool RefuseDelete(bool committing) override;
    bool ConfirmSave(Entry entry) override;
    void RefreshFolder() override;

private:
    // "FILE_NAME = '<file>'" of the shown file.
    QString where() const;
};
