#pragma once

// What the catalog export and import panes share: a title strip, one command
// button, and Display for a data source: the Welcome pane shows while the data
// source connects, and again when it cannot; otherwise the pane becomes the
// current pane and the data source's node shows as connected.

#include <QWidget>

#include "dao.h"
#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QLabel;
class QPushButton;

class CatalogPane : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    // keys: the data-source name. 0 when shown, -1 when not.
    int Display(const QStringList &keys) override;

    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    QPushButton *cmdAction = nullptr;
    QLabel *imgCorner = nullptr;

protected:
    CatalogPane(const QString &name, const QString &title, const QString &action);
    // The title shown for the data source.
    virtual QString Title(const QString &dataSource) const = 0;
    virtual void cmdAction_Click() = 0;
    void resizeEvent(QResizeEvent *event) override;
    // A file chosen in a file dialog: a name without an extension that names
    // no file gets the dialogs' default extension ".txt".
    static QString WithDefaultExtension(const QString &file);
    // The main window's status text.
    static void Status(const QString &text = QStringLiteral("Ready"));

    // The open database of the data source shown, taken again from the
    // registry when the connection was lost (91 before Display).
    dao::Database &db();
    // The database Display took; its Name is the data source.
    dao::DatabasePtr m_db;
    // Display leaves quietly on a missing object (91) instead of reporting it.
    bool m_quietWithoutObject = false;

private:
    void Form_Load();
    bool m_loaded = false;
};
