#pragma once

#include <QDialog>
#include <QString>

#include "dao.h"

class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The modal "Table Criteria Builder": composes a table's CRITERIA text from
// its column references, comparison operators and typed values. The form
// stays loaded, hidden, between calls; each call refills the column list and
// resets both boxes.
class frmCriteriaBuilder : public QDialog
{
    Q_OBJECT
public:
    frmCriteriaBuilder();

    // The criteria text on OK; `Default` on Cancel, a closed window, no open
    // database, a table without columns, or a failure answered Ignore.
    static QString GetCriteria(const QString &Datasource, const QString &Database, const QString &Table,
                               const QString &Default);

    static constexpr int MaxLength = 254;

    QPlainTextEdit *txtCriteria = nullptr;
    QPushButton *cmdComp[14] = {};
    QListWidget *lstColumns = nullptr;
    QLineEdit *txtColVal = nullptr;
    QToolButton *cmdInsert = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdOK = nullptr;

public slots:
    void cmdComp_Click(int Index);
    void lstColumns_DblClick();
    void cmdInsert_Click();
    void cmdClear_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void append(const QString &piece);
    void txtCriteria_Change();

    dao::DatabasePtr m_db;
    QString m_database;
    QString m_table;
    int m_result = 2; // 2 cancelled, 0 accepted
};
