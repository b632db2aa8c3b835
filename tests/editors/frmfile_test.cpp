// The file definition editor: its controls and reads, the catalog's own files,
// its validation, its statements, its rename with the fields and tables, its
// delete with its questions, and the record-size button. The frame's own
// behaviour is tested with the database editor.

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "editorfixture.h"
#include "editors/storage/frmfile.h"

namespace {

const QString kFilesKey = QStringLiteral("DSN=QnTest:FI=QnTest:");

class FileEditor : public EditorOf<frmFile>
{
protected:
    FileEditor() : EditorOf(QStringLiteral("frmFile"), {"File Add", "File Edit", "File Delete", "OK", "Cancel", "Undo"}) {}

    QStringList fileRow(const QString &name)
    {
        return rows(QStringLiteral("SELECT FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, REMARKS "
                                   "FROM QN_FILE WHERE FILE_NAME = '%1'")
                        .arg(name));
    }
    // The rows that name a file: its definition, its fields, the tables over it.
    QString owned(const QString &name)
    {
        return counts({"QN_FILE", "QN_FIELD", "QN_TABLE"}, QStringLiteral("FILE_NAME = '%1'").arg(name));
    }
    void openFiles() { openPath({QStringLiteral("DSN=QnTest:"), kFilesKey}); }
    // A new file that passes every rule.
    void fillNew(frmFile &e, const QString &name)
    {
        type(e.txtName, name);
        type(e.cboOrganisation, QStringLiteral("I"));
        type(e.cboRecordType, QStringLiteral("F"));
    }
    static QString sqlOf(const QString &name) { return QStringLiteral("FILE_NAME = '%1'").arg(name); }
};

TEST_F(FileEditor, DisplayShowsTheRowWithItsListsAndTwins)
{
    frmFile &e = display(QStringLiteral("MOVEMENT"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("MOVEMENT - File Properties"));
    EXPECT_EQ(e.lblTitle.shadow->text(), e.lblTitle.title->text());
    const QStringList shown = {textOf(e.txtName),         textOf(e.txtOpenString), textOf(e.txtRecordSize),
                               textOf(e.cboOrganisation), textOf(e.txtOrganisation), textOf(e.cboRecordType),
                               textOf(e.txtRecordType),   textOf(e.txtRemarks)};
    EXPECT_EQ(shown, QStringList({"MOVEMENT", "", "63", "SEQUENTIAL", "SEQUENTIAL", "VARIABLE", "VARIABLE",
                                  "Stock movement journal"}));
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtOpenString, e.txtRecordSize, e.cboOrganisation,
                                       e.cboRecordType, e.txtRemarks, e.findChild<QWidget *>(QStringLiteral("spnUpDn_0"))})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(e.txtOrganisation->isVisible());
    EXPECT_FALSE(e.cmdCalcRecordSize->isVisible());
    EXPECT_FALSE(e.cmdAction->isVisible());
    EXPECT_EQ(state(), QStringLiteral("+++---"));
    EXPECT_EQ(visibleBands(), QStringList({"tbrMain", "tbrFile"}));

