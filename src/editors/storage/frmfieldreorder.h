#pragma once

#include <QDialog>
#include <QString>

#include "dao.h"

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

// The modal "Reorder Fields" dialog: lists a file's fields by number (or by
// name), lets the user move them with Up and Down, and on OK numbers them 1,
// 2, 3 ... in list order, as one unit. Offsets are left as they are. It opens
// where the column reorder dialog was last closed (settings section
// "frmColumnReorder", Left and Top in twips), centred when that has no
// position, and saves no position of its own.
class frmFieldReorder : public QDialog
{
    Q_OBJECT
public:
    frmFieldReorder();

    // Shows the dialog for `Filename` and returns when it closed: 0, or -1
    // when the data source has no open database (nothing shown). Every call
    // starts from a fresh dialog.
    static int Display(const QString &Datasource, const QString &Filename);

    QLabel *lblPrompt = nullptr;
    QListWidget *lstField = nullptr;
    QToolButton *cmdUp = nullptr;
    QToolButton *cmdDown = nullptr;
    QToolButton *chkSortAlpha = nullptr; // a toggle: alphabetical while set
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void chkSortAlpha_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    void swap(int from, int to);

    dao::DatabasePtr mDatabase;
    QString mFilename;
};
