#include "frmtable.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "dialogs/frmcriteriabuilder.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "settings.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmTable>(QStringLiteral("frmTable"));

namespace {
const QString kDatabase = QStringLiteral("DATABASE_NAME");
const QString kName = QStringLiteral("TABLE_NAME");
const QString kType = QStringLiteral("TABLE_TYPE");
const QString kFile = QStringLiteral("FILE_NAME");
const QString kSpecification = QStringLiteral("FILE_SPECIFICATION");
const QString kColumns = QStringLiteral("NUMBER_COLUMNS");
const QString kCriteria = QStringLiteral("CRITERIA");
const QString kRemarks = QStringLiteral("REMARKS");
const QString kDisplay = QStringLiteral("DISPLAY_NAME");
} // namespace

frmTable::frmTable()
    : EditorFrame({QStringLiteral("frmTable"),
                   QStringLiteral("QN_TABLE"),
                   {kDatabase, kName},
                   {},
                   QStringLiteral("ta"),
                   QStringLiteral("frmTables"),
                   {kFile},
                   QStringLiteral("Are you sure you want to delete this Table?"),
                   true,  // missingRowShowsEmpty
                   false, // busyCursor
                   true,  // emptyBeforeRead
                   false, // renameOnlyNewName
                   {{QStringLiteral("QN_DB"), {kDatabase}}}})
{
    setWindowTitle(QStringLiteral("Table"));
    resize(Twips(0, 0, 7005, 5655).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };

    // Created in the column order of the INSERT; the tab order is set below.
    txtDisplay = AddText(8, kDisplay, row(1500, 2775), QStringLiteral("How the table name appears to other applications."));
    txtRemarks = AddMemo(7, kRemarks, row(4020, 4815, 675), QStringLiteral("Any notes you wish to make about this Table"));
    txtCriteria = AddMemo(6, kCriteria, row(3300, 4335, 675),
                          QStringLiteral("SQL Filter aplied to table to limit the results returned"));
    txtName = AddText(1, kName, row(1140, 2775), QStringLiteral("Table name must be unique within a database."));
    txtColumns = AddText(5, kColumns, row(2940, 855), QStringLiteral("The number of columns in this Table"));
    txtSpecification = AddText(4, kSpecification, row(2580, 4815),
                               QStringLiteral("The file which the File Definition maps to on the server."));
    txtFile = AddTwin(3, kFile, Twips(1500, 4800, 1335, 315));
    txtType = AddTwin(2, kType, Twips(60, 4800, 1335, 315));
    txtDatabase = AddText(0, kDatabase, row(780, 1575), QStringLiteral("The name of the Database containing the Table"));

    cboType = AddCombo(0, kType, row(1860, 1635), QStringLiteral("Specifies the type of SQL table."));
    cboType->addItem(QStringLiteral("TABLE"));
    cboType->setCurrentIndex(-1);
    cboFile = AddCombo(1, kFile, row(2220, 2775), QStringLiteral("The name of the File definition to map to"));

    NumbersOnly(txtColumns);
    AddUpDown(0, txtColumns, MinColumns, MaxColumns, Twips(field + 855, 2940, 240, 330));
    cmdCalcColumns = new QToolButton(this);
    cmdCalcColumns->setObjectName(QStringLiteral("cmdCalcColumns"));
    cmdCalcColumns->setText(QStringLiteral("#"));
    cmdCalcColumns->setToolTip(QStringLiteral("Automatically count the number of columns in this table."));
    cmdCalcColumns->setGeometry(Twips(field + 1155, 2940, 360, 330));
    connect(cmdCalcColumns, &QToolButton::clicked, this, &frmTable::cmdCalcColumns_Click);
    auto *range = new QLabel(QStringLiteral("(0 to 32767)"), this);
    range->setObjectName(QStringLiteral("lblMinMax_0"));
    range->setAttribute(Qt::WA_TranslucentBackground);
    range->setGeometry(Twips(field + 1635, 2970, 1335, 255));
    cmdCriteria = new QToolButton(this);
    cmdCriteria->setObjectName(QStringLiteral("cmdCriteria"));
    cmdCriteria->setText(QStringLiteral("..."));
    cmdCriteria->setGeometry(Twips(field + 4395, 3300, 420, 330));
    connect(cmdCriteria, &QToolButton::clicked, this, &frmTable::cmdCriteria_Click);

    AddPrompt(0, QStringLiteral("Database Name:"), at(780), txtDatabase);
    AddPrompt(1, QStringLiteral("Table &Name:"), at(1140), txtName);
    AddPrompt(2, QStringLiteral("&Display Name:"), at(1500), txtDisplay);
    AddPrompt(3, QStringLiteral("&Table Type:"), at(1860), cboType);
    AddPrompt(4, QStringLiteral("F&ile Name:"), at(2220), cboFile);
    AddPrompt(5, QStringLiteral("File &Specification:"), at(2580), txtSpecification);
    AddPrompt(6, QStringLiteral("Number of &Columns:"), at(2940), txtColumns);
    AddPrompt(7, QStringLiteral("C&riteria:"), at(3300), txtCriteria);
    AddPrompt(8, QStringLiteral("Re&marks:"), at(4020), txtRemarks);
    PlaceButtons(4380, 4800);

    const QList<QWidget *> order = {txtName, txtDisplay,  cboType,     cboFile,  txtSpecification, txtColumns,
                                    cmdCalcColumns, cmdCriteria, txtRemarks, cmdAction, cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmTable::where(const QString &separator) const
{
    return kDatabase + QStringLiteral(" = ") + Quote(Parent(0)) + separator + kName + QStringLiteral(" = ") +
           Quote(m_shownKey);
}

QString frmTable::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - Table Properties");
    case Entry::Add: return QStringLiteral("Add New Table to ") + Parent(0);
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit Table Properties");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete Table");
    }
    return {};
}

