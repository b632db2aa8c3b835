#include "frmdatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmDatabase>(QStringLiteral("frmDatabase"));

namespace {
const QString kName = QStringLiteral("DATABASE_NAME");
const QString kDriver = QStringLiteral("DRIVER_NAME");
} // namespace

frmDatabase::frmDatabase()
    : EditorFrame({QStringLiteral("frmDatabase"),
                   QStringLiteral("QN_DB"),
                   {kName},
                   {},
                   QStringLiteral("db"),
                   QStringLiteral("frmDatabases"),
                   {kDriver},
                   QStringLiteral("Are you sure you want to delete this database?")})
{
    resize(Twips(0, 0, 7005, 6075).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };

    // Created in the column order of the INSERT; the tab order is set below.
    txtName = AddText(0, kName, row(780, 1575),
                      QStringLiteral("Within each Quarnel Catalog Databases have unique names.  A Database name can "
                                     "be up to 10 characters in length."));
    txtDirectory = AddText(1, QStringLiteral("DEFAULT_DIRECTORY"), row(1500, 4815),
                           QStringLiteral("The directory path can be logical or full. If using a logical path, ensure "
                                          "it is terminated with a colon(:)."));
    txtDriver = AddTwin(2, kDriver, Twips(60, 4500, 1575, 315));
    txtSetup = AddText(3, QStringLiteral("SETUP_PROCEDURE"), row(2220, 2775));
    txtConnect = AddMemo(4, QStringLiteral("CONNECT_STRING"), row(2640, 4815, 675),
                         QStringLiteral("The connection string passed to the driver when a table of this Database is "
                                        "opened.  It does not apply to the RMS driver."));
    txtRemarks = AddMemo(5, QStringLiteral("REMARKS"), row(3360, 4815, 675),
                         QStringLiteral("Any notes you wish to make about this Database."));
    txtDisplay = AddText(6, QStringLiteral("DISPLAY_NAME"), row(1140, 1635),
                         QStringLiteral("The Name of this database as it appears to other applications"));
    cboDriver = AddCombo(0, kDriver, row(1860, 2775),
                         QStringLiteral("The driver used for file access by the Quarnel SQL engine."));

    AddPrompt(0, QStringLiteral("&Database Name:"), at(780), txtName, true);
    AddPrompt(1, QStringLiteral("D&isplay Name:"), at(1140), txtDisplay);
    AddPrompt(2, QStringLiteral("Default Di&rectory:"), at(1500), txtDirectory);
    AddPrompt(3, QStringLiteral("Driver &Name:"), at(1860), cboDriver);
    QLabel *setup = AddPrompt(4, QStringLiteral("&Setup Procedure:"), at(2220), txtSetup);
    AddPrompt(5, QStringLiteral("&Connect String:"), at(2640), txtConnect);
    AddPrompt(6, QStringLiteral("Re&marks:"), at(3360), txtRemarks);
    setup->hide();
    txtSetup->hide();
    PlaceButtons(4380, 4140);

    setTabOrder(txtName, txtDisplay);
    setTabOrder(txtDisplay, txtDirectory);
    setTabOrder(txtDirectory, cboDriver);
    setTabOrder(cboDriver, txtConnect);
    setTabOrder(txtConnect, txtRemarks);
    setTabOrder(txtRemarks, cmdAction);
    setTabOrder(cmdAction, cmdCancel);
}

QString frmDatabase::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - Database Properties");
    case Entry::Add: return QStringLiteral("Add New Database to ") + DataSource();
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit Database Properties");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete Database");
    }
    return {};
}

QString frmDatabase::SelectSQL() const
{
    return QStringLiteral("SELECT * FROM QN_DB WHERE DATABASE_NAME = ") + Quote(m_shownKey);
}

bool frmDatabase::IsSystemObject() const { return m_shownKey == QLatin1String("QN"); }

QString frmDatabase::CalcParentKey() const
{
    const QString n = DataSource();
    return NodeKey::Child(NodeKey::Datasource(n), QStringLiteral("DB"), n);
}

void frmDatabase::PopulateCombos()
{
    TraceScope trace(TraceName("PopulateCombos"));
    PopulateCombo(kDriver, QStringLiteral("SELECT DRIVER_NAME FROM QN_DRIVER WHERE DRIVER_NAME <> '' AND DRIVER_NAME "
                                          "<> 'SYSTEM' ORDER BY DRIVER_NAME ASC"));
}

bool frmDatabase::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString name = Text(kName);
    if (modString::TrimBlanks(name).isEmpty())
        return Refuse(QStringLiteral("Please give this Database a name."), txtName);
    if (name != m_shownKey &&
        RowExists(QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME = ") + Quote(name)))
        return Refuse(QStringLiteral("This Datasource already contains a Database called '") + name +
                          QLatin1Char('\''),
                      txtName);
    const QString display = Text(QStringLiteral("DISPLAY_NAME"));
    if (!display.isEmpty() && display.toUpper() != name.toUpper())
        return Refuse(QStringLiteral("The Display Name (if used) MUST match the Database Name (exclusive of case)."),
                      txtName);
    if (Text(kDriver).isEmpty())
        return Refuse(QStringLiteral("Please select a Driver from the drop down list."), cboDriver);
    return true;
}

QString frmDatabase::UpdateSQL() const
{
    return UpdateStatement({QStringLiteral("DISPLAY_NAME"), QStringLiteral("DEFAULT_DIRECTORY"), kDriver,
                            QStringLiteral("SETUP_PROCEDURE"), QStringLiteral("CONNECT_STRING"),
                            QStringLiteral("REMARKS")},
                           kName + QStringLiteral(" = ") + Quote(m_shownKey));
}

bool frmDatabase::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateDatabase(DataSource(), oldName, newName);
}

QList<EditorFrame::Statement> frmDatabase::DeleteStatements() const
{
    const QString name = modDatabase::EscapeQuotes(m_shownKey);
    auto where = [&](const char *equals) { return kName + QLatin1String(equals) + name + QLatin1Char('\''); };
    return {
        {QStringLiteral("Deleting Database"), modDatabase::BuildDeleteSQL(QStringLiteral("QN_DB"), where(" = '"))},
        {QStringLiteral("Deleting Tables"), modDatabase::BuildDeleteSQL(QStringLiteral("QN_TABLE"), where(" ='"))},
        {QStringLiteral("Deleting Columns"), modDatabase::BuildDeleteSQL(QStringLiteral("QN_COLUMN"), where(" ='"))},
        {QStringLiteral("Deleting Database Privileges"),
         modDatabase::BuildDeleteSQL(QStringLiteral("QN_DBPRV"), where(" = '"))},
        {QStringLiteral("Deleting Table Privileges"),
         modDatabase::BuildDeleteSQL(QStringLiteral("QN_TBLPRV"), where(" = '"))},
    };
}
