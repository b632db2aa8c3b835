#include "frmcolumn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmColumn>(QStringLiteral("frmColumn"));

namespace {
const QString kDatabase = QStringLiteral("DATABASE_NAME");
const QString kTable = QStringLiteral("TABLE_NAME");
const QString kNumber = QStringLiteral("COLUMN_NUMBER");
const QString kName = QStringLiteral("COLUMN_NAME");
const QString kField = QStringLiteral("FIELD_NAME");
const QString kType = QStringLiteral("SQL_TYPE_NAME");
const QString kLength = QStringLiteral("LENGTH");
const QString kPrecision = QStringLiteral("PRECISION");
const QString kScale = QStringLiteral("SCALE");
const QString kSearchable = QStringLiteral("SEARCHABLE");
const QString kDisplay = QStringLiteral("DISPLAY_NAME");
const QString kColumnType = QStringLiteral("COLUMN_TYPE");
const QString kCharTypes = QStringLiteral("CHAR");
// The number checks count ordinary columns only: the special columns all share number 1.
const QString kOrdinaryOnly = QStringLiteral(" AND COLUMN_TYPE = 0");

// The keywords of the special columns, which no ordinary column may take.
const QString kReserved =
    QStringLiteral("'RFA'INDEX_NUMBER'INDEX_NAME'INDEX_COLUMNS'TABLE_ORDER'ROWID'RELATIVE_NUMBER'RELATIVE_INDEX'");

// The nine flags: the check box index, its column, its prompt, its twin's index and its tooltip.
struct Flag
{
    int index;
    const char *column;
    const char *prompt;
    int twin;
    const char *tip;
};
const Flag kFlags[9] = {
    {1, "NULLABLE", "&1. Nullable", 15, "The column can be Null."},
    {2, "UNSIGNED_ATTRIBUTE", "&2. Unsigned Attribute:", 16, "Signed or Unsigned."},
    {3, "UPDATABLE", "&3. Updatable:", 17, "Is the Column data read only?"},
    {4, "VISIBLE", "&4. Visible:", 18, "Is the Column visible to other applications?"},
    {5, "MONEY", "&5. Money:", 19, "Is this a monetary value"},
    {6, "AUTO_INCREMENT", "&6. Auto Increment:", 20, "Does this column supply its own incremental value?"},
    {7, "CASE_SENSITIVE", "&7. Case Sensitive:", 21, "Does this Column differentiate between upper and lower case?"},
    {8, "RADIX", "&8. Radix:", 22, nullptr},
    {0, "SETFILEPARAMETER", "&9. Set File Parameter:", 12, nullptr},
};

// A number held in a box that passed its check, as the rename writer takes it.
qint32 longOf(const QString &text)
{
    const std::optional<long> value = EditorFrame::WholeNumber(text);
    if (!value)
        qnerr::raise(qnerr::TypeMismatch, qnerr::standardDescription(qnerr::TypeMismatch));
    return qint32(*value);
}

QString rangeMessage(const QString &what, const UpDown *range)
{
    return modString::OutOfRange(what, range->Min, range->Max);
}

} // namespace

