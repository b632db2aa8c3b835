#include "frmfields.h"

#include "appinfo.h"
#include "core/cconnections.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "dialogs/frmformatpicker.h"
#include "panehost/forms.h"
#include "settings.h"
#include "tree/nodekey.h"
#include "ui.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmFields>(QStringLiteral("frmFields"));

namespace {

enum {
    FIELD_NAME,
    FIELD_NUMBER,
    OFFSET,
    LOCAL_TYPE_NAME,
    LENGTH,
    PRECISION,
    SCALE,
    ENCRYPTED,
    FORMAT,
    DEFAULT_VALUE,
    REMARKS,
};

} // namespace

frmFields::frmFields()
{
    setObjectName(QStringLiteral("frmFields"));
    Particulars p;
    p.catalogTable = QStringLiteral("QN_FIELD");
    p.columns = {
        Column(QStringLiteral("FIELD_NAME")).Key(true),
        Column(QStringLiteral("FIELD_NUMBER")).Lookup(0).Kept().Number(),
        Column(QStringLiteral("OFFSET")).Lookup(1).Number(),
        Column(QStringLiteral("LOCAL_TYPE_NAME")).List(0),
        Column(QStringLiteral("LENGTH")).Number(),
        Column(QStringLiteral("PRECISION")).Number(),
        Column(QStringLiteral("SCALE")).Number(),
        Column(QStringLiteral("ENCRYPTED")).List(1).Words(modGrid::EncryptedWords()).NewRow(QStringLiteral("No")),
        Column(QStringLiteral("FORMAT")).Lookup(2),
        Column(QStringLiteral("DEFAULT_VALUE")),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{}, modGrid::EncryptedWords()}; // the local types are read at each Display
    p.lookups = 3;
    SetParticulars(std::move(p));
}

QString frmFields::Title(const QStringList &keys) const { return keys.value(1) + QStringLiteral(" - Fields"); }

QString frmFields::Query() const
{
    return QStringLiteral("SELECT FIELD_NAME, FIELD_NUMBER, OFFSET, LOCAL_TYPE_NAME, LENGTH, PRECISION, SCALE, "
                          "ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS FROM QN_FIELD WHERE FILE_NAME = '") +
           Esc(file()) +
           (options::FieldOrder() == 0 ? QStringLiteral("' ORDER BY FIELD_NAME ASC")
                                       : QStringLiteral("' ORDER BY OFFSET ASC"));
}

// The local types of the data source, in the cache's order.
void frmFields::PopulateCombos()
{
    QStringList types;
    for (const auto &type : Connection().LOCDTs.NewEnum())
        types << type->LOCAL_TYPE_NAME;
    RefillList(0, types);
}

bool frmFields::IsReadOnly() const { return modDatabase::IsSystemFile(file()); }

std::optional<localtype::Rules> frmFields::FetchTypeInfo(const QString &LocalTypeName) const
{
    if (LocalTypeName.isEmpty())
        return std::nullopt;
    const auto type = Connection().LOCDTs.Item(LocalTypeName);
    if (!type)
        return std::nullopt;
    localtype::Rules rules = localtype::Derive(type->ATTRIBUTES);
    // In the grid a precision with a default may always be changed.
    rules.precision.enabled =
        localtype::Number(QStringLiteral(";DEFAULT_PRECISION="), localtype::Wrap(type->ATTRIBUTES)) != 0;
    return rules;
}

// LENGTH, PRECISION, SCALE and FORMAT open as the row's own local type allows;
// none of them for a row without a known type.
bool frmFields::RefuseCell(int row, int col) const
{
    if (col != LENGTH && col != PRECISION && col != SCALE && col != FORMAT)
        return false;
    const auto rules = FetchTypeInfo(Cell(row, LOCAL_TYPE_NAME));
    if (!rules)
        return true;
    switch (col) {
    case LENGTH: return !rules->length.enabled;
    case PRECISION: return !rules->precision.enabled;
    case SCALE: return !rules->scale.enabled;
    default: return !rules->formatEnabled;
    }
}

// A local type chosen from the list writes its length, precision, scale and format into the row.
void frmFields::ListChanged(int element, const QString &text)
{
    if (element != 0)
        return;
    const auto rules = FetchTypeInfo(text);
    if (!rules)
        return;
    SetCell(LENGTH, QString::number(rules->length.value));
    SetCell(PRECISION, QString::number(rules->precision.value));
    SetCell(SCALE, QString::number(rules->scale.value));
    SetCell(FORMAT, rules->format);
}

void frmFields::LookupClick(int element)
{
    switch (element) {
    case 0: {
        // The number after the highest saved in the file.
        const auto rs = OpenQuery(QStringLiteral("SELECT FIELD_NUMBER FROM QN_FIELD WHERE FILE_NAME = '") +
                                  Esc(file()) + QStringLiteral("' ORDER BY FIELD_NUMBER DESC"));
        SetEditorText(rs->Eof() ? QStringLiteral("1")
                                : QString::number(modString::WholeNumber(rs->Cell(0, 0).toString()).value_or(0) + 1));
        return;
    }
    case 1: {
        // The lengths of the saved fields numbered below this one, laid end to end.
        const QString number = Cell(FIELD_NUMBER);
        if (number.isEmpty()) {
            Ui().MsgBox(QStringLiteral("Please enter a Field Number for this Field."), ui::vbOKOnly, appinfo::Title());
            return;
        }
        const auto rs = OpenQuery(QStringLiteral("SELECT SUM(LENGTH) AS NextOffset FROM QN_FIELD WHERE FILE_NAME = '") +
                                  Esc(file()) + QStringLiteral("' AND FIELD_NUMBER < 0") + NumberText(number));
        const QVariant sum = rs->Eof() ? QVariant() : rs->Value(QStringLiteral("NextOffset"));
        // A sum over text values comes back as a real number: shown as the whole number.
        SetEditorText(sum.isNull() || sum.toString().isEmpty() ? QStringLiteral("0")
                                                                : QString::number(qRound64(sum.toDouble())));
        return;
    }
    default: {
        // The date or time format picker, by the row's local type.
        if (const std::optional<QString> format = PickFormat(Cell(LOCAL_TYPE_NAME), EditorText()))
            SetEditorText(*format);
        return;
    }
    }
}

