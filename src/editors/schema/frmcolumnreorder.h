#pragma once

#include <QDialog>
#include <QString>

#include "dao.h"

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

// The modal "Reorder Columns" dialog: lists a table's ordinary columns
// (COLUMN_TYPE 0), by number or by name, lets the user move them up and down,
// and on OK numbers them 1, 2, ... in list order through the column rename
// writer, in two passes (every column negated first), as one unit. Columns
// not in the list (added meanwhile) follow the listed ones in their old order.
// Special columns are left alone. The dialog remembers where it was closed.
class frmColumnReorder : public QDialog
{
    Q_OBJECT
public:
    frmColumnReorder();

    // Shows the dialog for the table and returns once it closed: 0, or -1
    // (nothing shown) when the data source has no open database.
    static int Display(const QString &Datasource, const QString &Database, const QString &Table);

    // Moves `dialog` to the position this dialog was last closed at (settings
    // section "frmColumnReorder", "Left" and "Top" in twips), or centres it on
    // the screen for a key that is absent. The field reorder dialog opens there too.
    static void PlaceAtSavedPosition(QWidget *dialog);

    QLabel *lblPrompt = nullptr;
    QListWidget *lstColumn = nullptr;
    QToolButton *cmdUp = nullptr;
    QToolButton *cmdDown = nullptr;
    QToolButton *chkSortAlpha = nullptr; // checkable: by name (checked) or by number
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void chkSortAlpha_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override; // Esc and the window's close button: Cancel

private:
    void Form_Load();
    void Form_Unload();
    void unload();
    // Exchanges the selected item with the one `by` places away, which becomes the selection.
    void swapSelected(int by);
    QString tableWhere() const;

    dao::DatabasePtr m_db;
    QString m_database;
    QString m_table;
};
