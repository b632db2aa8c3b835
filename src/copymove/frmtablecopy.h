#pragma once

#include <QString>

#include "copydialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

// The modal "Copy Table" dialog: copies a table under a new name into a
// database of the same data source chosen from a list (never the catalog's
// own database 'QN'), with its columns and table privileges. The copy keeps
// the file the table describes.
class frmTableCopy : public CopyDialog
{
    Q_OBJECT
public:
    frmTableCopy();

    // Lists the target databases with the table's own chosen, proposes a free
    // name in it and shows the dialog; returns once it closed: 0, or -1
    // (nothing shown) when the data source has no open database.
    static int Display(const QString &Datasource, const QString &DatabaseName, const QString &TableName);
    // The copy's statements, run inside a unit of the data source: the rows of
    // table `SourceTable` of `SourceDatabase` written again as `Table` of
    // `Database`, which is read first (3021 when it is gone).
    static void CopyRows(const QString &SourceDatabase, const QString &SourceTable, const QString &Database,
                         const QString &Table);

    QLabel *lblDB = nullptr;
    QLabel *lblTable = nullptr;
    QComboBox *cboDB = nullptr;
    QLineEdit *txtTable = nullptr;

public slots:
    void cmdOK_Click();

private:
    // The proposal template in `database`.
    static QString nameTemplate(const QString &database);

    QString m_database;
    QString m_table;
};
