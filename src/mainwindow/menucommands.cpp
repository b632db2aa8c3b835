// The File, View and Help menus of the main window.

#include <QAction>
#include <QStatusBar>

#include "core/errortrace.h"
#include "mdimain.h"
#include "tree/dragitem.h"
#include "tree/nodekey.h"
#include "ui.h"

namespace {

// Import and Export: the catalog pane `form` of the data source pressed last
// in the tree; any other item gets the message naming `command`.
void catalogPane(mdiMain &main, const QString &command, const QString &form, const QString &routine)
{
    ErrorHandler handler(routine);
    handler.step([&] {
        const DragItem &item = gCurrentItem();
        if (!NodeKey::IsDatasourceType(item.NodeType)) {
            Ui().MsgBox(QStringLiteral("Please select a Datasource before selecting '") + command + QLatin1Char('\''),
                        ui::vbInformation);
            return;
        }
        main.PaneDisplay(form, {item.Key(0)});
    });
}

} // namespace

void mdiMain::connectMenus()
{
    connect(mnuFileRefresh, &QAction::triggered, this, &mdiMain::mnuFileRefresh_Click);
    connect(mnuFileImportCSV, &QAction::triggered, this, &mdiMain::mnuFileImportCSV_Click);
    connect(mnuFileExportCSV, &QAction::triggered, this, &mdiMain::mnuFileExportCSV_Click);
    connect(mnuFileExit, &QAction::triggered, this, &mdiMain::mnuFileExit_Click);
    connect(mnuViewToolbar, &QAction::triggered, this, &mdiMain::mnuViewToolbar_Click);
    connect(mnuViewStatusBar, &QAction::triggered, this, &mdiMain::mnuViewStatusBar_Click);
    connect(mnuViewOptions, &QAction::triggered, this, &mdiMain::mnuViewOptions_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &mdiMain::mnuHelpAbout_Click);
}

void mdiMain::mnuFileRefresh_Click()
{
    ErrorHandler handler(QStringLiteral("mdiMain.mnuFileRefresh_Click"));
    handler.step([this] { FetchTreeviewRoot(); });
}

void mdiMain::mnuFileImportCSV_Click()
{
    catalogPane(*this, QStringLiteral("Import Catalog"), QStringLiteral("frmCSVImport"),
                QStringLiteral("mdiMain.mnuFileImportCSV_Click"));
}

void mdiMain::mnuFileExportCSV_Click()
{
    catalogPane(*this, QStringLiteral("Export Catalog"), QStringLiteral("frmCSVExport"),
                QStringLiteral("mdiMain.mnuFileExportCSV_Click"));
}

// Closes the window as its close box does; its shut-down runs.
void mdiMain::mnuFileExit_Click()
{
    ErrorHandler handler(QStringLiteral("mdiMain.mnuFileExit_Click"));
    handler.step([this] { close(); });
}

// The check mark flipped as the item was chosen (a checkable action); the
// coolbar follows it. Hiding the coolbar leaves each band's state as it is.
void mdiMain::mnuViewToolbar_Click() { cbrMain->setVisible(mnuViewToolbar->isChecked()); }

// Status texts are still written while the bar is hidden.
void mdiMain::mnuViewStatusBar_Click() { sbrMain->setVisible(mnuViewStatusBar->isChecked()); }

void mdiMain::mnuViewOptions_Click() { PaneDisplay(QStringLiteral("frmOptions"), {}); }

void mdiMain::mnuHelpAbout_Click()
{
    ErrorHandler handler(QStringLiteral("mdiMain.mnuHelpAbout_Click"));
    handler.step([this] { PaneDisplay(QStringLiteral("frmAbout"), {}); });
}
