#include "catalogpane.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/modgui.h"
#include "panehost/panehost.h"
#include "tree/cnodes.h"
#include "tree/explorerwindow.h"
#include "tree/nodekey.h"

using panelook::Twips;

CatalogPane::CatalogPane(const QString &name, const QString &title, const QString &action)
{
    setObjectName(name);
    panelook::SetBackground(this, Qt::white);

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 615);
    picTitlebar->resize(Twips(0, 0, 6735, 615).size());
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), title, panelook::Font(14.25),
                                   Twips(600, 120, 1455, 330), true);

    cmdAction = new QPushButton(action, this);
    cmdAction->setObjectName(QStringLiteral("cmdAction"));
    cmdAction->setFont(panelook::Font(8.25));
    cmdAction->setGeometry(Twips(240, 840, 1215, 375));
    connect(cmdAction, &QPushButton::clicked, this, [this] { cmdAction_Click(); });
}

void CatalogPane::Form_Load()
{
    TraceScope trace(objectName() + QStringLiteral(".Form_Load"));
    modGUI::ApplyFormStyle(this);
    m_loaded = true;
}

int CatalogPane::Display(const QStringList &keys)
{
    const QString routine = objectName() + QStringLiteral(".Display");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    if (m_quietWithoutObject)
        handler.treat = [](const QnError &e) { return e.Number() == qnerr::ObjectNotSet ? Treated::Exit : Treated::No; };
    const QString dataSource = keys.value(0);
    PaneHost &host = PaneHost::Get();
    CConnections::Ptr connection;
    if (!handler.step([&] { host.PaneDisplay(QStringLiteral("frmWelcome"), {}); }) ||
        !handler.step([&] { connection = gConnections().Item(dataSource); }))
        return -1;
    if (!connection || !connection->db) {
        handler.step([&] { host.PaneDisplay(QStringLiteral("frmWelcome"), {}); });
        return -1;
    }
    const bool shown = handler.step([&] {
        m_db = connection->db;
        if (!m_loaded)
            Form_Load();
        lblTitle.setText(Title(dataSource));
        host.PaneShow(this);
        show();
        repaint();
    });
    if (!shown)
        return -1;
    handler.step([&] {
        if (QStandardItem *node = gNodes().Node(NodeKey::Datasource(dataSource))) {
            gNodes().SetImages(node, QStringLiteral("Datasource"), QStringLiteral("Datasource"));
            if (QTreeView *view = gNodes().Treeview())
                view->viewport()->repaint();
        }
    });
    return 0;
}

dao::Database &CatalogPane::db()
{
    if (!m_db)
        qnerr::raise(qnerr::ObjectNotSet);
    return gConnections().Hold(m_db, m_db->Name());
}

QString CatalogPane::WithDefaultExtension(const QString &file)
{
    if (!QFileInfo(file).suffix().isEmpty() || QFile::exists(file))
        return file;
    return file + QStringLiteral(".txt");
}

void CatalogPane::Status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

void CatalogPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorHandler handler(objectName() + QStringLiteral(".Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        // The strip spans the pane, so that a long title is not cut.
        picTitlebar->resize(qMax(width(), Twips(0, 0, 6735, 0).width()), picTitlebar->height());
    });
}
