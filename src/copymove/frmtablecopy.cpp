#include "frmtablecopy.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/copyrows.h"
#include "core/boundcontrols.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "panehost/panelook.h"
#include "tree/nodekey.h"
#include "ui.h"

using copyRows::Number;
using copyRows::Text;
using copyRows::Value;
using modDatabase::Quoted;

namespace {

[[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmTableCopy"), [](const QStringList &keys) {
    return frmTableCopy::Display(keys.value(0), keys.value(1), keys.value(2));
});

} // namespace

frmTableCopy::frmTableCopy() : CopyDialog(QStringLiteral("frmTableCopy"), QStringLiteral("Copy Table"))
{
    AddPrompt(0, QStringLiteral("Original Database:"), QRect(120, 180, 1335, 195));
    lblDB = AddValue(QStringLiteral("lblDB"), QRect(1500, 120, 2595, 315));
    AddPrompt(1, QStringLiteral("Original Table:"), QRect(120, 540, 1335, 195));
    lblTable = AddValue(QStringLiteral("lblTable"), QRect(1500, 480, 2595, 315));
    AddPrompt(2, QStringLiteral("New Database:"), QRect(120, 900, 1335, 195));
    cboDB = new QComboBox(this);
    cboDB->setObjectName(QStringLiteral("cboDB"));
    cboDB->setEditable(false);
    cboDB->setGeometry(panelook::Twips(1500, 840, 2595, 315));
    AddPrompt(3, QStringLiteral("New Table:"), QRect(120, 1260, 1335, 195));
    txtTable = AddNameBox(QStringLiteral("txtTable"), QRect(1500, 1200, 2595, 315));
    AddFrame(QRect(0, 0, 4200, 1620));
    AddButtons(1740, false);
    SetClientSize(4215, 2130);
    setTabOrder(cboDB, txtTable);
    setTabOrder(txtTable, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmTableCopy::cmdOK_Click);
}

QString frmTableCopy::nameTemplate(const QString &database)
{
    return QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = ") + Quoted(database) +
           QStringLiteral(" AND TABLE_NAME = '?'");
}

int frmTableCopy::Display(const QString &Datasource, const QString &DatabaseName, const QString &TableName)
{
    const bool shown = Show<frmTableCopy>(Datasource, [&](frmTableCopy &form) {
        form.m_database = DatabaseName;
        form.m_table = TableName;
        form.lblDB->setText(DatabaseName);
        form.lblTable->setText(TableName);
        modBoundControls::PopulateList(
            form.cboDB, *form.Db(),
            QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME <> 'QN' ORDER BY DATABASE_NAME ASC"));
        // The catalog's own database is no target: the list then has nothing chosen.
        form.cboDB->setCurrentIndex(form.cboDB->findText(DatabaseName, Qt::MatchExactly | Qt::MatchCaseSensitive));
        form.FilterNameBox(form.txtTable, QStringLiteral("QN_TABLE"), QStringLiteral("TABLE_NAME"));
        form.txtTable->setText(form.Proposal(nameTemplate(DatabaseName), TableName));
        form.cboDB->setFocus();
    });
    return shown ? 0 : -1;
}

void frmTableCopy::cmdOK_Click()
{
    const QString routine = QStringLiteral("frmTableCopy.cmdOK_Click");
    if (cboDB->currentIndex() < 0) {
        Refuse(QStringLiteral("Please select a Database for the new Table."), cboDB);
        return;
    }
    const QString target = cboDB->currentText();
    NameTest test;
    test.lookupSQL = [&](const QString &name) {
        return QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE ") + modDatabase::TableWhere(target, name);
    };
    test.takenQuestion = [&](const QString &name) {
        return QStringLiteral("Database '") + target + QStringLiteral("' already contains a Table called '") + name +
               QStringLiteral("'\r\nDo you want me to find a unique name for the new table?");
    };
    test.takenProposal = [&](const QString &) { return Proposal(nameTemplate(target), m_table); };
    switch (TestName(txtTable, test, routine)) {
    case Verdict::Stay: return;
    case Verdict::Close: unload(); return;
    case Verdict::Copy: break;
    }
    const QString database = m_database;
    const QString table = m_table;
    const QString name = txtTable->text();
    const QString ds = Datasource();
    RunCopy(routine, [&] { CopyRows(database, table, target, name); },
            NodeKey::Child(NodeKey::Database(ds, target), QStringLiteral("TA"), target));
}

void frmTableCopy::CopyRows(const QString &SourceDatabase, const QString &SourceTable, const QString &Database,
                            const QString &Table)
{
    using copyRows::RowDelete;
    using modUpdate::UnitInsert;
    using modUpdate::UnitOpen;
    const QStringList tableKey = {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")};
    // Nothing goes into a database deleted since it was chosen.
    modUpdate::UnitRequireRow(
        modDatabase::RowSQL(QStringLiteral("QN_DB"), {QStringLiteral("DATABASE_NAME")}, {Database}));
    Status(QStringLiteral("Copying Table..."));
    const auto rs = UnitOpen(QStringLiteral("SELECT * FROM QN_TABLE WHERE ") +
                             modDatabase::TableWhere(SourceDatabase, SourceTable));
    UnitInsert(QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                              "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES (") +
                   Quoted(Database) + QStringLiteral(", ") + Quoted(Table) + QStringLiteral(", ") +
                   Text(*rs, "TABLE_TYPE") + QStringLiteral(", ") + Text(*rs, "FILE_NAME") + QStringLiteral(", ") +
                   Text(*rs, "FILE_SPECIFICATION") + QStringLiteral(", ") + Number(*rs, "NUMBER_COLUMNS", true) +
                   QStringLiteral(", ") + Text(*rs, "CRITERIA") + QStringLiteral(", ") + Text(*rs, "REMARKS") +
                   QStringLiteral(", ") + Quoted(Table) + QLatin1Char(')'),
               RowDelete(QStringLiteral("QN_TABLE"), tableKey, {Database, Table}));

    using Row = const dao::Recordset &;
    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + modDatabase::TableWhere(SourceDatabase, SourceTable),
        [](Row rs) { return QStringLiteral("Copying Column '") + Value(rs, "COLUMN_NAME") + QStringLiteral("..."); },
        [&](Row rs) { return copyRows::ColumnInsert(Database, Table, rs); },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_COLUMN"), tableKey + QStringList{QStringLiteral("COLUMN_NAME")},
                             {Database, Table, Value(rs, "COLUMN_NAME")});
        });
    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_TBLPRV WHERE DATABASE_NAME = ") + Quoted(SourceDatabase) +
            QStringLiteral(" AND TABLE_NAME=") + Quoted(SourceTable),
        [](Row rs) {
            return QStringLiteral("Copying Table Privileges for User '") + Value(rs, "USER_NAME") + QStringLiteral("...");
        },
        [&](Row rs) { return copyRows::TablePrivilegeInsert(Database, Table, rs); },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_TBLPRV"), tableKey + QStringList{QStringLiteral("USER_NAME")},
                             {Database, Table, Value(rs, "USER_NAME")});
        });
}