frmColumn::frmColumn()
    : EditorFrame({QStringLiteral("frmColumn"),
                   QStringLiteral("QN_COLUMN"),
                   {kDatabase, kTable, kName},
                   {kDatabase, kTable, kColumnType, kNumber, kName, kField},
                   QStringLiteral("co"),
                   QStringLiteral("frmColumns"),
                   {},
                   QStringLiteral("Are you sure you want to delete this column?"),
                   false, // missingRowShowsEmpty
                   false, // busyCursor
                   false, // emptyBeforeRead
                   false, // renameOnlyNewName
                   {{QStringLiteral("QN_TABLE"), {kDatabase, kTable}}}})
{
    setWindowTitle(QStringLiteral("Column"));
    lblTitle.setText(QStringLiteral("Column"));
    resize(Twips(0, 0, 8295, 7095).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    constexpr int flagPrompt = 5700, flagBox = 7740;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };
    // The hidden twins, apart from the visible fields below the buttons (shown in debug mode only).
    auto twinAt = [](int n) { return Twips(60 + (n % 7) * 1170, 6360 + (n / 7) * 360, 1155, 315); };

    // The boxes in catalog column order (the INSERT's); the tab order is set below.
    txtDatabase = AddText(0, kDatabase, row(780, 1575), QStringLiteral("Database this column is bound to"));
    txtTable = AddText(1, kTable, row(1140, 2775), QStringLiteral("Table this column is bound to"));
    txtNumber = AddText(4, kNumber, row(2580, 855), QStringLiteral("Location in the table of this column."));
    txtName = AddText(2, kName, row(1860, 2775),
                      QStringLiteral("Each Column must have a unique name within a Table."));
    txtField = AddTwin(10, kField, twinAt(0));
    txtType = AddTwin(99, kType, twinAt(1));
    txtLength = AddText(5, kLength, row(3300, 855),
                        QStringLiteral("'Size of the Column in bytes and fixed for certain Data Types"));
    txtPrecision = AddText(6, kPrecision, row(3660, 855),
                           QStringLiteral("Refers to the maximum number of digits used by the datatype.  The precision "
                                          "of a non-numeric field refers to the maximum length of the column."));
    txtScale = AddText(7, kScale, row(4020, 855),
                       QStringLiteral("Refers to the maximum number of digits to the right of the decimal point "
                                      "(numeric fields only)."));
    QList<QLineEdit *> flagTwins;
    for (const Flag &f : kFlags) {
        if (QLatin1String(f.column) == QLatin1String("SETFILEPARAMETER"))
            continue;
        if (QLatin1String(f.column) == QLatin1String("RADIX"))
            txtSearchable = AddTwin(14, kSearchable, twinAt(2));
        flagTwins << AddTwin(f.twin, QString::fromLatin1(f.column), twinAt(3 + int(flagTwins.size())));
    }
    txtDefault = AddText(8, QStringLiteral("DEFAULT_VALUE"), row(4380, 2775), QStringLiteral("Initial value of column."));
    txtRemarks = AddMemo(9, QStringLiteral("REMARKS"), Twips(field, 5100, 5895, 675),
                         QStringLiteral("Any notes you wish to make about this Column"));
    AddTwin(12, QStringLiteral("SETFILEPARAMETER"), twinAt(11));
    txtColumnType = AddTwin(13, kColumnType, twinAt(12));
    txtDisplay = AddText(3, kDisplay, row(2220, 2775),
                         QStringLiteral("How the column name appears to other applications."));

    cboField = AddCombo(0, kField, row(1500, 2775), QStringLiteral("Field that this column maps to."));
    cboType = AddCombo(1, kType, row(2940, 2775),
                       QStringLiteral("The SQL data type that the column definition maps onto."));
    cboSearchable = AddCombo(2, kSearchable, row(4740, 1935),
                             QStringLiteral("Limits (if required) the search that can be performed on this column."),
                             false);
    {
        const QSignalBlocker blocker(cboSearchable);
        const char *words[4] = {"Unsearchable", "LIKE only", "All except LIKE", "Searchable"};
        for (int i = 0; i < 4; ++i)
            cboSearchable->addItem(QString::fromLatin1(words[i]), i);
        cboSearchable->setCurrentIndex(-1);
    }

    // The number boxes: numbers only, each with its spinner and range hint.
    const struct
    {
        QLineEdit *box;
        int top, min, max;
        const char *hint;
    } numbers[4] = {{txtNumber, 2580, 1, 32767, "(1 to 32767)"},
                    {txtLength, 3300, 0, 65535, "(0 to 65535)"},
                    {txtPrecision, 3660, 0, 65535, "(0 to 65535)"},
                    {txtScale, 4020, -32, 32, nullptr}};
    for (int i = 0; i < 4; ++i) {
        NumbersOnly(numbers[i].box);
        spnUpDn[std::size_t(i)] =
            AddUpDown(i, numbers[i].box, numbers[i].min, numbers[i].max, Twips(field + 855, numbers[i].top, 240, 330));
        if (numbers[i].hint) {
            auto *hint = new QLabel(QString::fromLatin1(numbers[i].hint), this);
            hint->setObjectName(QStringLiteral("lblMinMax_%1").arg(i));
            hint->setAttribute(Qt::WA_TranslucentBackground);
            hint->setGeometry(Twips(field + (i == 0 ? 1635 : 1155), numbers[i].top + 30, 1335, 255));
        }
    }
    cmdNextColumnNumber = new QToolButton(this);
    cmdNextColumnNumber->setObjectName(QStringLiteral("cmdNextColumnNumber"));
    cmdNextColumnNumber->setText(QStringLiteral("#"));
    cmdNextColumnNumber->setToolTip(QStringLiteral("Calculate the next free Column number."));
    cmdNextColumnNumber->setGeometry(Twips(field + 1155, 2580, 360, 330));
    connect(cmdNextColumnNumber, &QToolButton::clicked, this, &frmColumn::cmdNextColumnNumber_Click);

    AddPrompt(0, QStringLiteral("Database Name:"), at(780), txtDatabase);
    AddPrompt(1, QStringLiteral("Table Name:"), at(1140), txtTable);
    AddPrompt(2, QStringLiteral("F&ield Name:"), at(1500), cboField);
    AddPrompt(3, QStringLiteral("&Column Name:"), at(1860), txtName);
    AddPrompt(4, QStringLiteral("&Display Name:"), at(2220), txtDisplay);
    AddPrompt(5, QStringLiteral("C&olumn Number:"), at(2580), txtNumber);
    AddPrompt(6, QStringLiteral("&SQL Data Type:"), at(2940), cboType);
    AddPrompt(7, QStringLiteral("&Length:"), at(3300), txtLength);
    AddPrompt(8, QStringLiteral("&Precision:"), at(3660), txtPrecision);
    AddPrompt(9, QStringLiteral("Scal&e:"), at(4020), txtScale);
    AddPrompt(10, QStringLiteral("Defaul&t Value:"), at(4380), txtDefault);
    AddPrompt(11, QStringLiteral("Sea&rchable:"), at(4740), cboSearchable);
    AddPrompt(12, QStringLiteral("Re&marks"), at(5100), txtRemarks);

    // The flags: a group headed "Flags", each box right of its numbered prompt.
    auto *heading = new QLabel(QStringLiteral("Flags"), this);
    heading->setObjectName(QStringLiteral("lblFlags"));
    heading->setFont(panelook::Font(8.25, true));
    heading->setAttribute(Qt::WA_TranslucentBackground);
    heading->setGeometry(Twips(flagPrompt, 780, 1935, 255));
    int top = 1140;
    for (const Flag &f : kFlags) {
        QCheckBox *check = AddCheck(f.index, QString::fromLatin1(f.column), QString(), Twips(flagBox, top, 255, 255),
                                    f.tip ? QString::fromLatin1(f.tip) : QString());
        chkProperty[std::size_t(f.index)] = check;
        AddPrompt(13 + (f.index == 0 ? 8 : f.index - 1), QString::fromUtf8(f.prompt),
                  Twips(flagPrompt, top, 1995, 255), check);
        top += 390;
    }
    PlaceButtons(4380, 5880);

    QList<QWidget *> order = {cboField, txtName,      txtDisplay, txtNumber,  cmdNextColumnNumber, cboType,
                              txtLength, txtPrecision, txtScale,   txtDefault, cboSearchable,       txtRemarks};
    for (int i = 1; i <= 8; ++i)
        order << chkProperty[std::size_t(i)];
    order << chkProperty[0] << cmdAction << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------------------
// Keys, titles, statements

QString frmColumn::tableWhere() const
{
    return modDatabase::TableWhere(Parent(0), Parent(1));
}

QString frmColumn::where() const
{
    return tableWhere() + QStringLiteral(" AND ") + kName + QStringLiteral(" = ") + Quote(m_shownKey);
}

QString frmColumn::Title(Entry entry) const
{
    const QString row = Parent(1) + QLatin1Char('.') + m_shownKey;
    switch (entry) {
    case Entry::Display: return row + QStringLiteral(" - Column Properties");
    case Entry::Add: return QStringLiteral("Add New Column to ") + Parent(0);
    case Entry::Edit: return row + QStringLiteral(" - Edit Column Properties");
    case Entry::Delete: return row + QStringLiteral(" - Delete Column");
    }
    return {};
}

QString frmColumn::SelectSQL() const { return QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + where(); }

bool frmColumn::IsSystemObject() const { return Parent(0) == QLatin1String("QN"); }

QString frmColumn::CalcParentKey() const
{
    return NodeKey::Child(NodeKey::Table(DataSource(), Parent(0), Parent(1)), QStringLiteral("CO"), Parent(1));
}

QString frmColumn::UpdateSQL() const
{
    return UpdateStatement({kType, kLength, kPrecision, kScale, QStringLiteral("NULLABLE"),
                            QStringLiteral("UNSIGNED_ATTRIBUTE"), QStringLiteral("UPDATABLE"), QStringLiteral("VISIBLE"),
                            QStringLiteral("MONEY"), QStringLiteral("AUTO_INCREMENT"), QStringLiteral("CASE_SENSITIVE"),
                            kSearchable, QStringLiteral("RADIX"), QStringLiteral("DEFAULT_VALUE"),
                            QStringLiteral("REMARKS"), QStringLiteral("SETFILEPARAMETER"), kDisplay},
                           where());
}

// The column's number, type and field go with the name: a changed number or field is a re-key too.
bool frmColumn::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateColumn(DataSource(), Parent(0), Parent(0), Parent(1), Parent(1), oldName, newName,
                                   longOf(Text(kColumnType)), longOf(Text(kNumber)), Text(kField));
}

