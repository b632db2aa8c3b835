#include "frmfile.h"

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
#include "panehost/forms.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmFile>(QStringLiteral("frmFile"));

namespace {
const QString kName = QStringLiteral("FILE_NAME");
const QString kOpenString = QStringLiteral("OPEN_STRING");
const QString kRecordSize = QStringLiteral("RECORD_SIZE");
const QString kOrganisation = QStringLiteral("FILE_ORGANISATION");
const QString kRecordType = QStringLiteral("RECORD_TYPE");
const QString kRemarks = QStringLiteral("REMARKS");
} // namespace

frmFile::frmFile()
    : EditorFrame({QStringLiteral("frmFile"),
                   QStringLiteral("QN_FILE"),
                   {kName},
                   {},
                   QStringLiteral("fi"),
                   QStringLiteral("frmFiles"),
                   {},
                   QStringLiteral("Are you sure you want to delete this File?"),
                   false,
                   false})
{
    setWindowTitle(QStringLiteral("File"));
    resize(Twips(0, 0, 7005, 5655).size());
    constexpr int prompt = 120, field = 1860, promptWidth = 1695, promptHeight = 255;
    auto row = [&](int top, int width, int height = 315) { return Twips(field, top, width, height); };
    auto at = [&](int top) { return Twips(prompt, top + 30, promptWidth, promptHeight); };

    // Created in the column order of the INSERT, which is also the tab order.
    txtName = AddText(0, kName, row(780, 2775),
                      QStringLiteral("A unique name by which the selected file definition can be accessed from within "
                                     "the table definition."));
    txtOpenString = AddText(1, kOpenString, row(1140, 4815));
    txtRecordSize = AddText(2, kRecordSize, row(1500, 855), QStringLiteral("The total length of all the fields in the file."));
    txtOrganisation = AddTwin(3, kOrganisation, Twips(60, 4800, 1335, 315));
    txtRecordType = AddTwin(4, kRecordType, Twips(1500, 4800, 1335, 315));
    txtRemarks = AddMemo(5, kRemarks, row(2580, 4815, 675), QStringLiteral("Any notes you wish to make about this File"));

    cboOrganisation = AddCombo(0, kOrganisation, row(1860, 1635),
                               QStringLiteral("Used to specify the type of file being defined.  Supported types are "
                                              "Indexed, Relative and Sequential.  The file organisation can be "
                                              "selected from the drop-down list."),
                               false);
    cboOrganisation->addItems({QStringLiteral("INDEXED"), QStringLiteral("RELATIVE"), QStringLiteral("SEQUENTIAL")});
    cboOrganisation->setCurrentIndex(-1);
    cboRecordType = AddCombo(1, kRecordType, row(2220, 1635),
                             QStringLiteral("Defines the type of records stored in the file.  Supported types are "
                                            "Fixed and Variable.  The record type can be selected from the dropdown "
                                            "list."),
                             false);
    cboRecordType->addItems({QStringLiteral("FIXED"), QStringLiteral("VARIABLE")});
    cboRecordType->setCurrentIndex(-1);

    NumbersOnly(txtRecordSize);
    AddUpDown(0, txtRecordSize, MinRecordSize, MaxRecordSize, Twips(field + 855, 1500, 240, 330));
    cmdCalcRecordSize = new QToolButton(this);
    cmdCalcRecordSize->setObjectName(QStringLiteral("cmdCalcRecordSize"));
    cmdCalcRecordSize->setText(QStringLiteral("\u03a3"));
    cmdCalcRecordSize->setToolTip(QStringLiteral("Calculate record size"));
    cmdCalcRecordSize->setGeometry(Twips(field + 1155, 1500, 360, 330));
    cmdCalcRecordSize->hide();
    connect(cmdCalcRecordSize, &QToolButton::clicked, this, &frmFile::cmdCalcRecordSize_Click);
    auto *range = new QLabel(QStringLiteral("(0 to 65535)"), this);
    range->setObjectName(QStringLiteral("lblMinMax_0"));
    range->setAttribute(Qt::WA_TranslucentBackground);
    range->setGeometry(Twips(field + 1635, 1530, 1335, 255));

    AddPrompt(0, QStringLiteral("File &Name:"), at(780), txtName);
    AddPrompt(1, QStringLiteral("Open &String:"), at(1140), txtOpenString);
    AddPrompt(2, QStringLiteral("&Record Size:"), at(1500), txtRecordSize);
    AddPrompt(3, QStringLiteral("File &Organisation:"), at(1860), cboOrganisation);
    AddPrompt(4, QStringLiteral("Record &Type:"), at(2220), cboRecordType);
    AddPrompt(5, QStringLiteral("Re&marks"), at(2580), txtRemarks);
    PlaceButtons(4380, 3420);

    const QList<QWidget *> order = {txtName,       txtOpenString, txtRecordSize, cmdCalcRecordSize, cboOrganisation,
                                    cboRecordType, txtRemarks,    cmdAction,     cmdCancel};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString frmFile::where() const { return kName + QStringLiteral(" = ") + Quote(m_shownKey); }

QString frmFile::Title(Entry entry) const
{
    switch (entry) {
    case Entry::Display: return m_shownKey + QStringLiteral(" - File Properties");
    case Entry::Add: return QStringLiteral("Add New File Definition to ") + DataSource();
    case Entry::Edit: return m_shownKey + QStringLiteral(" - Edit File Definition");
    case Entry::Delete: return m_shownKey + QStringLiteral(" - Delete File Definition");
    }
    return {};
}

QString frmFile::SelectSQL() const { return QStringLiteral("SELECT * FROM QN_FILE WHERE ") + where(); }

bool frmFile::IsSystemObject() const { return modDatabase::IsSystemFile(m_shownKey); }

QString frmFile::CalcParentKey() const
{
    const QString n = DataSource();
    return NodeKey::Child(NodeKey::Datasource(n), QStringLiteral("FI"), n);
}

void frmFile::EnableEdit(bool State)
{
    EditorFrame::EnableEdit(State);
    // The record-size button serves an edit only.
    cmdCalcRecordSize->setEnabled(State);
    cmdCalcRecordSize->setVisible(State && !m_shownKey.isEmpty());
    if (State)
        txtName->setFocus();
}

bool frmFile::ValidateFields()
{
    TraceScope trace(TraceName("ValidateFields"));
    const QString name = Text(kName);
    if (modString::TrimBlanks(name).isEmpty())
        return Refuse(QStringLiteral("Please give this File a name."), txtName);
    if (modString::TrimBlanks(cboOrganisation->currentText()).isEmpty())
        return Refuse(QStringLiteral("Please specify a File Organisation"), cboOrganisation);
    if (modString::TrimBlanks(cboRecordType->currentText()).isEmpty())
        return Refuse(QStringLiteral("Please specify a Record Type"), cboRecordType);
    if (name != m_shownKey && RowExists(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = ") + Quote(name)))
        return Refuse(QStringLiteral("The Datasource '") + DataSource() +
                          QStringLiteral("' already contains a File definition called '") + name + QLatin1Char('\''),
                      txtName);
    // Only a whole number in range passes; anything else gets the range message.
    const std::optional<long> size = WholeNumber(Text(kRecordSize));
    if (!size || *size < MinRecordSize || *size > MaxRecordSize)
        return Refuse(QStringLiteral("Record Size out of range.\r\nPlease enter a value between %1 and %2.")
                          .arg(MinRecordSize)
                          .arg(MaxRecordSize),
                      txtRecordSize);
    return true;
}

QString frmFile::UpdateSQL() const
{
    return UpdateStatement({kOpenString, kRecordSize, kOrganisation, kRecordType, kRemarks}, where());
}

bool frmFile::Rename(const QString &oldName, const QString &newName)
{
    return modUpdate::UpdateFile(DataSource(), oldName, newName);
}

bool frmFile::RefuseDelete(bool)
{
    if (!modDatabase::IsSystemFile(m_shownKey))
        return false;
    Ui().MsgBox(QStringLiteral("You cannot delete File '") + m_shownKey + QLatin1Char('\''), ui::vbInformation);
    return true;
}

bool frmFile::ConfirmSave(Entry entry)
{
    if (entry != Entry::Delete)
        return true;
    const auto count = Query(QStringLiteral("SELECT COUNT(FIELD_NAME) AS RECORD_COUNT FROM QN_FIELD WHERE ") + where());
    const QVariant fields = count->Eof() ? QVariant(0) : count->Value(QStringLiteral("RECORD_COUNT"));
    const QString question = QStringLiteral("Deleteing the File '") + m_shownKey +
                             QStringLiteral("' will also remove the ") + fields.toString() + QLatin1Char(' ') +
                             modString::Pluralise(QStringLiteral("Field"), fields.toLongLong()) +
                             QStringLiteral(" attached to it.\r\n\r\nAre you sure you wish to delete this File?");
    if (Ui().MsgBox(question, ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return false;
    const auto tables = Query(QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE ") + where());
    if (tables->Eof())
        return true;
    return Ui().MsgBox(QStringLiteral("Warning this file is referenced by Table '") +
                           tables->Value(QStringLiteral("TABLE_NAME")).toString() +
                           QStringLiteral("'\r\nAre you sure you want to remove it?"),
                       ui::vbYesNo + ui::vbQuestion) == ui::vbYes;
}

QList<EditorFrame::Statement> frmFile::DeleteStatements() const
{
    return {
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_FILE"), where())},
        {{}, modDatabase::BuildDeleteSQL(QStringLiteral("QN_FIELD"), where())},
    };
}

// An add reloads the Files folder; either save then reveals the file's node.
void frmFile::RefreshFolder()
{
    if (EditorMode() == QLatin1String("File Add"))
        ::ReloadFolder(CalcParentKey());
    modGUI::RefreshNodePath(CalcNodeKey());
}

void frmFile::cmdCalcRecordSize_Click()
{
    const QString routine = TraceName("cmdCalcRecordSize_Click");
    TraceScope trace(routine);
    if (m_shownKey.isEmpty())
        return;
    const QString sql = QStringLiteral("SELECT SUM(LENGTH) As RecordLength FROM QN_FIELD WHERE ") + where();
    ErrorHandler handler(routine, sql);
    handler.step([&] { SetText(kRecordSize, Total(sql)); }); // a file without fields: 0
}
