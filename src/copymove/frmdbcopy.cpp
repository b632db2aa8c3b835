#include "frmdbcopy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/copyrows.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "tree/nodekey.h"
#include "ui.h"

using copyRows::Number;
using copyRows::Text;
using copyRows::Value;
using modDatabase::Quoted;

namespace {

[[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmDBCopy"), [](const QStringList &keys) {
    return frmDBCopy::Display(keys.value(0), keys.value(1));
});

const QString kTemplate = QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME='?'");

} // namespace

frmDBCopy::frmDBCopy() : CopyDialog(QStringLiteral("frmDBCopy"), QStringLiteral("Copy Database"))
{
    // Created in the tab order: the dialog opens with the focus on Cancel.
    AddButtons(1020, false);
    AddPrompt(0, QStringLiteral("Original Database:"), QRect(120, 180, 1335, 195));
    lblDB = AddValue(QStringLiteral("lblDB"), QRect(1500, 120, 2595, 315));
    AddPrompt(2, QStringLiteral("New Database:"), QRect(120, 540, 1335, 195));
    txtDB = AddNameBox(QStringLiteral("txtDB"), QRect(1500, 480, 2595, 315));
    AddFrame(QRect(0, 0, 4200, 900));
    SetClientSize(4215, 1410);
    connect(cmdOK, &QPushButton::clicked, this, &frmDBCopy::cmdOK_Click);
}

int frmDBCopy::Display(const QString &Datasource, const QString &DatabaseName)
{
    const bool shown = Show<frmDBCopy>(Datasource, [&](frmDBCopy &form) {
        form.m_source = DatabaseName;
        form.lblDB->setText(DatabaseName);
        form.FilterNameBox(form.txtDB, QStringLiteral("QN_DB"), QStringLiteral("DATABASE_NAME"));
        form.txtDB->setText(form.Proposal(kTemplate, DatabaseName));
        form.cmdCancel->setFocus();
    });
    return shown ? 0 : -1;
}

void frmDBCopy::cmdOK_Click()
{
    const QString routine = QStringLiteral("frmDBCopy.cmdOK_Click");
    NameTest test;
    test.lookupSQL = [](const QString &name) {
        return QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = ") + Quoted(name);
    };
    test.takenQuestion = [](const QString &name) {
        return QStringLiteral("A Database called '") + name +
               QStringLiteral("' already exists in this datasource.\r\nDo you want me to find a unique name for this "
                              "database?");
    };
    test.takenProposal = [&](const QString &) { return Proposal(kTemplate, m_source); };
    switch (TestName(txtDB, test, routine)) {
    case Verdict::Stay: return;
    case Verdict::Close: unload(); return;
    case Verdict::Copy: break;
    }
    const QString source = m_source;
    const QString target = txtDB->text();
    const QString ds = Datasource();
    RunCopy(routine, [&] { CopyRows(source, target); },
            NodeKey::Child(NodeKey::Datasource(ds), QStringLiteral("DB"), ds));
}

void frmDBCopy::CopyRows(const QString &Source, const QString &Target)
{
    using copyRows::RowDelete;
    using modUpdate::UnitInsert;
    using modUpdate::UnitOpen;
    const QString target = Quoted(Target);
    Status(QStringLiteral("Copying Database..."));
    const auto db = UnitOpen(QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = ") + Quoted(Source));
    UnitInsert(QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                              "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES (") +
                   target + QStringLiteral(", ") + Text(*db, "DEFAULT_DIRECTORY") + QStringLiteral(", ") +
                   Text(*db, "DRIVER_NAME") + QStringLiteral(", ") + Text(*db, "SETUP_PROCEDURE") +
                   QStringLiteral(", ") + Text(*db, "CONNECT_STRING") + QStringLiteral(", ") + Text(*db, "REMARKS") +
                   QStringLiteral(", ") + target + QLatin1Char(')'),
               RowDelete(QStringLiteral("QN_DB"), {QStringLiteral("DATABASE_NAME")}, {Target}));

    using Row = const dao::Recordset &;
    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_TABLE WHERE DATABASE_NAME = ") + Quoted(Source),
        [](Row rs) { return QStringLiteral("Copying Table '") + Value(rs, "TABLE_NAME") + QStringLiteral("' ..."); },
        [&](Row rs) {
            return QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                  "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES (") +
                   target + QStringLiteral(", ") + Text(rs, "TABLE_NAME") + QStringLiteral(", ") + Text(rs, "TABLE_TYPE") +
                   QStringLiteral(", ") + Text(rs, "FILE_NAME") + QStringLiteral(", ") + Text(rs, "FILE_SPECIFICATION") +
                   QStringLiteral(", ") + Number(rs, "NUMBER_COLUMNS") + QStringLiteral(", ") + Text(rs, "CRITERIA") +
                   QStringLiteral(", ") + Text(rs, "REMARKS") + QStringLiteral(", ") + Text(rs, "DISPLAY_NAME") +
                   QLatin1Char(')');
        },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_TABLE"), {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")},
                             {Target, Value(rs, "TABLE_NAME")});
        });

    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME = ") + Quoted(Source) + QLatin1Char(' '),
        [](Row rs) { return QStringLiteral("Copying Column '") + Value(rs, "COLUMN_NAME") + QStringLiteral("..."); },
        [&](Row rs) { return copyRows::ColumnInsert(Target, Value(rs, "TABLE_NAME"), rs); },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_COLUMN"),
                             {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME"), QStringLiteral("COLUMN_NAME")},
                             {Target, Value(rs, "TABLE_NAME"), Value(rs, "COLUMN_NAME")});
        });

    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_DBPRV WHERE DATABASE_NAME = ") + Quoted(Source),
        [](Row rs) {
            return QStringLiteral("Copying Database Privileges for User '") + Value(rs, "USER_NAME") +
                   QStringLiteral("...");
        },
        [&](Row rs) {
            return QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, ALLOW_SELECT, ALLOW_INSERT, "
                                  "ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL, REMARKS) VALUES ( ") +
                   Text(rs, "USER_NAME") + QStringLiteral(", ") + target + QStringLiteral(", ") +
                   Number(rs, "ALLOW_SELECT") + QStringLiteral(", ") + Number(rs, "ALLOW_INSERT") + QStringLiteral(", ") +
                   Number(rs, "ALLOW_UPDATE") + QStringLiteral(", ") + Number(rs, "ALLOW_DELETE") + QStringLiteral(", ") +
                   Text(rs, "SECURITY_LEVEL") + QStringLiteral(", ") + Text(rs, "REMARKS") + QStringLiteral(") ");
        },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_DBPRV"), {QStringLiteral("USER_NAME"), QStringLiteral("DATABASE_NAME")},
                             {Value(rs, "USER_NAME"), Target});
        });

    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_TBLPRV WHERE DATABASE_NAME = ") + Quoted(Source),
        [](Row rs) {
            return QStringLiteral("Copying Table Privileges for User '") + Value(rs, "USER_NAME") + QStringLiteral("...");
        },
        [&](Row rs) { return copyRows::TablePrivilegeInsert(Target, Value(rs, "TABLE_NAME"), rs); },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_TBLPRV"),
                             {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME"), QStringLiteral("USER_NAME")},
                             {Target, Value(rs, "TABLE_NAME"), Value(rs, "USER_NAME")});
        });
}