    // A second file reuses the form; a stored value no item has stays in the twin only.
    open()->Execute(QStringLiteral("UPDATE QN_FILE SET FILE_ORGANISATION = 'HASHED' WHERE FILE_NAME = 'STOCKBIN'"));
    display(QStringLiteral("STOCKBIN"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("STOCKBIN - File Properties"));
    EXPECT_EQ(e.cboOrganisation->currentIndex(), -1);
    EXPECT_EQ(textOf(e.txtOrganisation), QStringLiteral("HASHED"));
    EXPECT_EQ(textOf(e.cboRecordType), QStringLiteral("FIXED"));

    // Editing: everything opens, the record-size button shows; the name has the focus.
    edit(QStringLiteral("CUSTOMER"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("CUSTOMER - Edit File Definition"));
    for (QWidget *w : QList<QWidget *>{e.txtName, e.txtOpenString, e.txtRecordSize, e.cboOrganisation,
                                       e.cboRecordType, e.txtRemarks, e.cmdCalcRecordSize})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(e.cmdCalcRecordSize->isVisible());
    EXPECT_EQ(focused(), e.txtName);
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Update"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_EQ(state(), QStringLiteral("---++-"));
    // A choice in a list goes into its twin at once.
    e.cboOrganisation->setFocus();
    QTest::keyClick(e.cboOrganisation, Qt::Key_Down);
    EXPECT_EQ(textOf(e.txtOrganisation), QStringLiteral("RELATIVE"));
    EXPECT_TRUE(e.cmdAction->isEnabled());
    EXPECT_EQ(bandState(QStringLiteral("frmFile"), {"Undo"}), QStringLiteral("+"));
}

TEST_F(FileEditor, TheCatalogsOwnFilesAreReadOnlyAndNeverDeleted)
{
    const QString before = owned(QStringLiteral("FIELD"));
    for (const char *name : {"FILE", "FIELD", "USER"}) {
        SCOPED_TRACE(name);
        frmFile &e = display(QString::fromLatin1(name));
        EXPECT_EQ(state(), QStringLiteral("---++-"));
        edit(QString::fromLatin1(name));
        EXPECT_EQ(e.lblTitle.title->text(), QString::fromLatin1(name) + QStringLiteral(" - File Properties"));
        EXPECT_FALSE(e.txtRemarks->isEnabled());
        EXPECT_FALSE(e.cmdAction->isVisible());
        EXPECT_EQ(e.EditorMode(), QString());
        clickBand(QStringLiteral("OK")); // does nothing
    }
    // Delete says why instead of asking; the delete mode stays and its OK refuses again.
    ui().answerMsgBox(ui::vbOK);
    main().PaneDelete(QStringLiteral("frmFile"), {kDs, QStringLiteral("FIELD")});
    EXPECT_EQ(takeMessages(), QStringList{"You cannot delete File 'FIELD'"});
    EXPECT_TRUE(ui().shown().isEmpty());
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("File Delete"));
    EXPECT_EQ(editor().lblTitle.title->text(), QStringLiteral("FIELD - Delete File Definition"));
    ui().answerMsgBox(ui::vbOK);
    clickBand(QStringLiteral("OK"));
    ASSERT_EQ(ui().shown().size(), 1);
    EXPECT_EQ(ui().shown()[0].text, QStringLiteral("You cannot delete File 'FIELD'"));
    EXPECT_EQ(ui().shown()[0].style, int(ui::vbInformation));
    EXPECT_EQ(owned(QStringLiteral("FIELD")), before);

    // Names compare exactly: "field" and "FIELDS" are ordinary files.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE) VALUES "
                                   "('field', 0, 'INDEXED', 'FIXED'), ('FIELDS', 0, 'INDEXED', 'FIXED')"));
    edit(QStringLiteral("field"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("File Edit"));
    display(QStringLiteral("FIELDS"));
    EXPECT_EQ(state(), QStringLiteral("+++---"));
}

TEST_F(FileEditor, AddWritesTheInsertAndTheNodeAppears)
{
    openFiles();
    frmFile &e = addNew();
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("Add New File Definition to QnTest"));
    EXPECT_EQ(e.cboOrganisation->currentIndex(), -1);
    EXPECT_EQ(e.cboRecordType->currentIndex(), -1);
    EXPECT_EQ(focused(), e.txtName);
    EXPECT_EQ(e.cmdAction->text(), QStringLiteral("&Add"));
    EXPECT_FALSE(e.cmdAction->isEnabled());
    EXPECT_FALSE(e.cmdCalcRecordSize->isVisible());
    type(e.txtName, QStringLiteral("inv file"));
    EXPECT_EQ(textOf(e.txtName), QStringLiteral("INV_FILE")); // upper case, blank as "_"
    type(e.txtOpenString, QStringLiteral("ro"));
    type(e.cboOrganisation, QStringLiteral("s"));
    type(e.cboRecordType, QStringLiteral("v"));
    type(e.txtRecordSize, QStringLiteral("120"));
    type(e.txtRemarks, QStringLiteral("it's new"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE, "
                          "REMARKS) VALUES ('INV_FILE', 'RO', 0120, 'SEQUENTIAL', 'VARIABLE', 'it''s new')"});
    EXPECT_EQ(fileRow(QStringLiteral("INV_FILE")), QStringList{"INV_FILE|RO|120|SEQUENTIAL|VARIABLE|it's new"});
    EXPECT_TRUE(childTexts(kFilesKey).contains(QStringLiteral("INV_FILE")));
    EXPECT_TRUE(gNodes().Item(kFilesKey + QStringLiteral("fi=INV_FILE:")));
    // Ready for the next file.
    EXPECT_EQ(e.EditorMode(), QStringLiteral("File Add"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(e.cboOrganisation->currentIndex(), -1);
    EXPECT_EQ(current(), QStringLiteral("frmFile"));

    // Undo empties the boxes and the lists, so a file cannot be written without
    // the organisation and record type its lists showed.
    fillNew(e, QStringLiteral("OTHER"));
    clickBand(QStringLiteral("Undo"));
    EXPECT_EQ(textOf(e.txtName), QString());
    EXPECT_EQ(e.cboOrganisation->currentIndex(), -1);
    EXPECT_EQ(e.cboRecordType->currentIndex(), -1);
    EXPECT_EQ(textOf(e.txtOrganisation), QString());
    type(e.txtName, QStringLiteral("OTHER"));
    ui().answerMsgBox(ui::vbOK);
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList{"Please specify a File Organisation"});
    EXPECT_TRUE(fileRow(QStringLiteral("OTHER")).isEmpty());

    // Cancel while adding shows the Files grid.
    clickBand(QStringLiteral("Cancel"));
    EXPECT_EQ(current(), QStringLiteral("frmFiles"));
    if (const QStringList c = calls(QStringLiteral("frmFiles")); !c.isEmpty()) {
        EXPECT_EQ(c.last(), QStringLiteral("Display:QnTest"));
    }
}

