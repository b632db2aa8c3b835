#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "dao.h"

class ErrorHandler;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The modal "File to Table Wizard": on four pages (a welcome, a data source
// and one of its file definitions, one of its databases, the new table's
// properties) it collects what Finish turns into a new table with one column
// per field of the file. Next and Previous move without checks; Finish works
// on every page and checks them all. The wizard remembers where it was closed
// (settings section "frmWizard").
class frmWizardFileToTable : public QDialog
{
    Q_OBJECT
public:
    frmWizardFileToTable();

    // Opens the wizard on page 1 with the data source (the list's first one
    // when empty), the file and the database chosen where given, and returns
    // once it closed; always false.
    static bool Display(const QString &FileDatasource, const QString &File, const QString &Database);
    // Chooses as Display does and runs Finish without showing the wizard.
    static void Unattended(const QString &FileDatasource, const QString &File, const QString &DBDatasource,
                           const QString &Database);

    // The page shown, 0 to 3; a page out of range shows the nearest one.
    int CurrentPage() const { return m_page; }
    void SetCurrentPage(int NewPage);

    // Each empties its list and fills it: the data sources of the engine's
    // driver; the files and the databases of the data source named in the
    // Datasource box (the catalog's own ones only with Options\SysTables).
    void FetchDatasourceList(QComboBox *Control);
    void FetchFileList(QListWidget *Control);
    void FetchDBList(QListWidget *Control);
    // The checks of one page, each with its message; true when the page is complete.
    bool ValidatePage(int PageNumber);

    QWidget *picPage[4] = {};
    QLabel *picLogo = nullptr;
    QComboBox *cboFileDatasource = nullptr;
    QListWidget *lstFile = nullptr;
    QListWidget *lstDB = nullptr;
    QLineEdit *txtProperty[5] = {}; // 0 TABLE_NAME, 1 DISPLAY_NAME, 2 FILE_SPECIFICATION, 4 REMARKS
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdPrevious = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdFinish = nullptr;

public slots:
    void cboFileDatasource_Change();
    void cboFileDatasource_Click();
    void lstFile_Click();
    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdCancel_Click();
    void cmdFinish_Click();

protected:
    void reject() override; // Esc and the close box: Cancel

private:
    void Form_Load();
    void Form_Unload();
    void unload();
    // Display's and Unattended's steps: the loaded form, its lists filled and
    // the given names chosen, then `run`; the form is unloaded afterwards.
    static void load(const char *procedure, const QString &FileDatasource, const QString &File,
                     const QString &Database, const std::function<void(ErrorHandler &, frmWizardFileToTable &)> &run);
    // The open database of the data source named in the Datasource box; none when it has none.
    dao::DatabasePtr datasourceDb();
    // Fills `Control` from that database with `own` (Options\SysTables 0: the
    // catalog's own rows left out) or `all`; `procedure` names it in the trace.
    void fillList(QListWidget *Control, const char *procedure, const QString &own, const QString &all);
    QLineEdit *box(int element) const { return txtProperty[element]; }

    int m_page = 0;
    dao::DatabasePtr m_db; // the form's open database
};