QList<EditorFrame::Statement> frmColumn::DeleteStatements() const
{
    return {{{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_COLUMN"), where())}};
}

void frmColumn::RemoveFromTree() { modGUI::RefreshNodePath(CalcParentKey()); }

// ---------------------------------------------------------------------------
// The entries

int frmColumn::Display(const QStringList &keys)
{
    const int result = EditorFrame::Display(keys);
    if (result == 0)
        m_fieldAsRead = Text(kField);
    return result;
}

// A column another client deleted: said so, and the table's folder reloaded so that its node goes.
bool frmColumn::RowGone()
{
    Ui().MsgBox(QStringLiteral("This Column has been deleted"), ui::vbCritical);
    modGUI::RefreshFormNode(objectName(), {DataSource(), Parent(0), Parent(1), m_shownKey});
    return true;
}

void frmColumn::PrepareNew()
{
    SetText(kDatabase, Parent(0));
    SetText(kTable, Parent(1));
    SetText(QStringLiteral("VISIBLE"), QStringLiteral("1"));
    SetText(QStringLiteral("UPDATABLE"), QStringLiteral("1"));
    SetText(kColumnType, QStringLiteral("0"));
    show();
    cboField->setFocus();
}

// An edited column keeps its stored values; the controls its type governs are
// locked as the type says (the type's own values come only with a choice of type).
void frmColumn::PrepareEdit()
{
    const QString type = Text(kType);
    EnableDatatype(type.isEmpty() || type.contains(kCharTypes));
    show();
    cboField->setFocus();
}

bool frmColumn::ConfirmDelete()
{
    if (!EditorFrame::ConfirmDelete())
        return false;
    // The criteria builder writes a column as <database>_<table>.<column>.
    const QString sql = QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME =") + Quote(Parent(0)) +
                        QStringLiteral(" AND TABLE_NAME = ") + Quote(Parent(1)) + QStringLiteral(" AND CRITERIA LIKE ") +
                        Quote(QLatin1Char('%') + Parent(0) + QLatin1Char('_') + Parent(1) + QLatin1Char('.') +
                              m_shownKey + QLatin1Char('%'));
    if (!RowExists(sql))
        return true;
    return Ui().MsgBox(QStringLiteral("This coulm is used as part of the Table criteria for this table.  Removing it "
                                      "will invalidate your criteria.\r\nAre you sure you want to delete this Column?"),
                       ui::vbYesNo + ui::vbQuestion) == ui::vbYes;
}

// "Cancel" shows the table's Columns grid in every state.
void frmColumn::tbr_ButtonClick(const QString &key)
{
    if (key != QLatin1String("Cancel")) {
        EditorFrame::tbr_ButtonClick(key);
        return;
    }
    const QString routine = TraceName("tbr_ButtonClick");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    handler.step([&] { ShowParentGrid(); });
}

// ---------------------------------------------------------------------------
// The lists

const CSQLDTs &frmColumn::SQLTypes() const
{
    const CConnections::Ptr connection = gConnections().Item(DataSource());
    if (!connection)
        qnerr::raise(qnerr::ObjectNotSet, qnerr::standardDescription(qnerr::ObjectNotSet));
    return connection->SQLDTs;
}

void frmColumn::PopulateCombos()
{
    const QString routine = TraceName("PopulateCombos");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    // The SQL data types in the order the data source gave them.
    handler.step([&] {
        const CSQLDTs &types = SQLTypes();
        const QString text = cboType->currentText();
        const QSignalBlocker blocker(cboType);
        cboType->clear();
        for (const CSQLDTs::Ptr &type : types.NewEnum())
            cboType->addItem(type->SQL_TYPE_NAME);
        ShowComboValue(cboType, text);
    }) && handler.step([&] {
        // The fields of the table's file, in the order the data source returns them.
        const auto rs = db().OpenRecordset(QStringLiteral("SELECT FILE_NAME FROM QN_TABLE WHERE ") + tableWhere(),
                                           dao::dbOpenSnapshot);
        if (rs->Eof())
            qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
        PopulateCombo(kField, QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = ") +
                                  Quote(rs->Value(QStringLiteral("FILE_NAME")).toString()));
    });
}

void frmColumn::cmdNextColumnNumber_Click()
{
    const QString routine = TraceName("cmdNextColumnNumber_Click");
    TraceScope trace(routine);
    const QString sql = QStringLiteral("SELECT COLUMN_NUMBER FROM QN_COLUMN WHERE ") + tableWhere() +
                        QStringLiteral(" ORDER BY COLUMN_NUMBER DESC");
    ErrorHandler handler(routine, sql);
    handler.step([&] {
        const auto rs = db().OpenRecordset(sql, dao::dbOpenSnapshot);
        SetText(kNumber, rs->Eof() ? QStringLiteral("1")
                                   : QString::number(rs->Value(kNumber).toLongLong() + 1));
    });
}

// ---------------------------------------------------------------------------
// The data-type rule and the twins

void frmColumn::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    cmdNextColumnNumber->setEnabled(State);
    txtDatabase->setEnabled(false);
    txtTable->setEnabled(false);
}

void frmColumn::EnableDatatype(bool State)
{
    const QList<QWidget *> governed = {txtLength, spnUpDn[1], txtPrecision, spnUpDn[2], cboSearchable};
    for (QWidget *w : governed)
        w->setEnabled(State);
    for (int flag : {1, 2, 5, 6, 7, 8})
        chkProperty[std::size_t(flag)]->setEnabled(State);
}

// A choice of SQL data type: a type without "CHAR" in its name (case-sensitive)
// gives the column its length, precision, search level and six flags and locks
// them; a "CHAR" type unlocks them and keeps what they hold.
void frmColumn::cboDropdown_Click()
{
    const QString routine = TraceName("cboDropdown_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    const QString name = Text(kType);
    if (name.isEmpty())
        return;
    if (name.contains(kCharTypes)) {
        EnableDatatype(true);
        return;
    }
    CSQLDTs::Ptr type;
    if (!handler.step([&] { type = SQLTypes().Item(name); }))
        return;
    handler.step([&] {
        const std::pair<QString, long> values[] = {
            {kLength, type->Length},
            {kPrecision, type->PRECISION},
            {kSearchable, type->SEARCHABLE},
            {QStringLiteral("NULLABLE"), type->NULLABLE},
            {QStringLiteral("UNSIGNED_ATTRIBUTE"), type->UNSIGNED_ATTRIBUTE},
            {QStringLiteral("MONEY"), type->MONEY},
            {QStringLiteral("AUTO_INCREMENT"), type->AUTO_INCREMENT},
            {QStringLiteral("CASE_SENSITIVE"), type->CASE_SENSITIVE},
            {QStringLiteral("RADIX"), type->RADIX},
        };
        for (const auto &[column, value] : values)
            SetText(column, QString::number(value));
        EnableDatatype(false);
    });
}

// Only the user's choices run the rule: the fills of Display, AddNew, Edit and Undo do not.
void frmColumn::PropertyChanged(QWidget *, const QString &tag)
{
    if (tag == kType && !IsFilling())
        cboDropdown_Click();
}

// The search level list shows words for the stored 0 to 3.
QString frmColumn::ComboValue(const QComboBox *combo) const
{
    if (combo != cboSearchable)
        return EditorFrame::ComboValue(combo);
    return combo->currentIndex() >= 0 ? combo->currentData().toString() : Text(kSearchable);
}

void frmColumn::ShowComboValue(QComboBox *combo, const QString &value)
{
    if (combo != cboSearchable) {
        EditorFrame::ShowComboValue(combo, value);
        return;
    }
    if (value.isEmpty())
        return;
    const std::optional<long> position = WholeNumber(value);
    if (!position || *position < -1 || *position > 3)
        qnerr::raise(qnerr::ValidationFailed, qnerr::standardDescription(qnerr::ValidationFailed));
    combo->setCurrentIndex(int(*position));
}

// ---------------------------------------------------------------------------
// Validation and the add's precision

bool frmColumn::ValidateFields()
{
    const QString routine = TraceName("ValidateFields");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    // Runs one check query; false after an ignored failure.
    std::unique_ptr<dao::Recordset> rs;
    auto read = [&](const QString &sql) {
        handler.info = sql;
        return handler.step([&] { rs = db().OpenRecordset(sql, dao::dbOpenSnapshot); });
    };
    const bool adding = m_shownKey.isEmpty();
    const QString table = Parent(1);

    if (Text(kNumber).isEmpty())
        cmdNextColumnNumber_Click();
    if (Text(kField).isEmpty())
        return Refuse(QStringLiteral("Please select a Field Name to map this column to."), cboField);
    const QString name = Text(kName);
    if (name.isEmpty()) {
        Ui().MsgBox(QStringLiteral("Please enter a Column Name to uniquely identify this column."), ui::vbInformation,
                    QStringLiteral("Missing COLUMN_NAME"));
        txtName->setFocus();
        return false;
    }
    if (adding) {
        if (!read(QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + tableWhere() + QStringLiteral(" AND COLUMN_NAME = ") +
                  Quote(name) + QLatin1Char(' ')))
            return false;
        if (!rs->Eof())
            return Refuse(QStringLiteral("The Column Name '") + name + QStringLiteral("' is already used in Table '") +
                              table + QStringLiteral("'.\r\nPlease use another name."),
                          txtName);
        // The number goes into the query as typed: only a number may.
        const QString number = Text(kNumber);
        if (!WholeNumber(number))
            return Refuse(rangeMessage(QStringLiteral("Column Number"), spnUpDn[0]), txtNumber);
        if (!read(QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + tableWhere() +
                  QStringLiteral(" AND COLUMN_NUMBER = ") + modDatabase::NumberSQL(number) + kOrdinaryOnly))
            return false;
        if (!rs->Eof())
            return Refuse(QStringLiteral("The Column Number '") + number + QStringLiteral("' is already used in Table '") +
                              table + QStringLiteral("'.\r\nPlease use another name."),
                          txtNumber);
    }
    if (kReserved.contains(QLatin1Char('\'') + name + QLatin1Char('\'')))
        return Refuse(QStringLiteral("That is a reserved Column Name"), txtName);
    const QString field = Text(kField);
    if (adding || field != m_fieldAsRead) {
        if (!read(QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + tableWhere() + QStringLiteral(" AND FIELD_NAME = ") +
                  Quote(field)))
            return false;
        if (!rs->Eof())
            return Refuse(QStringLiteral("The Field '") + rs->Value(kField).toString() +
                              QStringLiteral("' has already been mapped to Column '") + rs->Value(kName).toString() +
                              QLatin1Char('\''),
                          cboField);
    }
    const QString display = Text(kDisplay);
    if (!display.isEmpty() && display.toUpper() != name.toUpper())
        return Refuse(QStringLiteral("The Display Name (if used) MUST exactly match the Column Name (exclusive of case)."),
                      txtDisplay);
    if (Text(kType).isEmpty())
        return Refuse(QStringLiteral("Please select an SQL Data Type for this column."), cboType);
    if (Text(kNumber).isEmpty())
        cmdNextColumnNumber_Click();

    // A range: only a whole number within the spinner's Min and Max passes.
    auto inRange = [](const QString &text, const UpDown *range) {
        const std::optional<long> value = WholeNumber(text);
        return value && *value >= range->Min && *value <= range->Max;
    };
    const QString number = Text(kNumber);
    if (!inRange(number, spnUpDn[0]))
        return Refuse(rangeMessage(QStringLiteral("Column Number"), spnUpDn[0]), txtNumber);
    if (!read(QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE ") + tableWhere() +
              QStringLiteral(" AND COLUMN_NUMBER = ") + modDatabase::EscapeQuotes(number) +
              QStringLiteral(" AND COLUMN_NAME <> ") + Quote(m_shownKey) + kOrdinaryOnly))
        return false;
    if (!rs->Eof())
        return Refuse(QStringLiteral("Column Number ") + number + QStringLiteral(" has already been assigned to Column '") +
                          rs->Value(kName).toString() + QStringLiteral("'."),
                      nullptr);
    if (name != m_shownKey) {
        if (!read(QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE ") + tableWhere() +
                  QStringLiteral(" AND COLUMN_NAME = ") + Quote(name)))
            return false;
        if (!rs->Eof())
            return Refuse(QStringLiteral("Column Name '") + name + QStringLiteral("' has already been used in this Table."),
                          txtName);
    }
    if (!inRange(Text(kLength), spnUpDn[1]))
        return Refuse(rangeMessage(QStringLiteral("Length"), spnUpDn[1]), txtLength);
    if (!inRange(Text(kPrecision), spnUpDn[2]))
        return Refuse(rangeMessage(QStringLiteral("Precision"), spnUpDn[2]), txtPrecision);
    if (!inRange(Text(kScale), spnUpDn[3]))
        return Refuse(rangeMessage(QStringLiteral("Scale"), spnUpDn[3]), txtScale);
    return true;
}

// A new character column without a precision takes its length as precision.
void frmColumn::PrepareInsert()
{
    if (cboType->currentText().endsWith(kCharTypes) && WholeNumber(Text(kPrecision)) == 0L)
        SetText(kPrecision, Text(kLength));
}