TEST_F(FileEditor, EditWritesOneUpdate)
{
    frmFile &e = edit(QStringLiteral("ORDERS"));
    type(e.txtRemarks, QStringLiteral(", it's ours"));
    click(e.cmdAction);
    EXPECT_EQ(modUpdate::LastStatements(),
              QStringList{"UPDATE QN_FILE SET OPEN_STRING = NULL, RECORD_SIZE = 052, FILE_ORGANISATION = 'INDEXED', "
                          "RECORD_TYPE = 'FIXED', REMARKS = 'Order headers, it''s ours' WHERE FILE_NAME = 'ORDERS'"});
    EXPECT_EQ(fileRow(QStringLiteral("ORDERS")), QStringList{"ORDERS||52|INDEXED|FIXED|Order headers, it's ours"});
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDERS - File Properties"));
}

TEST_F(FileEditor, RenameCarriesFieldsAndTablesAndReKeysTheNode)
{
    openFiles();
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("1 7 2"));
    const QString columns = rows(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE FIELD_NAME = 'STATUS'")).join(',');
    frmFile &e = edit(QStringLiteral("ORDERS"));
    retype(e.txtName, QStringLiteral("ORDHEAD"));
    click(e.cmdAction);
    const QStringList s = modUpdate::LastStatements();
    ASSERT_GT(s.size(), 3);
    EXPECT_EQ(s.first(), QStringLiteral("SELECT * FROM QN_FILE WHERE FILE_NAME = 'ORDERS'"));
    EXPECT_TRUE(s.contains(QStringLiteral("UPDATE QN_TABLE SET FILE_NAME = 'ORDHEAD' WHERE FILE_NAME = 'ORDERS'")));
    EXPECT_EQ(s.last(), QStringLiteral("UPDATE QN_FILE SET OPEN_STRING = NULL, RECORD_SIZE = 052, FILE_ORGANISATION = "
                                       "'INDEXED', RECORD_TYPE = 'FIXED', REMARKS = 'Order headers' WHERE FILE_NAME = "
                                       "'ORDHEAD'"));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("0 0 0"));
    EXPECT_EQ(owned(QStringLiteral("ORDHEAD")), QStringLiteral("1 7 2"));
    // The fields keep their names and offsets, and the columns stay bound to them.
    EXPECT_EQ(rows(QStringLiteral("SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = 'ORDHEAD' AND "
                                  "FIELD_NUMBER = 7")),
              QStringList{"CARD-REF|36"});
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM QN_COLUMN WHERE FIELD_NAME = 'STATUS'")).join(','), columns);
    EXPECT_FALSE(gNodes().Item(kFilesKey + QStringLiteral("fi=ORDERS:")));
    const CNodePtr node = gNodes().Item(kFilesKey + QStringLiteral("fi=ORDHEAD:"));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeData, QStringLiteral("ORDHEAD"));
    EXPECT_EQ(gNodes().Node(node->Key)->text(), QStringLiteral("ORDHEAD"));
    EXPECT_EQ(e.lblTitle.title->text(), QStringLiteral("ORDHEAD - File Properties"));
    EXPECT_EQ(e.EditorMode(), QString());
    EXPECT_EQ(current(), QStringLiteral("frmFile"));
}

