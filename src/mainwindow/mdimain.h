#pragma once

// The main window: the explorer tree on the left with its splitter, the
// coolbar of toolbar bands on top, the status bar, and the client area that
// shows one pane at a time (the pane host).

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "panehost/panehost.h"
#include "tree/explorerwindow.h"

class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QTreeView;

class mdiMain : public QMainWindow, public ExplorerWindow, public PaneHost
{
    Q_OBJECT
public:
    // The main window; the first use loads it, running the start-up
    // (settings, workspace, toolbars, tree root, Welcome pane).
    static mdiMain &instance();
    static bool isLoaded();
    // Closes the main window (its shut-down runs) and destroys it.
    static void Unload();

    // The pane host. `form` is a loaded form (forms::Get<T>()) that derives from
    // PaneProtocol, or a form's name (loaded through forms::Load); `arguments`
    // are the key parts, data-source name first, cut to the counts of the
    // pane's row in PaneTable. PaneDisplay returns the pane's Display result,
    // 0 when nothing was called or the request went to PaneEdit, -1 when a
    // missing object (91) ended it. Each request first asks the current pane
    // (PaneProtocol::QueryLeave), as the refresh of the data sources, their
    // disconnection and the window's close do, and does nothing when it stays.
    int PaneDisplay(QWidget *form, const QStringList &arguments) override;
    void PaneAddNew(QWidget *form, const QStringList &arguments);
    void PaneEdit(QWidget *form, const QStringList &arguments);
    void PaneDelete(QWidget *form, const QStringList &arguments);
    int PaneDisplay(const QString &form, const QStringList &arguments) override;
    void PaneAddNew(const QString &form, const QStringList &arguments) override;
    void PaneEdit(const QString &form, const QStringList &arguments) override;
    void PaneDelete(const QString &form, const QStringList &arguments) override;
    // Makes `form` the current pane again, with its band, without calling any
    // of its members: an editor whose save moved the tree (and with it the
    // current pane) elsewhere takes the band's clicks back. The pane it hides
    // is not asked.
    void PaneShow(QWidget *form) override;
    // Fits the current pane to the client area.
    void MDIForm_Resize();

    // Shows the main toolbar and the current pane's band, hides the others.
    void CoolbarContextToolbar();
    // The band shown for a pane of that name; nullptr for a pane without one.
    QToolBar *PaneBand(const QString &formName) const override;
    // Shows `message` in the status bar at once.
    void Status(const QString &message = QStringLiteral("Ready")) override;
    QString StatusText() const override;
    QTreeView *Treeview() const override { return tvwExplorer; }
    // The explorer's context-menu groups (mnu_DSN, mnu_File, mnu_Field, mnu_DB,
    // mnu_Table, mnu_Column, mnu_User, mnu_DBPRV, mnu_TBLPRV), never in the menu bar.
    QMenu *NodeMenu(const QString &group) const override;
    // QMenu::exec at the pointer.
    void PopupMenu(QMenu *menu) override;

    // Rebuilds the tree root from the data sources of the engine's driver:
    // empties the tree and the connection registry, shows the Welcome pane and
    // unloads every other form (the error trace too).
    void FetchTreeviewRoot();

    // The area the current pane fills.
    QWidget *ClientArea() const { return m_client; }
    // The tree pane's width in twips (as stored in "TreeviewWidth").
    int TreeviewWidth() const { return m_treeviewWidth; }

    // Controls.
    QWidget *picTreeview = nullptr;
    QTreeView *tvwExplorer = nullptr;
    QWidget *picSplitter = nullptr;
    QWidget *cbrMain = nullptr;
    QStatusBar *sbrMain = nullptr;
    QToolBar *tbrMain = nullptr, *tbrColumn = nullptr, *tbrColumns = nullptr, *tbrDatabase = nullptr,
             *tbrDatabases = nullptr, *tbrDBPRV = nullptr, *tbrDBPRVs = nullptr, *tbrField = nullptr,
             *tbrFields = nullptr, *tbrFile = nullptr, *tbrFiles = nullptr, *tbrSpecialCols = nullptr,
             *tbrTable = nullptr, *tbrTables = nullptr, *tbrTBLPRV = nullptr, *tbrTBLPRVs = nullptr,
             *tbrUser = nullptr, *tbrUsers = nullptr, *tbrAbout = nullptr, *tbrViewData = nullptr;
    QMenu *mnuFile = nullptr, *mnuView = nullptr, *mnuHelp = nullptr;
    QAction *mnuFileRefresh = nullptr, *mnuFileSep2 = nullptr, *mnuFileImportCSV = nullptr,
            *mnuFileExportCSV = nullptr, *mnuFileSep1 = nullptr, *mnuFileExit = nullptr, *mnuViewToolbar = nullptr,
            *mnuViewStatusBar = nullptr, *mnuViewSep1 = nullptr, *mnuViewOptions = nullptr, *mnuHelpAbout = nullptr;

public slots:
    // The File, View and Help menus.
    void mnuFileRefresh_Click();
    void mnuFileImportCSV_Click();
    void mnuFileExportCSV_Click();
    void mnuFileExit_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewOptions_Click();
    void mnuHelpAbout_Click();
    // The data-source commands of the context menu, and Recalculate Offsets.
    void mnu_DSNConnect_Click();
    void mnu_DSNExpandAll_Click();
    void mnu_DSNClear_Click();
    void mnu_DSNDisconnect_Click();
    void mnu_FieldRecalculate_Click();

    void tbrMain_ButtonClick(QAction *button);
    // A click on a pane's band, passed to the current pane's tbr_ButtonClick.
    void tbrPane_ButtonClick(QAction *button);
    // The splitter drag: `button` 1 left, 2 right, 4 middle; `x` in twips from the splitter's left.
    void picSplitter_MouseMove(int button, int shift, double x, double y);
    void picTreeview_Resize();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    mdiMain();
    ~mdiMain() override;
    void MDIForm_Load();
    void MDIForm_Unload();
    void createMenus();
    void connectMenus();
    void createNodeMenus();
    void createCoolbar();
    void setTreeviewWidth(int twips);
    void setSplitterLeft(int twips);
    enum class Member { AddNew, Edit, Delete };
    void paneEditor(Member member, QWidget *form, const QStringList &arguments);
    QWidget *paneForm(const QString &name, const QString &routine);
    bool makeCurrent(QWidget *form);
    bool leaveCurrent(const QString &routine);
    void unloadViewer();

    QWidget *m_client = nullptr;
    QLabel *m_status = nullptr;
    QList<QToolBar *> m_bands; // band 1 to 20
    QList<QMenu *> m_nodeMenus;
    int m_treeviewWidth = 2475; // twips
    int m_splitterLeft = 2400;  // twips
    bool m_unloaded = false;
    QString m_paneNode; // the tree's selection when the current pane was made current
};
