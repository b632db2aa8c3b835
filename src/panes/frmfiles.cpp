#include "frmfiles.h"

#include "core/moddatabase.h"
#include "core/modstring.h"
#include "panehost/forms.h"
#include "settings.h"
#include "tree/nodekey.h"

[[maybe_unused]] static const bool declared = forms::Declare<frmFiles>(QStringLiteral("frmFiles"));

namespace {

enum { FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS };

} // namespace

frmFiles::frmFiles()
{
    setObjectName(QStringLiteral("frmFiles"));
    Particulars p;
    p.catalogTable = QStringLiteral("QN_FILE");
    p.columns = {
        Column(QStringLiteral("FILE_NAME")).Key(true),
        Column(QStringLiteral("OPEN_STRING")),
        Column(QStringLiteral("RECORD_SIZE")).Lookup(0).Number().NewRow(QStringLiteral("0")),
        Column(QStringLiteral("FILE_ORGANISATION")).List(0).NewRow(QStringLiteral("INDEXED")),
        Column(QStringLiteral("RECORD_TYPE")).List(1).NewRow(QStringLiteral("FIXED")),
        Column(QStringLiteral("REMARKS")),
    };
    p.lists = {{QStringLiteral("INDEXED"), QStringLiteral("RELATIVE"), QStringLiteral("SEQUENTIAL")},
               {QStringLiteral("FIXED"), QStringLiteral("VARIABLE")}};
    p.lookups = 1;
    SetParticulars(std::move(p));
}

QString frmFiles::Title(const QStringList &keys) const { return keys.value(0) + QStringLiteral(" - Files"); }

QString frmFiles::Query() const
{
    const QString select =
        QStringLiteral("SELECT FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS ");
    if (options::SysTables() == 0)
        return select + QStringLiteral("FROM QN_FILE WHERE FILE_NAME NOT IN ('CNTRL','COLUMN','DB','DBPRV','DRIVER',"
                                       "'FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER')");
    return select + QStringLiteral("FROM QN_FILE ORDER BY FILE_NAME ASC");
}

// By the stored name: a row whose typed name is refused stays editable.
bool frmFiles::RefuseCell(int, int) const { return modDatabase::IsSystemFile(OrigKey(FILE_NAME)); }

// The record size: the sum of the lengths of the fields saved under the row's saved name.
void frmFiles::LookupClick(int element)
{
    if (element != 0)
        return;
    if (EditingNewRow() || OrigKey(FILE_NAME).isEmpty()) {
        Inform(QStringLiteral("You need to add some Fields to this File before I can calculate the Record Size.."));
        return;
    }
    const auto rs = OpenQuery(QStringLiteral("SELECT SUM(LENGTH) As RecordLength FROM QN_FIELD WHERE FILE_NAME = '") +
                              Esc(OrigKey(FILE_NAME)) + QLatin1Char('\''));
    const QVariant sum = rs->Eof() ? QVariant() : rs->Value(QStringLiteral("RecordLength"));
    // A sum over text values comes back as a real number: shown as the whole number.
    SetEditorText(sum.isNull() || sum.toString().isEmpty() ? QStringLiteral("0")
                                                            : QString::number(qRound64(sum.toDouble())));
}

QString frmFiles::ValidateCell(int row, int col)
{
    const QString v = Cell(row, col);
    switch (col) {
    case FILE_NAME:
        if (v.isEmpty())
            return QStringLiteral("Filename cannot be blank");
        if ((v != OrigKey(FILE_NAME) || OrigKey(FILE_NAME).isEmpty()) &&
            Exists(QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = '") + Esc(v) + QLatin1Char('\'')))
            return QStringLiteral("This Datasource already contains a File called '%1'").arg(v);
        return {};
    case RECORD_SIZE:
        if (!modString::NumberIn(v, 0, 65535))
            return QStringLiteral("Record Size out of range.\r\nPlease enter a value between 0 and 65535.");
        return {};
    default: return {};
    }
}

QString frmFiles::DeleteSQL()
{
    return QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = '") + Esc(OrigKey(FILE_NAME)) + QStringLiteral("' ");
}

QString frmFiles::InsertSQL()
{
    return QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, "
                          "REMARKS) VALUES ('") +
           Esc(Cell(FILE_NAME)) + QStringLiteral("', ") + Quoted(OPEN_STRING) + QStringLiteral(", ") +
           Number(RECORD_SIZE) + QStringLiteral(", ") + Quoted(FILE_ORGANISATION) + QStringLiteral(", ") +
           Quoted(RECORD_TYPE) + QStringLiteral(", ") + Quoted(REMARKS) + QStringLiteral(") ");
}

QString frmFiles::UpdateSQL()
{
    return QStringLiteral("UPDATE QN_FILE SET OPEN_STRING = ") + Quoted(OPEN_STRING) +
           QStringLiteral(",RECORD_SIZE = ") + Number(RECORD_SIZE) + QStringLiteral(",FILE_ORGANISATION = ") +
           Quoted(FILE_ORGANISATION) + QStringLiteral(",RECORD_TYPE = ") + Quoted(RECORD_TYPE) +
           QStringLiteral(",REMARKS = ") + Quoted(REMARKS) + QStringLiteral(" WHERE FILE_NAME = '") +
           Esc(OrigKey(FILE_NAME)) + QLatin1Char('\'');
}

QString frmFiles::FolderKey() const
{
    return NodeKey::Child(NodeKey::Datasource(Datasource()), QStringLiteral("FI"), Datasource());
}