TEST_F(FileEditor, DeleteAsksAboutTheFieldsAndTheFirstTableThenTakesTheFields)
{
    openFiles();
    const QString question = QStringLiteral("Deleteing the File 'ORDERS' will also remove the 7 Fields attached to "
                                            "it.\r\n\r\nAre you sure you wish to delete this File?");
    display(QStringLiteral("ORDERS"));
    // No to the first question: nothing changes, delete mode stays.
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("File Delete"));
    EXPECT_EQ(takeMessages(), QStringList({"Are you sure you want to delete this File?", question}));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("1 7 2"));
    EXPECT_EQ(editor().EditorMode(), QStringLiteral("File Delete"));
    // No to the table's warning (the first table only): nothing changes.
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbNo);
    clickBand(QStringLiteral("OK"));
    const QString table = scalar(QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE FILE_NAME = 'ORDERS'")).toString();
    EXPECT_EQ(takeMessages(),
              QStringList({question, QStringLiteral("Warning this file is referenced by Table '") + table +
                                         QStringLiteral("'\r\nAre you sure you want to remove it?")}));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("1 7 2"));
    // Yes to both: the file and its fields go; the tables keep naming it.
    ui().answerMsgBox(ui::vbYes);
    ui().answerMsgBox(ui::vbYes);
    clickBand(QStringLiteral("OK"));
    EXPECT_EQ(modUpdate::LastStatements(), QStringList({"DELETE FROM QN_FILE WHERE FILE_NAME = 'ORDERS'",
                                                        "DELETE FROM QN_FIELD WHERE FILE_NAME = 'ORDERS'"}));
    EXPECT_EQ(owned(QStringLiteral("ORDERS")), QStringLiteral("0 0 2"));
    EXPECT_FALSE(gNodes().Item(kFilesKey + QStringLiteral("fi=ORDERS:")));
    EXPECT_EQ(current(), QStringLiteral("frmFiles"));
    takeMessages();

    // One field is "1 Field"; none is "0 Fields", and a file no table uses gets no warning.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE) VALUES "
                                   "('ONE', 0, 'INDEXED', 'FIXED'), ('NONE', 0, 'INDEXED', 'FIXED')"));
    open()->Execute(QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                   "LENGTH) VALUES ('ONE', 1, 'A', 'STRING', 0, 4)"));
    for (const auto &[file, count] : {std::pair{"ONE", "1 Field"}, std::pair{"NONE", "0 Fields"}}) {
        ui().answerMsgBox(ui::vbYes);
        ui().answerMsgBox(ui::vbYes);
        main().PaneDelete(QStringLiteral("frmFile"), {kDs, QString::fromLatin1(file)});
        EXPECT_EQ(takeMessages(),
                  QStringList({"Are you sure you want to delete this File?",
                               QStringLiteral("Deleteing the File '%1' will also remove the %2 attached to it.\r\n\r\n"
                                              "Are you sure you wish to delete this File?")
                                   .arg(QLatin1String(file), QLatin1String(count))}));
        EXPECT_EQ(owned(QString::fromLatin1(file)), QStringLiteral("0 0 0"));
    }
}

