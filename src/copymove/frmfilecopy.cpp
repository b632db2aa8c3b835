#include "frmfilecopy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/copyrows.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "tree/explorer.h"
#include "tree/nodekey.h"
#include "ui.h"

using copyRows::Number;
using copyRows::Text;
using copyRows::Value;
using modDatabase::Quoted;

namespace {

[[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmFileCopy"), [](const QStringList &keys) {
    return int(frmFileCopy::Display(keys.value(0), keys.value(1)));
});

const QString kTemplate = QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = '?'");

} // namespace

frmFileCopy::frmFileCopy() : CopyDialog(QStringLiteral("frmFileCopy"), QStringLiteral("Copy File"))
{
    ReadyOnUnload = false;
    AddPrompt(0, QStringLiteral("Source File:"), QRect(120, 180, 840, 195));
    lblFilename = AddValue(QStringLiteral("lblFilename"), QRect(1260, 120, 2835, 315));
    AddPrompt(1, QStringLiteral("New Filename:"), QRect(120, 540, 1050, 195));
    txtFilename = AddNameBox(QStringLiteral("txtFilename"), QRect(1260, 480, 2835, 315));
    AddFrame(QRect(0, 0, 4200, 900));
    AddButtons(1020, true);
    SetClientSize(4215, 1410);
    setTabOrder(txtFilename, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmFileCopy::cmdOK_Click);
}

bool frmFileCopy::Display(const QString &Datasource, const QString &Filename)
{
    QString ds;
    const bool shown = Show<frmFileCopy>(Datasource, [&](frmFileCopy &form) {
        ds = form.Datasource();
        form.mFilename = Filename;
        form.lblFilename->setText(Filename);
        form.FilterNameBox(form.txtFilename, QStringLiteral("QN_FILE"), QStringLiteral("FILE_NAME"));
        form.txtFilename->setText(form.Proposal(kTemplate, Filename));
        form.txtFilename->setFocus();
    });
    // Copied or not, the Files folder reads its files again.
    if (shown) {
        try {
            ReloadFolder(NodeKey::Child(NodeKey::Datasource(ds), QStringLiteral("FI"), ds));
        } catch (const std::exception &) {
        }
    }
    return false;
}

void frmFileCopy::cmdOK_Click()
{
    const QString routine = QStringLiteral("frmFileCopy.cmdOK_Click");
    NameTest test;
    test.lookupSQL = [](const QString &name) {
        return QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = ") + Quoted(name);
    };
    test.takenQuestion = [](const QString &name) {
        return QStringLiteral("There is already a file called '") + name +
               QStringLiteral("' in this datasource.\r\nWould you like me to generate a unique name for this new "
                              "File?");
    };
    // Formed from the name typed.
    test.takenProposal = [&](const QString &name) { return Proposal(kTemplate, name); };
    switch (TestName(txtFilename, test, routine)) {
    case Verdict::Stay: return;
    case Verdict::Close: unload(); return;
    case Verdict::Copy: break;
    }
    const QString source = mFilename;
    const QString target = txtFilename->text();
    RunCopy(routine, [&] { CopyRows(source, target); }, QString());
}

void frmFileCopy::CopyRows(const QString &Source, const QString &Target)
{
    using copyRows::RowDelete;
    using modUpdate::UnitInsert;
    using modUpdate::UnitOpen;
    Status(QStringLiteral("Copying File..."));
    const auto file = UnitOpen(QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = ") + Quoted(Source));
    UnitInsert(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, "
                              "RECORD_TYPE, REMARKS) VALUES (") +
                   Quoted(Target) + QStringLiteral(", ") + Text(*file, "OPEN_STRING") + QStringLiteral(", ") +
                   Number(*file, "RECORD_SIZE", true) + QStringLiteral(", ") + Text(*file, "FILE_ORGANISATION") +
                   QStringLiteral(", ") + Text(*file, "RECORD_TYPE") + QStringLiteral(", ") + Text(*file, "REMARKS") +
                   QLatin1Char(')'),
               RowDelete(QStringLiteral("QN_FILE"), {QStringLiteral("FILE_NAME")}, {Target}));

    using Row = const dao::Recordset &;
    copyRows::CopyEach(
        QStringLiteral("SELECT * FROM QN_FIELD WHERE FILE_NAME = ") + Quoted(Source),
        [](Row rs) { return QStringLiteral("Copying Field '") + Value(rs, "FIELD_NAME") + QStringLiteral("..."); },
        [&](Row rs) {
            return QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                  "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES (") +
                   Quoted(Target) + QStringLiteral(", ") + Number(rs, "FIELD_NUMBER") + QStringLiteral(", ") +
                   Text(rs, "FIELD_NAME") + QStringLiteral(", ") + Text(rs, "LOCAL_TYPE_NAME") + QStringLiteral(", ") +
                   Number(rs, "OFFSET") + QStringLiteral(", ") + Number(rs, "LENGTH") + QStringLiteral(", ") +
                   Number(rs, "PRECISION") + QStringLiteral(", ") + Number(rs, "SCALE") + QStringLiteral(", ") +
                   Number(rs, "ENCRYPTED") + QStringLiteral(", ") + Text(rs, "FORMAT") + QStringLiteral(", ") +
                   Text(rs, "DEFAULT_VALUE") + QStringLiteral(", ") + Text(rs, "REMARKS") + QLatin1Char(')');
        },
        [&](Row rs) {
            return RowDelete(QStringLiteral("QN_FIELD"), {QStringLiteral("FILE_NAME"), QStringLiteral("FIELD_NAME")},
                             {Target, Value(rs, "FIELD_NAME")});
        });
}
