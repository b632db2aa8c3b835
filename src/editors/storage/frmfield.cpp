#include "frmfield.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QToolButton>

#include "core/cconnections.h"
#include "core/controls.h"
#include "core/errortrace.h"
#include "core/localtyperules.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "dialogs/frmformatpicker.h"
#include "panehost/forms.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmField>(QStringLiteral("frmField"));

namespace {
const QString kFile = QStringLiteral("FILE_NAME");
const QString kNumber = QStringLiteral("FIELD_NUMBER");
const QString kName = QStringLiteral("FIELD_NAME");
const QString kType = QStringLiteral("LOCAL_TYPE_NAME");
const QString kOffset = QStringLiteral("OFFSET");
const QString kLength = QStringLiteral("LENGTH");
const QString kPrecision = QStringLiteral("PRECISION");
const QString kScale = QStringLiteral("SCALE");
const QString kEncrypted = QStringLiteral("ENCRYPTED");
const QString kFormat = QStringLiteral("FORMAT");
const QString kDefault = QStringLiteral("DEFAULT_VALUE");
const QString kRemarks = QStringLiteral("REMARKS");

// The spinners and range labels by the row they stand beside.
enum Spinner { spnNumber = 0, spnOffset = 1, spnLength = 2, spnPrecision = 3, spnScale = 4 };
enum Label { lblLength = 0, lblPrecision = 1, lblScale = 2, lblOffset = 3, lblNumber = 4 };

QString number(long value) { return QString::number(value); }

} // namespace