// The rules in order, each with its message and focus; nothing is written when one fails.
TEST_F(FileEditor, ValidationRules)
{
    const QString range = QStringLiteral("Record Size out of range.\r\nPlease enter a value between 0 and 65535.");
    auto nameBox = [](frmFile &e) -> QWidget * { return e.txtName; };
    auto sizeBox = [](frmFile &e) -> QWidget * { return e.txtRecordSize; };
    const QList<Rule> rules = {
        {"no name", [](frmFile &e) { e.txtName->clear(); }, "Please give this File a name.", nameBox},
        {"only blanks", [](frmFile &e) { e.txtName->setText(QStringLiteral("   ")); }, "Please give this File a name.",
         nameBox},
        // The organisation is looked at before the record type.
        {"no lists",
         [](frmFile &e) {
             e.cboOrganisation->setCurrentIndex(-1);
             e.cboRecordType->setCurrentIndex(-1);
         },
         "Please specify a File Organisation", [](frmFile &e) -> QWidget * { return e.cboOrganisation; }},
        {"no record type", [](frmFile &e) { e.cboRecordType->setCurrentIndex(-1); }, "Please specify a Record Type",
         [](frmFile &e) -> QWidget * { return e.cboRecordType; }},
        {"name taken", [](frmFile &e) { retype(e.txtName, QStringLiteral("ORDERS")); },
         "The Datasource 'QnTest' already contains a File definition called 'ORDERS'", nameBox},
        {"65536", [](frmFile &e) { retype(e.txtRecordSize, QStringLiteral("65536")); }, range, sizeBox},
        {"-1", [](frmFile &e) { retype(e.txtRecordSize, QStringLiteral("-1")); }, range, sizeBox},
        {"a lone minus", [](frmFile &e) { retype(e.txtRecordSize, QStringLiteral("-")); }, range, sizeBox},
        // Not typed (the box refuses it): it never reaches the statement.
        {"not a number", [](frmFile &e) { e.txtRecordSize->setText(QStringLiteral("1, REMARKS='X'")); }, range, sizeBox},
        {"65535", [](frmFile &e) { retype(e.txtRecordSize, QStringLiteral("65535")); }, "", {}},
        {"0", [](frmFile &e) { retype(e.txtRecordSize, QStringLiteral("0")); }, "", {}},
        {"empty size", [](frmFile &e) { e.txtRecordSize->clear(); }, "", {}},
    };
    checkRules(
        rules,
        [&]() -> frmFile & {
            open()->Execute(QStringLiteral("DELETE FROM QN_FILE WHERE FILE_NAME = 'NEWF'"));
            frmFile &e = addNew();
            fillNew(e, QStringLiteral("NEWF"));
            return e;
        },
        QStringLiteral("QN_FILE"), [&] { return fileRow(QStringLiteral("NEWF")).size() == 1; });
    // Changing only the letter case of a name is a new name: it is checked, and free.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE) VALUES "
                                   "('Mixed', 0, 'INDEXED', 'FIXED')"));
    frmFile &e = edit(QStringLiteral("Mixed"));
    e.txtName->setText(QStringLiteral("MIXED"));
    click(e.cmdAction);
    EXPECT_EQ(takeMessages(), QStringList());
    EXPECT_EQ(fileRow(QStringLiteral("MIXED")).size(), 1);
}

TEST_F(FileEditor, RecordSizeSumsTheFieldsAndIsWrittenOnlyByOK)
{
    frmFile &e = edit(QStringLiteral("ORDLINE"));
    open()->Execute(QStringLiteral("UPDATE QN_FIELD SET LENGTH = 9 WHERE FILE_NAME = 'ORDLINE' AND FIELD_NAME = 'QTY'"));
    click(e.cmdCalcRecordSize);
    EXPECT_EQ(textOf(e.txtRecordSize), QStringLiteral("38"));
    EXPECT_TRUE(e.cmdAction->isEnabled());
    EXPECT_EQ(fileRow(QStringLiteral("ORDLINE")).value(0).section('|', 2, 2), QStringLiteral("34"));
    click(e.cmdAction);
    EXPECT_EQ(fileRow(QStringLiteral("ORDLINE")).value(0).section('|', 2, 2), QStringLiteral("38"));

    // A file without fields sums to 0.
    open()->Execute(QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, RECORD_SIZE, FILE_ORGANISATION, RECORD_TYPE) VALUES "
                                   "('EMPTY', 12, 'INDEXED', 'FIXED')"));
    edit(QStringLiteral("EMPTY"));
    click(e.cmdCalcRecordSize);
    EXPECT_EQ(textOf(e.txtRecordSize), QStringLiteral("0"));
    EXPECT_TRUE(ui().errors().isEmpty());
}

TEST_F(FileEditor, UpShowsTheFilesGridAndSelectsTheFolder)
{
    openFiles();
    edit(QStringLiteral("ORDERS"));
    clickBand(QStringLiteral("Up1"));
    EXPECT_EQ(current(), QStringLiteral("frmFiles"));
    const CNodePtr selected = gNodes().SelectedItem();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Key, kFilesKey);
}

} // namespace
