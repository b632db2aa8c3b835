#include "mdimain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "copymove/dragdrop.h"
#include "core/cconnections.h"
#include "tree/cnodes.h"
#include "tree/explorer.h"
#include "core/errortrace.h"
#include "panehost/forms.h"
#include "core/frmqnerr.h"
#include "frmwelcome.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "core/panetable.h"
#include "panehost/paneprotocol.h"
#include "settings.h"
#include "ui.h"

namespace {

mdiMain *s_main = nullptr;

const QString kSection = QStringLiteral("mdiMain");
constexpr int kSplitterWidth = 75; // twips
constexpr long kElementNotFound = 35601;

int px(double twips) { return int(twips / 15); }

PaneProtocol &protocol(QWidget *pane)
{
    if (!pane)
        qnerr::raise(qnerr::ObjectNotSet);
    auto *p = dynamic_cast<PaneProtocol *>(pane);
    if (!p)
        qnerr::raise(qnerr::ObjectDoesntSupport);
    return *p;
}

QStringList leading(const QStringList &arguments, int count)
{
    if (arguments.size() < count)
        qnerr::raise(qnerr::SubscriptOutOfRange);
    return arguments.mid(0, count);
}

// One button of a band: its key and tool tip; an empty key is a separator.
struct Button
{
    QString key;
    QString tip;
};

QList<Button> editorButtons(const QString &tag, const QString &up, const QString &object)
{
    return {{QStringLiteral("Up1"), up},
            {},
            {tag + QStringLiteral(" Add"), QStringLiteral("Add New ") + object},
            {tag + QStringLiteral(" Edit"), QStringLiteral("Edit ") + object},
            {tag + QStringLiteral(" Delete"), QStringLiteral("Delete ") + object},
            {},
            {QStringLiteral("OK"), QStringLiteral("OK")},
            {QStringLiteral("Cancel"), QStringLiteral("Cancel")},
            {},
            {QStringLiteral("Undo"), QStringLiteral("Undo changes")}};
}

// The outside program that administers the ODBC data sources.
QString odbcAdministrator()
{
    const QString configured = qEnvironmentVariable("QN_ODBC_ADMIN");
    return configured.isEmpty() ? QStringLiteral("ODBCManageDataSourcesQ4") : configured;
}

} // namespace

// ---------------------------------------------------------------------------
// Loading and unloading

mdiMain &mdiMain::instance()
{
    if (!s_main) {
        new mdiMain; // sets s_main, so that the start-up may use the main window
        s_main->MDIForm_Load();
    }
    return *s_main;
}

bool mdiMain::isLoaded() { return s_main != nullptr; }

void mdiMain::Unload()
{
    if (!s_main)
        return;
    mdiMain *main = s_main;
    // The program's own unload: the current pane is not asked.
    main->MDIForm_Unload();
    main->close();
    delete main;
}

mdiMain::mdiMain()
{
    s_main = this;
    ExplorerWindow::SetCurrent(this);
    PaneHost::SetCurrent(this);
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(QStringLiteral("Quarnel ODBC Administrator"));
    ui::setDialogParent(this);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("mdiClient"));
    auto *rows = new QVBoxLayout(central);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    createCoolbar();
    rows->addWidget(cbrMain);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    rows->addLayout(body, 1);

    picTreeview = new QWidget(central);
    picTreeview->setObjectName(QStringLiteral("picTreeview"));
    picTreeview->installEventFilter(this);
    tvwExplorer = new QTreeView(picTreeview);
    tvwExplorer->setObjectName(QStringLiteral("tvwExplorer"));
    tvwExplorer->setHeaderHidden(true);
    tvwExplorer->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwExplorer->setSelectionMode(QAbstractItemView::SingleSelection);
    picSplitter = new QWidget(picTreeview);
    picSplitter->setObjectName(QStringLiteral("picSplitter"));
    picSplitter->setCursor(Qt::SplitHCursor);
    picSplitter->installEventFilter(this);
    body->addWidget(picTreeview);

    m_client = new QWidget(central);
    m_client->setObjectName(QStringLiteral("picClient"));
    m_client->setAutoFillBackground(true);
    m_client->installEventFilter(this);
    body->addWidget(m_client, 1);
    setCentralWidget(central);
    modGUI::SetMainClientArea(m_client);

    sbrMain = statusBar();
    sbrMain->setObjectName(QStringLiteral("sbrMain"));
    m_status = new QLabel(sbrMain);
    m_status->setObjectName(QStringLiteral("Status"));
    sbrMain->addWidget(m_status, 1);

    createMenus();
    setTreeviewWidth(m_treeviewWidth);
    setSplitterLeft(m_treeviewWidth - kSplitterWidth);
}

