#pragma once

#include <QString>

#include "copydialog.h"

class QLabel;
class QLineEdit;

// The modal "Copy File" dialog: copies a file definition with all its fields
// under a new name within its data source; nothing is renumbered, and the
// tables over the source file are not touched.
class frmFileCopy : public CopyDialog
{
    Q_OBJECT
public:
    frmFileCopy();

    // Proposes a free name for a copy of `Filename` and shows the dialog; once
    // it closed (copied or not) the data source's Files folder is reloaded.
    // Always false; nothing is shown when the data source has no open database.
    static bool Display(const QString &Datasource, const QString &Filename);
    // The copy's statements, run inside a unit of the data source: file
    // `Source` with its fields written again as `Target`.
    static void CopyRows(const QString &Source, const QString &Target);

    QLabel *lblFilename = nullptr;
    QLineEdit *txtFilename = nullptr;

public slots:
    void cmdOK_Click();

private:
    QString mFilename;
};