QString frmFields::ValidateCell(int row, int col)
{
    const QString v = Cell(row, col);
    switch (col) {
    case FIELD_NAME:
        if (v.isEmpty())
            return QStringLiteral("The Field Name cannot be blank");
        if ((OrigKey(FIELD_NAME).isEmpty() || v != OrigKey(FIELD_NAME)) &&
            Exists(QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = '") + Esc(file()) +
                   QStringLiteral("' AND FIELD_NAME = '") + Esc(v) + QLatin1Char('\'')))
            return QStringLiteral("The Field Name '%1' already has already been used in this File.").arg(v);
        return {};
    case FIELD_NUMBER: {
        if (!modString::NumberIn(v, 1, 65535))
            return modString::OutOfRange(QStringLiteral("Field Number"), 1, 65535);
        const auto former = modString::WholeNumber(OrigKey(FIELD_NUMBER));
        if ((!former || *former != modString::WholeNumber(v)) &&
            Exists(QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = '") + Esc(file()) +
                   QStringLiteral("' AND FIELD_NUMBER = ") + NumberText(v)))
            return QStringLiteral("That Field Number has already been used in this File.");
        return {};
    }
    case OFFSET:
        if (!modString::NumberIn(v, 0, 65535))
            return modString::OutOfRange(QStringLiteral("Offset"), 0, 65535);
        return {};
    case LENGTH:
    case PRECISION:
    case SCALE: {
        // Against the row's own local type; a row without one is not checked.
        const auto rules = FetchTypeInfo(Cell(row, LOCAL_TYPE_NAME));
        if (!rules)
            return {};
        const localtype::Value &bounds =
            col == LENGTH ? rules->length : col == PRECISION ? rules->precision : rules->scale;
        const QString what = col == LENGTH      ? QStringLiteral("Length")
                             : col == PRECISION ? QStringLiteral("Precision")
                                                : QStringLiteral("Scale");
        if (!modString::NumberIn(v, bounds.min, bounds.max))
            return modString::OutOfRange(what, bounds.min, bounds.max);
        return {};
    }
    default: return {};
    }
}

QString frmFields::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_FIELD WHERE FILE_NAME = '") + Esc(file()) +
           QStringLiteral("' AND FIELD_NAME = '") + Esc(OrigKey(FIELD_NAME)) + QLatin1Char('\'');
}

QString frmFields::InsertSQL()
{
    const QString c = QStringLiteral(", ");
    return QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, "
                          "PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS ) VALUES (") +
           modDatabase::Quoted(file()) + c + Number(FIELD_NUMBER) + c + Quoted(FIELD_NAME) + c +
           Quoted(LOCAL_TYPE_NAME) + c + Number(OFFSET) + c + Number(LENGTH) + c + Number(PRECISION) + c +
           Number(SCALE) + c + Code(ENCRYPTED) + c + Quoted(FORMAT) + c + Quoted(DEFAULT_VALUE) + c +
           Quoted(REMARKS) + QLatin1Char(')');
}

QString frmFields::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_FIELD SET FIELD_NUMBER = ") + Number(FIELD_NUMBER) +
           QStringLiteral(", LOCAL_TYPE_NAME = ") + Quoted(LOCAL_TYPE_NAME) + QStringLiteral(", OFFSET = ") +
           Number(OFFSET) + QStringLiteral(", LENGTH = ") + Number(LENGTH) + QStringLiteral(", PRECISION = ") +
           Number(PRECISION) + QStringLiteral(", SCALE = ") + Number(SCALE) + QStringLiteral(", ENCRYPTED = ") +
           Code(ENCRYPTED) + QStringLiteral(", FORMAT = ") + Quoted(FORMAT) + QStringLiteral(", DEFAULT_VALUE = ") +
           Quoted(DEFAULT_VALUE) + QStringLiteral(", REMARKS = ") + Quoted(REMARKS) +
           QStringLiteral(" WHERE FILE_NAME = '") +
           Esc(file()) + QStringLiteral("' AND FIELD_NAME = '") + Esc(OrigKey(FIELD_NAME)) + QLatin1Char('\'');
}

QString frmFields::ParentSQL() const
{
    return modDatabase::RowSQL(QStringLiteral("QN_FILE"), {QStringLiteral("FILE_NAME")}, {file()});
}

QString frmFields::FolderKey() const
{
    return NodeKey::Child(NodeKey::File(Datasource(), file()), QStringLiteral("FD"), file());
}

std::optional<GridPane::Up> frmFields::UpTarget() const
{
    return Up{NodeKey::File(Datasource(), file()), QStringLiteral("frmFile"), {Datasource(), file()}};
}
