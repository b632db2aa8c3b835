#pragma once

// The modal question of the table data viewer: which columns of a table to
// return and up to five conditions, turned into one SELECT statement over the
// table under the name by which the data source knows it.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// A data source's "DefaultDatabase" entry; empty when it names none.
QString DefaultDatabase(const QString &dataSource);

// A name between brackets, each "]" in it doubled.
QString BracketedName(const QString &name);

class frmTableCriteria : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Rows = 5; // condition rows

    frmTableCriteria();

    // Asks for the statement over `Table` of `Database` in the data source:
    // the SELECT statement, or "" when the user cancels or the data source has
    // no open database. The column query's failure passes to the caller.
    static QString GetCriteria(const QString &Datasource, const QString &Database, const QString &Table);
    // `Value` as an SQL literal for a column of SQL type `Datatype` (compared
    // whole, without regard to case): CHAR and VARCHAR quoted; DATE, TIME and
    // TIMESTAMP between # signs when the value holds only digits, blanks and
    // / - : . (otherwise quoted); any other type as it stands when the value
    // is a plain number (otherwise quoted). Quoted means between apostrophes,
    // each apostrophe in the value doubled.
    static QString WrapCriteria(const QString &Datatype, const QString &Value);

    QLabel *lblPrompt_0 = nullptr, *lblPrompt_1 = nullptr;
    QListWidget *lstColumns = nullptr;
    QPushButton *cmdSelectAll = nullptr, *cmdSelectNone = nullptr;
    QLabel *lblTable = nullptr;
    QComboBox *cboAndOr[Rows] = {};
    QComboBox *cboColumn[Rows] = {};
    QComboBox *cboCriteria[Rows] = {};
    QLineEdit *txtCriteria[Rows] = {};
    QLabel *lblWarning = nullptr;
    QPushButton *cmdClear = nullptr, *cmdOK = nullptr, *cmdCancel = nullptr;

public slots:
    void lstColumns_Click();
    void cmdSelectAll_Click();
    void cmdSelectNone_Click();
    void cmdClear_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cboAndOr_Click(int Index);

private:
    void Form_Load();
    // Lists the columns (name and SQL type, in query order) and names the table.
    void fill(const QString &tableName, const QStringList &names, const QStringList &types);
    QString BuildSQL() const;
    // The text of a condition row: "[col] op value ".
    QString condition(int row) const;

    QString m_tableName;
    QStringList m_types; // SQL type of each listed column, in list order
    bool m_answerOK = false;
};
