#include "frmwizardfiletotable.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "core/copyrows.h"
#include "core/boundcontrols.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/modapimisc.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "datasources.h"
#include "filetotable.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "panehost/panelook.h"
#include "settings.h"
#include "tree/explorerwindow.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

namespace {

const QString kName = QStringLiteral("frmWizardFileToTable");
const QString kSection = QStringLiteral("frmWizard");
constexpr int kLastPage = 3;

[[maybe_unused]] const bool declared = dialogs::Declare(kName, [](const QStringList &keys) {
    return int(frmWizardFileToTable::Display(keys.value(0), keys.value(1), keys.value(2)));
});

QString traceName(const char *procedure) { return kName + QLatin1Char('.') + QLatin1String(procedure); }

void status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

// The selected item's text of a list; "" when none is selected.
QString selected(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

bool hasSelection(const QListWidget *list) { return list->currentItem() && list->currentItem()->isSelected(); }

// Selects the item of `list` whose text is `text` (compared exactly); none found: nothing selected.
void selectItem(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
}

void focusWhenVisible(QWidget *w)
{
    if (w->isVisible())
        w->setFocus();
}

} // namespace

frmWizardFileToTable::frmWizardFileToTable() : QDialog(ui::dialogParent())
{
    setObjectName(kName);
    setWindowTitle(QStringLiteral("File to Table Wizard"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(Twips(0, 0, 7815, 4935).size());

    picLogo = new QLabel(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setGeometry(Twips(0, 0, 1800, 4320));
    picLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panelook::SetBackground(picLogo, QColor(238, 228, 248));

    auto label = [](QWidget *parent, const QString &name, const QString &text, const QRect &twips) {
        auto *l = new QLabel(text, parent);
        l->setObjectName(name);
        l->setGeometry(twips);
        return l;
    };
    const char *const headings[] = {"File to Table Wizard", "Step 1 - Selecting a File",
                                    "Step 2 - Selecting the Database", "Step 3 - Properties of the new table"};
    const char *const prompts[] = {nullptr, "Please select the file you wish to convert to a table",
                                   "Please select the Database to create the new Table in",
                                   "Please select the properties you require for your new table"};
    for (int page = 0; page <= kLastPage; ++page) {
        auto *panel = new QWidget(this);
        panel->setObjectName(QStringLiteral("picPage_%1").arg(page));
        panel->setGeometry(Twips(1920, 0, 5895, 4320));
        panel->setVisible(page == 0);
        picPage[page] = panel;
        QLabel *corner = label(panel, QStringLiteral("lblPage_%1").arg(page),
                               QStringLiteral("Page %1 of 4").arg(page + 1), Twips(4455, 120, 1320, 195));
        corner->setAlignment(Qt::AlignRight | Qt::AlignTop);
        corner->setFont(panelook::Font(7));
        QLabel *title = label(panel, QStringLiteral("lblTitle_%1").arg(page), QLatin1String(headings[page]),
                              page == 0 ? Twips(120, 480, 5655, 600) : Twips(120, 360, 5655, 330));
        title->setFont(page == 0 ? panelook::Font(18, true) : panelook::Font(12, true));
        if (page == 0)
            continue;
        auto *line = new QFrame(panel);
        line->setObjectName(QStringLiteral("linSep_%1").arg(page));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(Twips(120, 720, 5655, 30));
        QLabel *prompt = label(panel, QStringLiteral("lblPrompt_%1").arg(page), QLatin1String(prompts[page]),
                               Twips(120, 840, 5655, 255));
        prompt->setWordWrap(true);
    }
    QLabel *welcome = label(picPage[0], QStringLiteral("lblWelcome"),
                            QStringLiteral("This Wizard will guide you through the proccess of creating a new Table "
                                           "based upon an Existing File Specification.  Use the Back and Next buttons "
                                           "below to progress.  Once the wizard has collected all the information it "
                                           "requires, you can click on the Finish button to create your Table."),
                            Twips(120, 1440, 5655, 2280));
    welcome->setWordWrap(true);
    welcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QWidget *page1 = picPage[1];
    QLabel *lblDatasource = label(page1, QStringLiteral("lblDatasource"), QStringLiteral("Data&source:"),
                                  Twips(120, 1380, 1200, 255));
    cboFileDatasource = new QComboBox(page1);
    cboFileDatasource->setObjectName(QStringLiteral("cboFileDatasource"));
    cboFileDatasource->setEditable(true);
    cboFileDatasource->setInsertPolicy(QComboBox::NoInsert);
    cboFileDatasource->setGeometry(Twips(1440, 1320, 4335, 315));
    lblDatasource->setBuddy(cboFileDatasource);
    QLabel *lblFile = label(page1, QStringLiteral("lblFile"), QStringLiteral("Fil&e:"), Twips(120, 1800, 1200, 255));
    lstFile = new QListWidget(page1);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->setGeometry(Twips(1440, 1800, 4335, 2400));
    lblFile->setBuddy(lstFile);

    QLabel *lblDB = label(picPage[2], QStringLiteral("lblDB"), QStringLiteral("&Database:"), Twips(120, 1380, 1200, 255));
    lstDB = new QListWidget(picPage[2]);
    lstDB->setObjectName(QStringLiteral("lstDB"));
    lstDB->setGeometry(Twips(1440, 1320, 4335, 2880));
    lblDB->setBuddy(lstDB);

    const struct
    {
        int element;
        const char *caption;
        const char *tag;
    } properties[] = {{0, "&Table Name:", "TABLE_NAME"},
                      {1, "D&isplay Name:", "DISPLAY_NAME"},
                      {2, "Fi&le Specification:", "FILE_SPECIFICATION"},
                      {4, "Remarks:", "REMARKS"}};
    int top = 1320;
    for (const auto &p : properties) {
        QLabel *caption = label(picPage[3], QStringLiteral("lblProperty_%1").arg(p.element),
                                QLatin1String(p.caption), Twips(120, top + 60, 1680, 255));
        auto *box = new QLineEdit(picPage[3]);
        box->setObjectName(QStringLiteral("txtProperty_%1").arg(p.element));
        box->setProperty("Tag", QLatin1String(p.tag));
        box->setGeometry(Twips(1800, top, 3975, 315));
        caption->setBuddy(box);
        txtProperty[p.element] = box;
        top += 480;
    }

    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("linSep_0"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(Twips(0, 4320, 7815, 30));
    auto button = [&](QPushButton *&b, const char *name, const QString &caption, int left) {
        b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(Twips(left, 4440, 1215, 375));
        b->setAutoDefault(false);
    };
    button(cmdCancel, "cmdCancel", QStringLiteral("Cancel"), 1920);
    button(cmdPrevious, "cmdPrevious", QStringLiteral("< &Previous"), 3720);
    button(cmdNext, "cmdNext", QStringLiteral("&Next >"), 4935);
    button(cmdFinish, "cmdFinish", QStringLiteral("&Finish"), 6480);
    cmdNext->setDefault(true);

    modAPIMisc::InstallAutoComplete(cboFileDatasource);
    connect(cboFileDatasource, &QComboBox::currentTextChanged, this, &frmWizardFileToTable::cboFileDatasource_Change);
    connect(lstFile, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            lstFile_Click();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &frmWizardFileToTable::cmdCancel_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmWizardFileToTable::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmWizardFileToTable::cmdNext_Click);
    connect(cmdFinish, &QPushButton::clicked, this, &frmWizardFileToTable::cmdFinish_Click);
    SetCurrentPage(0);
}

// ------------------------------------------------------------------ opening and closing

bool frmWizardFileToTable::Display(const QString &FileDatasource, const QString &File, const QString &Database)
{
    load("Display", FileDatasource, File, Database, [](ErrorHandler &handler, frmWizardFileToTable &form) {
        handler.step([&] { form.SetCurrentPage(0); }) && handler.step([&] { Ui().RunModal(form); });
    });
    return false;
}

void frmWizardFileToTable::Unattended(const QString &FileDatasource, const QString &File, const QString &DBDatasource,
                                      const QString &Database)
{
    Q_UNUSED(DBDatasource);
    load("Unattended", FileDatasource, File, Database,
         [](ErrorHandler &, frmWizardFileToTable &form) { form.cmdFinish_Click(); });
}

void frmWizardFileToTable::load(const char *procedure, const QString &FileDatasource, const QString &File,
                                const QString &Database,
                                const std::function<void(ErrorHandler &, frmWizardFileToTable &)> &run)
{
    const QString routine = traceName(procedure);
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    // The main window stays while the wizard is on screen and writes.
    const modUpdate::WorkInProgress work;
    QPointer<frmWizardFileToTable> form;
    // The lists filled, then the given names chosen; a change of the Datasource
    // box fills the file and database lists through its change event.
    if (handler.step([&] {
            form = &forms::Get<frmWizardFileToTable>();
            form->Form_Load();
        }) &&
        handler.step([&] { form->FetchDatasourceList(form->cboFileDatasource); }) && handler.step([&] {
            if (!FileDatasource.isEmpty())
                form->cboFileDatasource->setEditText(FileDatasource);
            else if (form->cboFileDatasource->count() > 0)
                form->cboFileDatasource->setCurrentIndex(0);
        }) &&
        handler.step([&] {
            if (!File.isEmpty())
                selectItem(form->lstFile, File);
        }) &&
        handler.step([&] {
            if (!Database.isEmpty())
                selectItem(form->lstDB, Database);
        }))
        run(handler, *form);
    if (form)
        form->unload();
}

void frmWizardFileToTable::Form_Load()
{
    TraceScope trace(traceName("Form_Load"));
    modGUI::PlaceAtSavedPosition(this, kSection);
    picLogo->setPixmap(modGUI::BackgroundImage(QStringLiteral("Purple Corner")));
}

void frmWizardFileToTable::Form_Unload()
{
    TraceScope trace(traceName("Form_Unload"));
    modGUI::SavePosition(this, kSection);
    m_db.reset();
}

void frmWizardFileToTable::unload()
{
    if (!forms::IsLoaded(this))
        return;
    ErrorHandler handler(traceName("Form_Unload"));
    handler.step([&] { Form_Unload(); });
    done(QDialog::Rejected);
    forms::Unload(this);
}

void frmWizardFileToTable::cmdCancel_Click()
{
    TraceScope trace(traceName("cmdCancel_Click"));
    unload();
}

void frmWizardFileToTable::reject() { cmdCancel_Click(); }

// ------------------------------------------------------------------ pages

void frmWizardFileToTable::SetCurrentPage(int NewPage)
{
    TraceScope trace(traceName("Let CurrentPage"));
    NewPage = qBound(0, NewPage, kLastPage);
    cmdNext->setVisible(NewPage != kLastPage);
    picPage[m_page]->hide();
    m_page = NewPage;
    picPage[m_page]->show();
    cmdPrevious->setEnabled(NewPage != 0);
    cmdNext->setEnabled(NewPage < kLastPage);
}

void frmWizardFileToTable::cmdNext_Click()
{
    TraceScope trace(traceName("cmdNext_Click"));
    SetCurrentPage(CurrentPage() + 1);
}

void frmWizardFileToTable::cmdPrevious_Click()
{
    TraceScope trace(traceName("cmdPrevious_Click"));
    SetCurrentPage(CurrentPage() - 1);
}

bool frmWizardFileToTable::ValidatePage(int PageNumber)
{
    TraceScope trace(traceName("ValidatePage"));
    auto refuse = [](const QString &message, QWidget *focus) {
        focusWhenVisible(focus);
        Ui().MsgBox(message, ui::vbInformation);
        return false;
    };
    switch (PageNumber) {
    case 1:
        if (hasSelection(lstFile))
            return true;
        SetCurrentPage(1);
        return refuse(QStringLiteral("Please select a file to convert"), lstFile);
    case 2:
        if (hasSelection(lstDB))
            return true;
        SetCurrentPage(2);
        return refuse(QStringLiteral("Please select a database to create the table in."), lstDB);
    case 3: {
        if (box(0)->text().trimmed().isEmpty()) {
            SetCurrentPage(3);
            return refuse(QStringLiteral("Please enter a Table Name for this Table."), box(0));
        }
        bool complete = true;
        const QString display = box(1)->text();
        if (!display.isEmpty() && display.toUpper() != box(0)->text().toUpper()) {
            Ui().MsgBox(QStringLiteral("Display Name must match the Table Name, but may be mixed case."),
                        ui::vbInformation);
            focusWhenVisible(box(1));
            complete = false;
        }
        if (box(2)->text().isEmpty()) {
            Ui().MsgBox(QStringLiteral("Please enter a File Specification for this Table."), ui::vbInformation);
            focusWhenVisible(box(2));
            complete = false;
        }
        return complete;
    }
    default: return true;
    }
}

// ------------------------------------------------------------------ lists

void frmWizardFileToTable::FetchDatasourceList(QComboBox *Control)
{
    TraceScope trace(traceName("FetchDatasourceList"));
    ErrorHandler handler(traceName("FetchDatasourceList"));
    const QSignalBlocker quiet(Control);
    Control->clear();
    QStringList names;
    if (handler.step([&] { names = datasources::EngineNames(); }))
        Control->addItems(names);
    Control->setCurrentIndex(-1);
    Control->clearEditText();
}

dao::DatabasePtr frmWizardFileToTable::datasourceDb()
{
    const auto connection = gConnections().Item(cboFileDatasource->currentText());
    if (!connection || !connection->db)
        return nullptr;
    m_db = connection->db;
    return m_db;
}

void frmWizardFileToTable::fillList(QListWidget *Control, const char *procedure, const QString &own,
                                    const QString &all)
{
    TraceScope trace(traceName(procedure));
    ErrorHandler handler(traceName(procedure));
    dao::DatabasePtr db;
    if (!handler.step([&] {
            Control->clear();
            db = datasourceDb();
        }) ||
        !db)
        return;
    modBoundControls::PopulateList(Control, *db, options::SysTables() == 0 ? own : all);
}

void frmWizardFileToTable::FetchFileList(QListWidget *Control)
{
    fillList(Control, "FetchFileList",
             QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME NOT IN ('CNTRL','COLUMN','DB','DBPRV',"
                            "'DRIVER','FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER') ORDER BY FILE_NAME "
                            "ASC"),
             QStringLiteral("SELECT FILE_NAME FROM QN_FILE ORDER BY FILE_NAME ASC"));
}

void frmWizardFileToTable::FetchDBList(QListWidget *Control)
{
    fillList(Control, "FetchDBList",
             QStringLiteral("SELECT DATABASE_NAME FROM QN_DB WHERE DATABASE_NAME <> 'QN' ORDER BY DATABASE_NAME"),
             QStringLiteral("SELECT DATABASE_NAME FROM QN_DB ORDER BY DATABASE_NAME"));
}

void frmWizardFileToTable::cboFileDatasource_Change() { cboFileDatasource_Click(); }

void frmWizardFileToTable::cboFileDatasource_Click()
{
    TraceScope trace(traceName("cboFileDatasource_Click"));
    FetchFileList(lstFile);
    FetchDBList(lstDB);
}

void frmWizardFileToTable::lstFile_Click()
{
    TraceScope trace(traceName("lstFile_Click"));
    if (const QListWidgetItem *item = lstFile->currentItem())
        box(0)->setText(item->text().toUpper());
}

// ------------------------------------------------------------------ Finish

void frmWizardFileToTable::cmdFinish_Click()
{
    const QString routine = traceName("cmdFinish_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    clsFormMouseSleeper sleeper;
    struct Ready
    {
        ~Ready() { status(QStringLiteral("Ready")); }
    } ready;

    for (int page = 0; page <= kLastPage; ++page)
        if (!ValidatePage(page))
            return;
    // The data source is held by name: each step takes its connection from the
    // registry again, so Retry after a lost link runs on a new one.
    QString dsn;
    if (!handler.step([&] {
            if (const dao::DatabasePtr db = datasourceDb())
                dsn = db->Name();
        }) ||
        dsn.isEmpty())
        return;
    auto live = [&] { return gConnections().Db(dsn); };
    sleeper.setForm(this);

    fileToTable::NewTable table;
    table.database = selected(lstDB);
    table.table = box(0)->text();
    table.file = selected(lstFile);
    table.specification = box(2)->text();
    table.remarks = box(4)->text();
    table.displayName = box(1)->text();

    handler.info = fileToTable::CountSQL(table.file);
    if (!handler.step([&] {
            const auto rs = live()->OpenRecordset(handler.info);
            table.fieldCount = rs->Eof() ? 0 : rs->Value(QStringLiteral("COLUMN_COUNT")).toLongLong();
        }))
        return;
    if (table.fieldCount == 0) {
        Ui().MsgBox(QStringLiteral("File '") + table.file + QStringLiteral("' does not contain any Fields!"),
                    ui::vbExclamation);
        return;
    }
    handler.info = fileToTable::ExistsSQL(table.database, table.table);
    bool exists = false;
    if (!handler.step([&] { exists = !live()->OpenRecordset(handler.info)->Eof(); }))
        return;
    if (exists) {
        Ui().MsgBox(QStringLiteral("Database '") + table.database + QStringLiteral("' already contains a Table called '") +
                        table.table + QLatin1Char('\''),
                    ui::vbOKOnly);
        SetCurrentPage(3);
        box(0)->setFocus();
        return;
    }
    // Every field worked out, and the skipped ones said, before anything is written.
    QList<fileToTable::Column> columns;
    if (!handler.step([&] { columns = fileToTable::PlanColumns(*live(), dsn, table, handler.info); }))
        return;
    for (const fileToTable::Column &c : std::as_const(columns))
        if (!c.skipped.isEmpty())
            Ui().MsgBox(c.skipped, ui::vbOKOnly);
    if (!modUpdate::RunUnit(dsn, routine, [&] { fileToTable::WriteRows(table, columns); })) {
        copyRows::TellIfDeletedAgain();
        return;
    }

    hide();
    Ui().MsgBox(QStringLiteral("Table Created"), ui::vbInformation);
    // From here on a failing step is passed over.
    try {
        modGUI::RefreshNodePath(NodeKey::Child(NodeKey::Database(dsn, table.database), QStringLiteral("TA"),
                                               table.database));
    } catch (const std::exception &) {
    }
    try {
        if (PaneHost *host = PaneHost::Current())
            host->PaneDisplay(QStringLiteral("frmTables"), {dsn, table.database});
    } catch (const std::exception &) {
    }
    unload();
}