mdiMain::~mdiMain()
{
    m_unloaded = true;
    if (modGUI::MainClientArea() == m_client)
        modGUI::SetMainClientArea(nullptr);
    gNodes().setTreeview(nullptr);
    if (ExplorerWindow::Current() == this)
        ExplorerWindow::SetCurrent(nullptr);
    if (PaneHost::Current() == this)
        PaneHost::SetCurrent(nullptr);
    s_main = nullptr;
}

void mdiMain::createMenus()
{
    auto add = [this](QMenu *menu, QAction *&action, const QString &name, const QString &caption) {
        action = menu->addAction(caption);
        action->setObjectName(name);
    };
    auto separator = [](QMenu *menu, QAction *&action, const QString &name) {
        action = menu->addSeparator();
        action->setObjectName(name);
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    add(mnuFile, mnuFileRefresh, QStringLiteral("mnuFileRefresh"), QStringLiteral("&Refresh Datasources"));
    separator(mnuFile, mnuFileSep2, QStringLiteral("mnuFileSep2"));
    add(mnuFile, mnuFileImportCSV, QStringLiteral("mnuFileImportCSV"), QStringLiteral("&Import Catalog"));
    add(mnuFile, mnuFileExportCSV, QStringLiteral("mnuFileExportCSV"), QStringLiteral("&Export Catalog"));
    separator(mnuFile, mnuFileSep1, QStringLiteral("mnuFileSep1"));
    add(mnuFile, mnuFileExit, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"));

    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    add(mnuView, mnuViewToolbar, QStringLiteral("mnuViewToolbar"), QStringLiteral("&Tool Bar"));
    add(mnuView, mnuViewStatusBar, QStringLiteral("mnuViewStatusBar"), QStringLiteral("&Status Bar"));
    mnuViewToolbar->setCheckable(true);
    mnuViewToolbar->setChecked(true);
    mnuViewStatusBar->setCheckable(true);
    mnuViewStatusBar->setChecked(true);
    separator(mnuView, mnuViewSep1, QStringLiteral("mnuViewSep1"));
    add(mnuView, mnuViewOptions, QStringLiteral("mnuViewOptions"), QStringLiteral("&Options"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    add(mnuHelp, mnuHelpAbout, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About ODBC Administrator"));
    connectMenus();
    createNodeMenus();
}

void mdiMain::createCoolbar()
{
    cbrMain = new QWidget(this);
    cbrMain->setObjectName(QStringLiteral("cbrMain"));
    auto *row = new QHBoxLayout(cbrMain);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    auto band = [&](QToolBar *&toolbar, const QString &name, const QString &tag, const QList<Button> &buttons) {
        toolbar = new QToolBar(cbrMain);
        toolbar->setObjectName(name);
        toolbar->setMovable(false);
        toolbar->setFloatable(false);
        toolbar->setIconSize(QSize(16, 16));
        if (!tag.isEmpty())
            toolbar->setProperty("Tag", tag);
        for (const Button &b : buttons) {
            if (b.key.isEmpty()) {
                toolbar->addSeparator();
                continue;
            }
            QAction *action = toolbar->addAction(b.key);
            action->setObjectName(b.key);
            action->setToolTip(b.tip);
        }
        row->addWidget(toolbar);
        m_bands.append(toolbar);
        if (toolbar != tbrMain && toolbar != tbrAbout)
            connect(toolbar, &QToolBar::actionTriggered, this, &mdiMain::tbrPane_ButtonClick);
    };
    const QString up = QStringLiteral("Up1");
    const QString nowhere = QStringLiteral("No where to go!");
    band(tbrMain, QStringLiteral("tbrMain"), QStringLiteral("Main"),
         {{QStringLiteral("DSN Refresh"), QStringLiteral("Refresh Datasources")},
          {QStringLiteral("DSN Admin"), QStringLiteral("Datasource Administrator")},
          {},
          {QStringLiteral("Import"), QStringLiteral("Import Catalog")},
          {QStringLiteral("Export"), QStringLiteral("Export Catalog")}});
    connect(tbrMain, &QToolBar::actionTriggered, this, &mdiMain::tbrMain_ButtonClick);
    band(tbrColumn, QStringLiteral("tbrColumn"), QStringLiteral("Column"),
         editorButtons(QStringLiteral("Column"), QStringLiteral("Up to Column Collection"), QStringLiteral("Column")));
    band(tbrColumns, QStringLiteral("tbrColumns"), {}, {{up, nowhere}});
    band(tbrDatabase, QStringLiteral("tbrDatabase"), QStringLiteral("DB"),
         editorButtons(QStringLiteral("DB"), QStringLiteral("Up to Database collection"), QStringLiteral("Database")));
    band(tbrDatabases, QStringLiteral("tbrDatabases"), {}, {{up, nowhere}});
    band(tbrDBPRV, QStringLiteral("tbrDBPRV"), QStringLiteral("User"),
         editorButtons(QStringLiteral("User"), QStringLiteral("Up to Database Privilige collection"),
                       QStringLiteral("User Privileges")));
    band(tbrDBPRVs, QStringLiteral("tbrDBPRVs"), QStringLiteral("User"), {{up, QStringLiteral("Up to Database Collection")}});
    band(tbrField, QStringLiteral("tbrField"), QStringLiteral("Field"),
         editorButtons(QStringLiteral("Field"), QStringLiteral("Up to the Field collection"), QStringLiteral("Field")));
    band(tbrFields, QStringLiteral("tbrFields"), QStringLiteral("Fields"), {{up, QStringLiteral("Up to File '?'")}});
    band(tbrFile, QStringLiteral("tbrFile"), QStringLiteral("File"),
         editorButtons(QStringLiteral("File"), QStringLiteral("Up to File collection"), QStringLiteral("File")));
    band(tbrFiles, QStringLiteral("tbrFiles"), QStringLiteral("Files"), {{up, nowhere}});
    band(tbrSpecialCols, QStringLiteral("tbrSpecialCols"), {},
         {{up, QStringLiteral("Up to Table ?")},
          {},
          {QStringLiteral("Special Column Edit"), QStringLiteral("Edit Special Columns")},
          {},
          {QStringLiteral("OK"), QStringLiteral("OK")},
          {QStringLiteral("Cancel"), QStringLiteral("Cancel")}});
    QList<Button> table =
        editorButtons(QStringLiteral("Table"), QStringLiteral("Up to Table collection"), QStringLiteral("Table"));
    table << Button{} << Button{QStringLiteral("ViewData"), QStringLiteral("View Data")};
    band(tbrTable, QStringLiteral("tbrTable"), QStringLiteral("Table"), table);
    band(tbrTables, QStringLiteral("tbrTables"), QStringLiteral("Tables"), {{up, QStringLiteral("Up to...")}});
    band(tbrTBLPRV, QStringLiteral("tbrTBLPRV"), QStringLiteral("User"),
         editorButtons(QStringLiteral("User"), QStringLiteral("Up to Table Privilieges collection"),
                       QStringLiteral("User Privileges")));
    band(tbrTBLPRVs, QStringLiteral("tbrTBLPRVs"), QStringLiteral("TBLPRVS"), {{up, QStringLiteral("Up to...")}});
    band(tbrUser, QStringLiteral("tbrUser"), QStringLiteral("User"),
         editorButtons(QStringLiteral("User"), QStringLiteral("Up to User collection"), QStringLiteral("User")));
    band(tbrUsers, QStringLiteral("tbrUsers"), QStringLiteral("Users"), {{up, nowhere}});
    band(tbrAbout, QStringLiteral("tbrAbout"), {}, {});
    band(tbrViewData, QStringLiteral("tbrViewData"), {}, {{QStringLiteral("Refresh"), QStringLiteral("Refresh Grid")}});
    tbrViewData->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    row->addStretch(1);

    // Stored states: the buttons show icons only (but the viewer's "Refresh");
    // every OK and Cancel is disabled; three list bands show no button.
    for (QToolBar *toolbar : std::as_const(m_bands)) {
        if (toolbar != tbrViewData)
            toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (QAction *action : toolbar->actions())
            if (action->objectName() == QLatin1String("OK") || action->objectName() == QLatin1String("Cancel"))
                action->setEnabled(false);
        if (toolbar != tbrMain)
            toolbar->hide();
    }
    for (QToolBar *toolbar : {tbrDatabases, tbrFiles, tbrUsers})
        modGUI::ToolbarButton(toolbar, up)->setVisible(false);
}

// Start-up.
void mdiMain::MDIForm_Load()
{
    TraceScope trace(QStringLiteral("mdiMain.MDIForm_Load"));
    ErrorHandler handler(QStringLiteral("mdiMain.MDIForm_Load"));
    QCoreApplication::processEvents();
    const auto steps = {
        std::function<void()>([] {
            if (QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')).contains(QLatin1String("DEBUG")))
                modGUI::SetDebugMode(true);
        }),
        std::function<void()>([this] {
            const double left = GetSettingNumber(kSection, QStringLiteral("Left"), 0);
            const double top = GetSettingNumber(kSection, QStringLiteral("Top"), 0);
            const double width = GetSettingNumber(kSection, QStringLiteral("Width"), 9600);
            const double height = GetSettingNumber(kSection, QStringLiteral("Height"), 8700);
            move(px(left), px(top));
            resize(qMax(1, px(width)), qMax(1, px(height)));
        }),
        std::function<void()>([this] {
            setTreeviewWidth(int(std::lround(GetSettingNumber(kSection, QStringLiteral("TreeviewWidth"), 2475))));
            setSplitterLeft(m_treeviewWidth - kSplitterWidth);
            picTreeview_Resize();
        }),
        std::function<void()>([] { gWorkspace(); }),
        std::function<void()>([] { gCurrentPane() = nullptr; }),
        std::function<void()>([this] {
            for (QToolBar *toolbar : std::as_const(m_bands))
                modGUI::SetToolbarImages(toolbar);
        }),
        std::function<void()>([this] { CoolbarContextToolbar(); }),
        std::function<void()>([this] {
            gNodes().setTreeview(tvwExplorer);
            ConnectExplorer(tvwExplorer);
            SetDragDropHandler(&modDragAndDrop::Handler::Instance());
        }),
        std::function<void()>([this] { FetchTreeviewRoot(); }),
        std::function<void()>([this] { PaneDisplay(&forms::Get<frmWelcome>(), {}); }),
    };
    for (const auto &step : steps)
        if (!handler.step(step))
            return; // Ignore ends the start-up at the failing step
}

// Shut-down.
void mdiMain::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    {
        TraceScope trace(QStringLiteral("mdiMain.MDIForm_Unload"));
        ErrorHandler handler(QStringLiteral("mdiMain.MDIForm_Unload"));
        const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        const bool saved = !normal || handler.step([this] {
            SaveSetting(kSection, QStringLiteral("Top"), QString::number(pos().y() * 15));
            SaveSetting(kSection, QStringLiteral("Left"), QString::number(pos().x() * 15));
            SaveSetting(kSection, QStringLiteral("Width"), QString::number(width() * 15));
            SaveSetting(kSection, QStringLiteral("Height"), QString::number(height() * 15));
        });
        if (saved)
            handler.step([this] { SaveSetting(kSection, QStringLiteral("TreeviewWidth"), QString::number(m_treeviewWidth)); });
    }
    // The error form and every pane and dialog close with the main window.
    forms::UnloadAllExcept({});
}

void mdiMain::closeEvent(QCloseEvent *event)
{
    // Work under way (an import, a copy, a drag) holds its forms and its
    // unit: the window stays until it ends.
    if (!m_unloaded && modUpdate::UnitRunning()) {
        Ui().Beep();
        event->ignore();
        return;
    }
    if (!m_unloaded && !leaveCurrent(QStringLiteral("mdiMain.MDIForm_QueryUnload"))) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

// ---------------------------------------------------------------------------
// Layout

void mdiMain::setTreeviewWidth(int twips)
{
    m_treeviewWidth = twips;
    picTreeview->setFixedWidth(qMax(0, px(twips)));
}

void mdiMain::setSplitterLeft(int twips) { m_splitterLeft = twips; }

bool mdiMain::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_unloaded) {
        if (watched == m_client && event->type() == QEvent::Resize)
            MDIForm_Resize();
        else if (watched == picTreeview && event->type() == QEvent::Resize)
            picTreeview_Resize();
        else if (watched == picSplitter && event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            int button = 0;
            if (mouse->buttons() & Qt::LeftButton)
                button |= 1;
            if (mouse->buttons() & Qt::RightButton)
                button |= 2;
            if (mouse->buttons() & Qt::MiddleButton)
                button |= 4;
            int shift = 0;
            if (mouse->modifiers() & Qt::ShiftModifier)
                shift |= 1;
            if (mouse->modifiers() & Qt::ControlModifier)
                shift |= 2;
            if (mouse->modifiers() & Qt::AltModifier)
                shift |= 4;
            picSplitter_MouseMove(button, shift, mouse->position().x() * 15, mouse->position().y() * 15);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void mdiMain::MDIForm_Resize()
{
    TraceScope trace(QStringLiteral("mdiMain.MDIForm_Resize"));
    ErrorHandler handler(QStringLiteral("mdiMain.MDIForm_Resize"));
    handler.step([this] {
        QWidget *pane = gCurrentPane();
        if (pane && pane->parentWidget() == m_client)
            pane->setGeometry(m_client->rect());
    });
}

void mdiMain::picTreeview_Resize()
{
    ErrorHandler handler(QStringLiteral("mdiMain.picTreeview_Resize"));
    if (!handler.step([this] {
            const int height = picTreeview->height();
            const int treeWidth = m_treeviewWidth - 60 > 0 ? px(m_treeviewWidth - 60) : tvwExplorer->width();
            tvwExplorer->setGeometry(0, 0, treeWidth, height);
            picSplitter->setGeometry(px(m_splitterLeft), 0, px(kSplitterWidth), height);
            picSplitter->raise();
        }))
        return;
    handler.step([this] { MDIForm_Resize(); });
}

void mdiMain::picSplitter_MouseMove(int button, int, double x, double)
{
    if (button != 1)
        return;
    ErrorHandler handler(QStringLiteral("mdiMain.picSplitter_MouseMove"));
    handler.step([&] {
        long left = std::lrint(m_splitterLeft + x - kSplitterWidth / 2.0); // halves to even
        left = left / 15 * 15;
        if (left <= 0)
            return;
        setSplitterLeft(int(left));
        setTreeviewWidth(int(left) + 60);
        picTreeview_Resize();
    });
}

// ---------------------------------------------------------------------------
// Pane host

void mdiMain::unloadViewer()
{
    QWidget *current = gCurrentPane();
    if (current && current->objectName() == QLatin1String("frmTableData"))
        forms::Unload(current);
}

// Makes `form` the current pane, hiding a current pane of another name; true
// when the pane changed.
bool mdiMain::makeCurrent(QWidget *form)
{
    if (!form)
        qnerr::raise(qnerr::ObjectNotSet);
    QWidget *current = gCurrentPane();
    const bool changed = !current || current->objectName() != form->objectName();
    if (current && current != form)
        current->hide();
    if (form->parentWidget() != m_client) {
        form->setParent(m_client);
        form->hide();
    }
    gCurrentPane() = form;
    const CNodePtr selected = gNodes().SelectedItem();
    m_paneNode = selected ? selected->Key : QString();
    return changed;
}

// Asks the current pane whether it may go. Its own writes may move the tree's
// selection and the focus: they go back to where the request found them, and
// the selection to the pane's node when the pane stays.
bool mdiMain::leaveCurrent(const QString &routine)
{
    const QPointer<QWidget> pane = gCurrentPane();
    auto *protocol = dynamic_cast<PaneProtocol *>(pane.data());
    if (!protocol)
        return true;
    const CNodePtr selected = gNodes().SelectedItem();
    const QString requested = selected ? selected->Key : QString();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    bool leave = false;
    ErrorHandler handler(routine);
    handler.step([&] { leave = protocol->QueryLeave(); });
    const QString node = leave ? requested : m_paneNode;
    const CNodePtr now = gNodes().SelectedItem();
    if (!node.isEmpty() && (!now || now->Key != node))
        if (const CNodePtr item = gNodes().Item(node); item && gNodes().Node(node))
            gNodes().setSelectedItem(item);
    if (leave && focus && focus->isVisible() && !(pane && pane->isAncestorOf(focus)))
        focus->setFocus();
    return leave;
}

int mdiMain::PaneDisplay(QWidget *form, const QStringList &arguments)
{
    // A step may unload the form (and a yield destroy it) before it is reloaded.
    const QPointer<QWidget> held(form);
    const QString formName = form ? form->objectName() : QString();
    ErrorHandler handler(QStringLiteral("mdiMain.PaneDisplay"));
    bool missingObject = false;
    bool hiddenForDialog = false;
    handler.treat = [&](const QnError &e) {
        if (e.Number() != qnerr::ObjectNotSet)
            return Treated::No;
        missingObject = true;
        return Treated::Exit;
    };
    // The main window hides while the error dialog is up.
    handler.beforeDialog = [&] {
        if (isVisible()) {
            hide();
            hiddenForDialog = true;
        }
    };
    auto showAgain = [&] {
        if (hiddenForDialog) {
            show();
            hiddenForDialog = false;
        }
    };
    auto step = [&](const std::function<void()> &fn) {
        return handler.step([&] {
            showAgain();
            fn();
        });
    };

    if (!leaveCurrent(QStringLiteral("mdiMain.PaneDisplay"))) {
        Status();
        return 0;
    }
    int result = 0;
    bool redirected = false;
    bool changed = false;
    std::optional<CMouseSleeper> sleeper;
    const bool done =
        step([&] { unloadViewer(); }) && step([&] {
            form = forms::Reload(held, formName);
            // "Items" is read for every request, so a stored value that cannot be read fails here.
            const bool editItems = options::Items() == 1;
            const PaneFacts *facts = form ? PaneTable::Find(form->objectName()) : nullptr;
            if (editItems && facts && facts->isEditor()) {
                redirected = true;
                if (!arguments.isEmpty() && arguments.size() <= 5)
                    PaneEdit(form, arguments);
            }
        });
    if (done && !redirected) {
        sleeper.emplace();
        const bool shown = step([&] { changed = makeCurrent(form); }) && step([&] { MDIForm_Resize(); }) && step([&] {
            // A pane with no row gets no call.
            if (const PaneFacts *facts = PaneTable::Find(gCurrentPane()->objectName()))
                result = protocol(gCurrentPane()).Display(leading(arguments, facts->displayKeys));
        }) && step([&] {
            MDIForm_Resize();
            if (changed)
                CoolbarContextToolbar();
        });
        if (!shown)
            result = 0;
    }
    if (missingObject)
        return -1;
    showAgain();
    if (!done)
        result = 0;
    Status();
    return result;
}

void mdiMain::PaneAddNew(QWidget *form, const QStringList &arguments) { paneEditor(Member::AddNew, form, arguments); }
void mdiMain::PaneEdit(QWidget *form, const QStringList &arguments) { paneEditor(Member::Edit, form, arguments); }
void mdiMain::PaneDelete(QWidget *form, const QStringList &arguments) { paneEditor(Member::Delete, form, arguments); }

void mdiMain::paneEditor(Member member, QWidget *form, const QStringList &arguments)
{
    const QPointer<QWidget> held(form);
    const QString formName = form ? form->objectName() : QString();
    ErrorHandler handler(member == Member::AddNew ? QStringLiteral("mdiMain.PaneAddNew")
                         : member == Member::Edit ? QStringLiteral("mdiMain.PaneEdit")
                                                  : QStringLiteral("mdiMain.PaneDelete"));
    if (!leaveCurrent(handler.routine)) {
        Status();
        return;
    }
    CMouseSleeper sleeper;
    bool changed = false;
    handler.step([&] { unloadViewer(); }) && handler.step([&] {
        form = forms::Reload(held, formName);
        changed = makeCurrent(form);
    }) && handler.step([&] { MDIForm_Resize(); }) && handler.step([&] {
        QWidget *pane = gCurrentPane();
        const PaneFacts *facts = PaneTable::Find(pane->objectName());
        if (!facts || !facts->isEditor())
            return;
        const int group = facts->editorGroup;
        PaneProtocol &editor = protocol(pane);
        switch (member) {
        case Member::AddNew: editor.AddNew(leading(arguments, group)); break;
        case Member::Edit: editor.Edit(leading(arguments, group + 1)); break;
        case Member::Delete: editor.Delete(leading(arguments, group + 1)); break;
        }
    }) && handler.step([&] {
        if (changed)
            CoolbarContextToolbar();
    });
    Status();
}

void mdiMain::PaneShow(QWidget *form)
{
    ErrorHandler handler(QStringLiteral("mdiMain.PaneShow"));
    bool changed = false;
    handler.step([&] {
        if (gCurrentPane() != form)
            unloadViewer();
    }) && handler.step([&] { changed = makeCurrent(form); }) &&
        handler.step([&] { MDIForm_Resize(); }) && handler.step([&] {
            form->show();
            if (changed)
                CoolbarContextToolbar();
        });
}

// The form a request names: the loaded one, or a fresh one from its factory.
// A name no form has goes to the error dialog under the host's name.
QWidget *mdiMain::paneForm(const QString &name, const QString &routine)
{
    QWidget *form = nullptr;
    ErrorHandler handler(routine);
    handler.step([&] {
        form = forms::Load(name);
        if (!form)
            qnerr::raise(kElementNotFound, QStringLiteral("Element not found"));
    });
    return form;
}

int mdiMain::PaneDisplay(const QString &form, const QStringList &arguments)
{
    if (QWidget *pane = paneForm(form, QStringLiteral("mdiMain.PaneDisplay")))
        return PaneDisplay(pane, arguments);
    Status();
    return 0;
}

void mdiMain::PaneAddNew(const QString &form, const QStringList &arguments)
{
    if (QWidget *pane = paneForm(form, QStringLiteral("mdiMain.PaneAddNew")))
        PaneAddNew(pane, arguments);
    else
        Status();
}

void mdiMain::PaneEdit(const QString &form, const QStringList &arguments)
{
    if (QWidget *pane = paneForm(form, QStringLiteral("mdiMain.PaneEdit")))
        PaneEdit(pane, arguments);
    else
        Status();
}

void mdiMain::PaneDelete(const QString &form, const QStringList &arguments)
{
    if (QWidget *pane = paneForm(form, QStringLiteral("mdiMain.PaneDelete")))
        PaneDelete(pane, arguments);
    else
        Status();
}

// ---------------------------------------------------------------------------
// Coolbar and status bar

QToolBar *mdiMain::PaneBand(const QString &formName) const
{
    const PaneFacts *facts = PaneTable::Find(formName);
    return facts && facts->band > 1 ? m_bands.value(facts->band - 1) : nullptr;
}

void mdiMain::CoolbarContextToolbar()
{
    for (int band = 1; band < m_bands.size(); ++band)
        m_bands[band]->hide();
    if (QWidget *pane = gCurrentPane())
        if (QToolBar *band = PaneBand(pane->objectName()))
            band->show();
}

void mdiMain::Status(const QString &message)
{
    // Shown already: a handler run for each of many nodes writes the same text each time.
    if (m_status->text() == message)
        return;
    m_status->setText(message);
    sbrMain->repaint();
}

QString mdiMain::StatusText() const { return m_status->text(); }

void mdiMain::tbrPane_ButtonClick(QAction *button)
{
    const QObject *band = sender();
    ErrorHandler handler(QStringLiteral("mdiMain.%1_ButtonClick").arg(band ? band->objectName() : QString()));
    handler.step([&] { protocol(gCurrentPane()).tbr_ButtonClick(button->objectName()); });
}

void mdiMain::tbrMain_ButtonClick(QAction *button)
{
    ErrorHandler handler(QStringLiteral("mdiMain.tbrMain_ButtonClick"));
    const QString key = button ? button->objectName() : QString();
    handler.step([&] {
        if (key == QLatin1String("DSN Refresh"))
            FetchTreeviewRoot();
        else if (key == QLatin1String("DSN Admin"))
            Ui().StartProgram(odbcAdministrator(), {}); // the result is not looked at
        else if (key == QLatin1String("Import"))
            mnuFileImportCSV_Click();
        else if (key == QLatin1String("Export"))
            mnuFileExportCSV_Click();
    });
}