frmField::frmField()
    : EditorFrame({QStringLiteral("frmField"),
                   QStringLiteral("QN_FIELD"),
                   {kFile, kName},
                   {kFile, kName, kOffset},
                   QStringLiteral("fd"),
                   QStringLiteral("frmFields"),
                   {kType},
                   QStringLiteral("Are you sure you want to delete this field?"),
                   true,  // missingRowShowsEmpty
                   false, // busyCursor
                   true,  // emptyBeforeRead
                   false, // renameOnlyNewName
                   {{QStringLiteral("QN_FILE"), {kFile}}}})
{
    setWindowTitle(QStringLiteral("Field"));
    resize(Twips(0, 0, 7005, 6000).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255, step = 345;
    auto top = [&](int row) { return 780 + row * step; };
    auto box = [&](int row, int width, int height = 315) { return Twips(field, top(row), width, height); };
    auto at = [&](int row) { return Twips(prompt, top(row) + 30, promptWidth, promptHeight); };

    // Created in the form's order, which is the fill order and the INSERT's column order.
    txtName = AddText(2, kName, box(1, 2775),
                      QStringLiteral("Unique identifier for a Field within the File Definition. Valid characters are: "
                                     "[a..z], [A..Z], _ (underscore) and - (hyphen)."));
    txtRemarks = AddMemo(11, kRemarks, box(11, 4815, 675), QStringLiteral("Any notes you wish to make about this Field."));
    txtDefault = AddText(10, kDefault, box(10, 2775),
                         QStringLiteral("The default value is overwritten when data is inserted into the field."));
    txtFormat = AddText(9, kFormat, box(9, 2775),
                        QStringLiteral("The Format field allows users to specify the format of a date or a time field "
                                       "stored in a string on the Server.  Entry to this field is performed using the "
                                       "Date/Time Format dialog box."));
    txtEncrypted = AddTwin(8, kEncrypted, Twips(60, 5400, 855, 315));
    txtScale = AddText(7, kScale, box(7, 855),
                       QStringLiteral("Refers to the maximum number of digits to the right of the decimal point "
                                      "(numeric fields only)."));
    txtPrecision = AddText(6, kPrecision, box(6, 855),
                           QStringLiteral("Refers to the maximum number of digits used by the datatype.  The precision "
                                          "of a non-numeric field refers to the maximum length of the field."));
    txtLength = AddText(5, kLength, box(5, 855),
                        QStringLiteral("Size of the Field in bytes and fixed for certain Data Types."));
    txtOffset = AddText(4, kOffset, box(4, 855),
                        QStringLiteral("The position of the Field within the File.  Fields can be placed at the same "
                                       "offset if multiple record types are present in the same File on the Server."));
    txtType = AddTwin(3, kType, Twips(960, 5400, 1335, 315));
    txtFile = AddText(0, kFile, box(0, 2775), QStringLiteral("File which this Field is registered with."));
    txtNumber = AddText(1, kNumber, box(2, 855), QStringLiteral("Determines the Field Order within the File Definition."));

    cboEncrypted = AddCombo(1, kEncrypted, box(8, 2775),
                            QStringLiteral("This is used to enable encryption on specific fields.  This encryption is "
                                           "a facility of the Quarnel SQL engine and therefore other applications are "
                                           "not capable of reading fields written with encryption."),
                            false);
    cboEncrypted->addItems({QStringLiteral("No"), QStringLiteral("Yes - Read/Write"), QStringLiteral("Yes - Read Only")});
    cboEncrypted->setCurrentIndex(-1);
    cboType = AddCombo(0, kType, box(3, 2775), QStringLiteral("The storage format of the Field in the File on the Server."));

    // The number boxes with their spinners, buttons and range labels.
    QLineEdit *const numbers[5] = {txtNumber, txtOffset, txtLength, txtPrecision, txtScale};
    const int rows[5] = {2, 4, 5, 6, 7};
    const int ranges[5][2] = {{MinFieldNumber, MaxFieldNumber}, {MinOffset, MaxOffset}, {0, 65535}, {0, 65535}, {-32, 32}};
    for (int i = 0; i < 5; ++i) {
        NumbersOnly(numbers[i]);
        spnUpDn[i] = AddUpDown(i, numbers[i], ranges[i][0], ranges[i][1], Twips(field + 855, top(rows[i]), 240, 330));
    }
    const int labelRows[5] = {5, 6, 7, 4, 2};
    const char *const captions[5] = {"(Set the Local Type)", "(0 to 65535)", "(-32 to +32)", "(0 to 65535)",
                                     "(1 to 32767)"};
    for (int i = 0; i < 5; ++i) {
        lblMinMax[i] = new QLabel(QString::fromLatin1(captions[i]), this);
        lblMinMax[i]->setObjectName(QStringLiteral("lblMinMax_%1").arg(i));
        lblMinMax[i]->setAttribute(Qt::WA_TranslucentBackground);
        lblMinMax[i]->setGeometry(Twips(field + 1635, top(labelRows[i]) + 30, 1935, 255));
    }
    auto button = [&](const char *name, const QString &text, const QString &tip, const QRect &at) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setGeometry(at);
        return b;
    };
    cmdNextFieldNumber = button("cmdNextFieldNumber", QStringLiteral("#"), QStringLiteral("Find next free Field Number"),
                                Twips(field + 1155, top(2), 360, 330));
    cmdCalcOffset = button("cmdCalcOffset", QStringLiteral("\u03a3"), QStringLiteral("Calculate next Offset"),
                           Twips(field + 1155, top(4), 360, 330));
    cmdFormat = button("cmdFormat", QStringLiteral("..."), QStringLiteral("Launch Format Builder"),
                       Twips(field + 2835, top(9), 420, 330));
    connect(cmdNextFieldNumber, &QToolButton::clicked, this, &frmField::cmdNextFieldNumber_Click);
    connect(cmdCalcOffset, &QToolButton::clicked, this, &frmField::cmdCalcOffset_Click);
    connect(cmdFormat, &QToolButton::clicked, this, &frmField::cmdFormat_Click);

    AddPrompt(0, QStringLiteral("File Name:"), at(0), txtFile);
    AddPrompt(1, QStringLiteral("Field &Name:"), at(1), txtName);
    AddPrompt(2, QStringLiteral("Field Num&ber:"), at(2), txtNumber);
    AddPrompt(3, QStringLiteral("Data &Type:"), at(3), cboType);
    AddPrompt(4, QStringLiteral("Off&set:"), at(4), txtOffset);
    AddPrompt(5, QStringLiteral("&Length:"), at(5), txtLength);
    AddPrompt(6, QStringLiteral("&Precision:"), at(6), txtPrecision);
    AddPrompt(7, QStringLiteral("S&cale:"), at(7), txtScale);
    AddPrompt(8, QStringLiteral("&Encrypted:"), at(8), cboEncrypted);
    AddPrompt(9, QStringLiteral("F&ormat:"), at(9), txtFormat);
    AddPrompt(10, QStringLiteral("&Default Value:"), at(10), txtDefault);
    AddPrompt(11, QStringLiteral("Re&marks:"), at(11), txtRemarks);
    PlaceButtons(4380, top(11) + 795);

    const QList<QWidget *> order = {txtName,   txtNumber,    cmdNextFieldNumber, cboType,   txtOffset,
                                    cmdCalcOffset, txtLength, txtPrecision,     txtScale,  cboEncrypted,
                                    txtFormat, cmdFormat,    txtDefault,         txtRemarks, cmdAction,
                                    cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmField::where(const QString &field) const
{
    return kFile + QStringLiteral(" = ") + Quote(file()) + QStringLiteral(" AND ") + kName + QStringLiteral(" = ") +
           Quote(field);
}

QString frmField::Title(Entry entry) const
{
    const QString row = file() + QLatin1Char('.') + m_shownKey;
    switch (entry) {
    case Entry::Display: return row + QStringLiteral(" - Field Properties");
    case Entry::Add: return QStringLiteral("Add New Field to ") + file();
    case Entry::Edit: return row + QStringLiteral(" - Edit Field Properties");
    case Entry::Delete: return row + QStringLiteral(" - Delete Field");
    }
    return {};
}

QString frmField::SelectSQL() const
{
    return QStringLiteral("SELECT * FROM QN_FIELD WHERE ") + where(m_shownKey) + QLatin1Char(' ');
}

bool frmField::IsSystemObject() const { return modDatabase::IsSystemFile(file()); }

QString frmField::CalcParentKey() const
{
    return NodeKey::Child(NodeKey::File(DataSource(), file()), QStringLiteral("FD"), file());
}

// ---------------------------------------------------------------------------
// The list of local types and the two combos

void frmField::PopulateCombos()
{
    TraceScope trace(TraceName("PopulateCombos"));
    const QString text = cboType->currentText();
    const QSignalBlocker blocker(cboType);
    cboType->clear();
    // From the connection's cache: no query.
    if (const auto connection = gConnections().Item(DataSource()))
        for (const auto &type : connection->LOCDTs.NewEnum())
            cboType->addItem(type->LOCAL_TYPE_NAME);
    const int found = text.isEmpty() ? -1 : cboType->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cboType->setCurrentIndex(found);
    if (found < 0)
        cboType->setEditText(text);
}

// ENCRYPTED holds the position of its word; no selection stores 0.
QString frmField::ComboValue(const QComboBox *combo) const
{
    if (combo == cboEncrypted)
        return number(qMax(combo->currentIndex(), 0));
    return EditorFrame::ComboValue(combo);
}

// A stored ENCRYPTED outside 0 to 2 leaves the list without a selection.
void frmField::ShowComboValue(QComboBox *combo, const QString &value)
{
    if (combo != cboEncrypted) {
        EditorFrame::ShowComboValue(combo, value);
        return;
    }
    const std::optional<long> position = value.isEmpty() ? std::nullopt : WholeNumber(value);
    const int index = position && *position >= 0 && *position < combo->count() ? int(*position) : -1;
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

// ---------------------------------------------------------------------------
// The local type's rules and the columns' reactions

std::optional<QString> frmField::Attributes(const QString &LocalTypeName) const
{
    if (LocalTypeName.isEmpty())
        return std::nullopt;
    const auto connection = gConnections().Item(DataSource());
    const auto type = connection ? connection->LOCDTs.Item(LocalTypeName) : CLOCDTs::Ptr();
    if (!type)
        return std::nullopt;
    return type->ATTRIBUTES;
}

void frmField::SetRange(int spinner, int label, long min, long max, const QString &caption)
{
    spnUpDn[spinner]->Min = int(min);
    spnUpDn[spinner]->Max = int(max);
    lblMinMax[label]->setText(caption);
}

void frmField::SetPackedRange(long length)
{
    SetRange(spnPrecision, lblPrecision, 2 * length, 2 * length + 1, localtype::RangeLabel(2 * length, 2 * length + 1));
}

void frmField::ApplyLocalType(const QString &LocalTypeName)
{
    const std::optional<QString> attributes = Attributes(LocalTypeName);
    if (!attributes)
        return; // an empty or unknown type has no rules
    const localtype::Rules r = localtype::Derive(*attributes);
    txtLength->setEnabled(r.length.enabled);
    lblMinMax[lblLength]->setText(r.length.label);
    txtPrecision->setEnabled(r.precision.enabled);
    lblMinMax[lblPrecision]->setText(r.precision.label);
    txtScale->setEnabled(r.scale.enabled);
    lblMinMax[lblScale]->setText(r.scale.label);
    // The format first: its reaction sets the length and precision, which the values below replace.
    SetText(kFormat, r.format);
    txtFormat->setEnabled(r.formatEnabled);
    cmdFormat->setEnabled(r.formatEnabled);
    const localtype::Value *values[3] = {&r.length, &r.precision, &r.scale};
    for (int i = 0; i < 3; ++i) {
        spnUpDn[spnLength + i]->Min = values[i]->min;
        spnUpDn[spnLength + i]->Max = values[i]->max;
        spnUpDn[spnLength + i]->setEnabled(true);
    }
    SetText(kLength, number(r.length.value));
    SetText(kPrecision, number(r.precision.value));
    SetText(kScale, number(r.scale.value));
}

void frmField::PropertyChanged(QWidget *box, const QString &tag)
{
    const QString text = controls::Text(box);
    if (text.isEmpty())
        return;
    if (tag == kLength) {
        if (!IsFilling())
            m_lengthChanged = true;
        const std::optional<long> length = WholeNumber(text);
        if (!length)
            return;
        const QString type = Text(kType);
        if (type == QLatin1String("HEXADECIMAL")) {
            SetText(kPrecision, number(2 * *length));
        } else if (const auto attributes = Attributes(type); attributes && localtype::IsPacked(localtype::Wrap(*attributes))) {
            SetPackedRange(*length);
            SetText(kPrecision, number(2 * *length));
        }
    } else if (tag == kType) {
        if (!m_populating)
            ApplyLocalType(text);
    } else if (tag == kFormat) {
        SetText(kLength, number(text.size()));
        SetText(kPrecision, number(text.size()));
    }
}

// ---------------------------------------------------------------------------
// Showing and preparing a row

void frmField::FillRow(const dao::Recordset *rs)
{
    if (rs) {
        ApplyLocalType(rs->Value(kType).toString());
        {
            // The stored values win: the type's rules are not applied again.
            const QScopedValueRollback<bool> populating(m_populating, true);
            EditorFrame::FillRow(rs);
        }
        // A packed type's precision lies within twice the length and one more;
        // a stored precision there is kept, any other shows as twice the length.
        if (const auto attributes = Attributes(Text(kType));
            attributes && localtype::IsPacked(localtype::Wrap(*attributes))) {
            const long length = WholeNumber(Text(kLength)).value_or(0);
            SetPackedRange(length);
            const std::optional<long> precision = WholeNumber(Text(kPrecision));
            if (!precision || *precision < 2 * length || *precision > 2 * length + 1)
                SetText(kPrecision, number(2 * length));
        }
    }
    m_oldFieldNumber = Text(kNumber);
    m_lengthChanged = false;
    EnableEdit(false); // the type's locks apply only while editing
}

void frmField::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    txtFile->setEnabled(false);
    cmdNextFieldNumber->setEnabled(State);
    cmdCalcOffset->setEnabled(State);
    const QString type = Text(kType);
    cmdFormat->setEnabled(State && (type == QLatin1String("DATE") || type == QLatin1String("TIME")));
}

void frmField::PrepareNew()
{
    SetText(kFile, file());
    SetText(kEncrypted, QStringLiteral("0"));
    cmdNextFieldNumber_Click();
    cmdCalcOffset_Click();
    lblMinMax[lblLength]->setText(QStringLiteral("(Set the Local Type)"));
    cmdFormat->setEnabled(false);
    m_oldFieldNumber.clear();
    m_lengthChanged = false;
    txtName->setFocus();
}

// Undo while adding empties every box but the file's; while editing it shows the stored row again.
void frmField::Undo()
{
    if (EditorMode() != QLatin1String("Field Add")) {
        EditorFrame::Undo();
        return;
    }
    for (const auto &entry : mTextCtrls.NewEnum())
        if (entry->Key.compare(kFile, Qt::CaseInsensitive) != 0)
            SetText(entry->Key, QString());
}

// ---------------------------------------------------------------------------
// Validation

bool frmField::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString name = Text(kName);
    if (name.isEmpty())
        return Refuse(QStringLiteral("Please give this Field a name."), txtName);
    // A number box holds a whole number within its spinner's range (empty reads as 0).
    auto outOfRange = [&](QLineEdit *box, const UpDown *spinner, const char *message) {
        const std::optional<long> value = WholeNumber(box->text());
        if (value && *value >= spinner->Min && *value <= spinner->Max)
            return false;
        Refuse(QString::fromLatin1(message).arg(spinner->Min).arg(spinner->Max), box);
        return true;
    };
    if (outOfRange(txtNumber, spnUpDn[spnNumber], "Invalid Field Number, must be an integer between %1 and %2."))
        return false;
    if (!Attributes(Text(kType)))
        return Refuse(QStringLiteral("Please select a Local Data Type for this field from the drop down list."), cboType);
    if (outOfRange(txtOffset, spnUpDn[spnOffset], "Invalid Offset, must be an integer between %1 and %2.") ||
        outOfRange(txtLength, spnUpDn[spnLength], "Invalid length, must be an integer between %1 and %2.") ||
        outOfRange(txtPrecision, spnUpDn[spnPrecision], "Invalid Precision, must be an integer between %1 and %2.") ||
        outOfRange(txtScale, spnUpDn[spnScale], "Invalid Scale, must be an integer between %1 and %2."))
        return false;
    if (name != m_shownKey &&
        RowExists(QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE ") + where(name)))
        return Refuse(QStringLiteral("This File already contains a Field called '") + name + QLatin1Char('\''), txtName);
    // The number is compared as a number, and never with the field itself.
    const QString text = Text(kNumber);
    const bool editing = !m_shownKey.isEmpty();
    if (editing && WholeNumber(text) == WholeNumber(m_oldFieldNumber))
        return true;
    QString sql = QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = ") + Quote(file()) +
                  QStringLiteral(" AND FIELD_NUMBER = ") + text;
    if (editing)
        sql += QStringLiteral(" AND FIELD_NAME <> ") + Quote(KeyAsRead());
    if (RowExists(sql))
        return Refuse(QStringLiteral("Field Number '") + text + QStringLiteral("' is already used in this File."),
                      txtName);
    return true;
}

// ---------------------------------------------------------------------------
// Saving

QString frmField::UpdateSQL() const
{
    return UpdateStatement({kNumber, kType, kLength, kPrecision, kScale, kEncrypted, kFormat, kDefault, kRemarks},
                           where(m_shownKey));
}

bool frmField::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateField(DataSource(), file(), file(), oldName, newName,
                                  qint32(WholeNumber(Text(kOffset)).value_or(0)));
}

QList<EditorFrame::Statement> frmField::DeleteStatements() const
{
    return {{{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_FIELD"), where(m_shownKey))}};
}

bool frmField::RefuseDelete(bool)
{
    if (!modDatabase::IsSystemFile(file()))
        return false;
    Ui().MsgBox(QStringLiteral("You cannot delete Field '") + m_shownKey + QStringLiteral("' of File '") + file() +
                    QLatin1Char('\''),
                ui::vbInformation);
    return true;
}

bool frmField::ConfirmSave(Entry entry)
{
    if (entry == Entry::Edit) {
        m_copyLength = m_lengthChanged &&
                       Ui().MsgBox(QStringLiteral("You have changed the length of this Field.\r\nDo you want to update "
                                                  "the length of any columns\r\nthat refer to this Field to match?"),
                                   ui::vbYesNo + ui::vbQuestion) == ui::vbYes;
        return true;
    }
    if (entry != Entry::Delete)
        return true;
    // The first column bound to the field, table by table (each in its own database).
    const auto tables = Query(QStringLiteral("SELECT DISTINCT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME = ") +
                              Quote(file()));
    for (; !tables->Eof(); tables->MoveNext()) {
        const auto columns =
            Query(QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = ") +
                  Quote(tables->Value(QStringLiteral("DATABASE_NAME")).toString()) + QStringLiteral(" AND TABLE_NAME = ") +
                  Quote(tables->Value(QStringLiteral("TABLE_NAME")).toString()) + QStringLiteral(" AND FIELD_NAME = ") +
                  Quote(m_shownKey));
        if (columns->Eof())
            continue;
        auto value = [&](const char *column) { return columns->Value(QLatin1String(column)).toString(); };
        return Ui().MsgBox(QStringLiteral("This Field is used by Column '") + value("COLUMN_NAME") +
                               QStringLiteral("' in Database '") + value("DATABASE_NAME") + QStringLiteral(", Table '") +
                               value("TABLE_NAME") + QStringLiteral("'\r\nAre you sure you want to delete it?"),
                           ui::vbYesNo + ui::vbQuestion) == ui::vbYes;
    }
    return true;
}

// A changed length answered Yes goes to the columns bound to the field, in the
// tables over the file (each in its own database), in the same unit.
void frmField::SaveStatements(Entry entry)
{
    if (entry != Entry::Edit || !m_copyLength)
        return;
    const QString length = number(WholeNumber(Text(kLength)).value_or(0));
    const auto tables = modUpdate::UnitOpen(
        QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME = ") + Quote(file()));
    for (; !tables->Eof(); tables->MoveNext())
        modUpdate::UnitExecute(QStringLiteral("UPDATE QN_COLUMN SET LENGTH = ") + length +
                               QStringLiteral(" WHERE DATABASE_NAME = ") +
                               Quote(tables->Value(QStringLiteral("DATABASE_NAME")).toString()) +
                               QStringLiteral(" AND TABLE_NAME = ") +
                               Quote(tables->Value(QStringLiteral("TABLE_NAME")).toString()) +
                               QStringLiteral(" AND FIELD_NAME = ") + Quote(Text(kName)));
}

void frmField::Saved(Entry entry)
{
    if (entry != Entry::Edit || !m_copyLength)
        return;
    m_copyLength = false;
    Ui().MsgBox(QStringLiteral("Columns lengths updated"), ui::vbInformation);
}

// An add reloads the Fields folder; either save then reveals the field's node.
void frmField::RefreshFolder()
{
    if (EditorMode() == QLatin1String("Field Add"))
        ::ReloadFolder(CalcParentKey());
    modGUI::RefreshNodePath(CalcNodeKey());
}

// ---------------------------------------------------------------------------
// The buttons

void frmField::cmdNextFieldNumber_Click()
{
    const QString routine = TraceName("cmdNextFieldNumber_Click");
    TraceScope trace(routine);
    const QString sql = QStringLiteral("SELECT FIELD_NUMBER FROM QN_FIELD WHERE FILE_NAME = ") + Quote(file()) +
                        QStringLiteral(" ORDER BY FIELD_NUMBER DESC");
    ErrorHandler handler(routine, sql);
    handler.step([&] {
        const auto rs = db().OpenRecordset(sql, dao::dbOpenSnapshot);
        // One above the highest; gaps below it are not reused.
        SetText(kNumber, rs->Eof() ? QStringLiteral("1") : number(long(rs->Value(kNumber).toLongLong()) + 1));
    });
}

void frmField::cmdCalcOffset_Click()
{
    const QString routine = TraceName("cmdCalcOffset_Click");
    TraceScope trace(routine);
    if (Text(kNumber).isEmpty())
        cmdNextFieldNumber_Click();
    ErrorHandler handler(routine, QString());
    handler.step([&] {
        const QString sql =
            QStringLiteral("SELECT SUM(LENGTH) AS NextOffset FROM QN_FIELD WHERE FILE_NAME = ") + Quote(file()) +
            QStringLiteral(" AND FIELD_NUMBER < ") +
            modDatabase::NumberSQL(Text(kNumber), QStringLiteral("Invalid Field Number, must be an integer between %1 "
                                                                 "and %2.")
                                                      .arg(spnUpDn[spnNumber]->Min)
                                                      .arg(spnUpDn[spnNumber]->Max));
        handler.info = sql;
        SetText(kOffset, Total(sql)); // no lower-numbered field: 0
    });
}

void frmField::cmdFormat_Click()
{
    const QString routine = TraceName("cmdFormat_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    handler.step([&] {
        if (const std::optional<QString> format = PickFormat(Text(kType), Text(kFormat)))
            SetText(kFormat, *format);
    });
}
