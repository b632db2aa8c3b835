#pragma once

#include <QString>

#include "copydialog.h"

class QLabel;
class QLineEdit;

// The modal "Copy Database" dialog: copies a database of a data source under
// a new name within it, with its tables, their columns, and the database and
// table privileges (the file definitions stay shared). Its database user names
// and passwords are not copied.
class frmDBCopy : public CopyDialog
{
    Q_OBJECT
public:
    frmDBCopy();

    // Proposes a free name for a copy of `DatabaseName` and shows the dialog;
    // returns once it closed: 0, or -1 (nothing shown) when the data source has
    // no open database.
    static int Display(const QString &Datasource, const QString &DatabaseName);
    // The copy's statements, run inside a unit of the data source: the rows of
    // database `Source` written again under `Target`, with the status texts.
    static void CopyRows(const QString &Source, const QString &Target);

    QLabel *lblDB = nullptr;
    QLineEdit *txtDB = nullptr;

public slots:
    void cmdOK_Click();

private:
    QString m_source;
};