QString frmTable::SelectSQL() const { return QStringLiteral("SELECT * FROM QN_TABLE WHERE ") + where() + QLatin1Char(' '); }

bool frmTable::IsSystemObject() const { return Parent(0) == QLatin1String("QN"); }

QString frmTable::CalcParentKey() const
{
    return NodeKey::Child(NodeKey::Database(DataSource(), Parent(0)), QStringLiteral("TA"), Parent(0));
}

void frmTable::PopulateCombos()
{
    TraceScope trace(TraceName("PopulateCombos"));
    // The catalog's own files are listed unless SysTables is 0 (an absent key lists them).
    PopulateCombo(kFile, options::SysTables(1) != 0
                             ? QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME <> '' ORDER BY FILE_NAME ASC")
                             : QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME <> '' AND FILE_NAME NOT IN "
                                              "('CNTRL','COLUMN','DB','DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT',"
                                              "'SQLDT','TABLE','TBLPRV','USER') ORDER BY FILE_NAME ASC"));
}

void frmTable::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    cmdCalcColumns->setEnabled(State);
    cmdCriteria->setEnabled(State);
    txtDatabase->setEnabled(false);
    txtCriteria->setEnabled(false);
}

void frmTable::PrepareNew() { SetText(kDatabase, Parent(0)); }

bool frmTable::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString name = Text(kName);
    if (name.isEmpty())
        return Refuse(QStringLiteral("Please give this Table a name."), txtName);
    if (name != m_shownKey &&
        RowExists(QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = ") + Quote(Parent(0)) +
                  QStringLiteral(" AND TABLE_NAME = ") + Quote(name)))
        return Refuse(QStringLiteral("The Table Name '") + name + QStringLiteral("' is already used in the Database."),
                      txtName);
    const QString display = Text(kDisplay);
    if (!display.isEmpty() && display.toUpper() != name.toUpper())
        return Refuse(QStringLiteral("The Display Name MUST match the Table Name (exclusive of case) or be Null."),
                      txtDisplay);
    if (Text(kType).isEmpty())
        return Refuse(QStringLiteral("Please select a Table Type from the dropdown list"), cboType);
    if (Text(kSpecification).isEmpty())
        return Refuse(QStringLiteral("Please enter a file specification for this Table."), txtSpecification);
    if (Text(kFile).isEmpty())
        return Refuse(QStringLiteral("Please select a file name from the drop down list."), cboFile);
    // Only a whole number in range passes; anything else (a paste included) gets the range message.
    const std::optional<long> columns = WholeNumber(Text(kColumns));
    if (!columns || *columns < MinColumns || *columns > MaxColumns)
        return Refuse(modString::OutOfRange(QStringLiteral("Number of Columns"), MinColumns, MaxColumns), txtColumns);
    return true;
}

QString frmTable::UpdateSQL() const
{
    return UpdateStatement({kDisplay, kType, kFile, kSpecification, kColumns, kCriteria, kRemarks}, where());
}

bool frmTable::Rename(const QString &oldName, const QString &newName)
{
    const QString database = Text(kDatabase);
    return modUpdate::UpdateTable(DataSource(), database, database, oldName, newName);
}

QList<EditorFrame::Statement> frmTable::DeleteStatements() const
{
    return {
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_TABLE"), where(QStringLiteral("  AND ")))},
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_COLUMN"), where())},
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_TBLPRV"), where())},
    };
}

void frmTable::RefreshFolder() { modGUI::RefreshNodePath(CalcParentKey()); }

// Undo refills the boxes itself: an add keeps its database, an edit reads the row again.
void frmTable::Undo()
{
    const QString mode = EditorMode();
    if (mode == QLatin1String("Table Add")) {
        for (const auto &entry : mTextCtrls.NewEnum())
            if (entry->Key.compare(kDatabase, Qt::CaseInsensitive) != 0)
                SetText(entry->Key, QString());
    } else if (mode == QLatin1String("Table Edit")) {
        const auto rs = db().OpenRecordset(QStringLiteral("SELECT * FROM QN_TABLE WHERE ") + where(),
                                           dao::dbOpenSnapshot);
        modBoundControls::PopulateFields(this, txtDatabase, *rs);
    }
}

bool frmTable::OtherButton(const QString &key)
{
    if (key != QLatin1String("ViewData"))
        return false;
    PaneHost::Get().PaneDisplay(QStringLiteral("frmTableData"), RowKeys());
    return true;
}

void frmTable::cmdCalcColumns_Click()
{
    const QString routine = TraceName("cmdCalcColumns_Click");
    TraceScope trace(routine);
    const QString sql = QStringLiteral("SELECT COUNT(*) AS COLUMN_COUNT FROM QN_COLUMN WHERE ") + where();
    ErrorHandler handler(routine, sql);
    handler.step([&] {
        const auto rs = db().OpenRecordset(sql, dao::dbOpenSnapshot);
        SetText(kColumns, rs->Eof() ? QStringLiteral("0") : rs->Value(QStringLiteral("COLUMN_COUNT")).toString());
    });
}

void frmTable::cmdCriteria_Click()
{
    const QString routine = TraceName("cmdCriteria_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    handler.step([&] {
        SetText(kCriteria, frmCriteriaBuilder::GetCriteria(DataSource(), Parent(0), Text(kName), Text(kCriteria)));
    });
}
