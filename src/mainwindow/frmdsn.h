#pragma once

#include <QWidget>

#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QLabel;

// The pane of a data-source node: names the data source and says whether it
// is connected, as the tree node's image tells.
class frmDSN : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    frmDSN();
    // keys: the data-source name. Fails (35601) when the tree has no node for it.
    int Display(const QStringList &keys) override;

    QWidget *add = nullptr; // the title strip
    panelook::EmbossedTitle lblTitle;
    QLabel *lblDescription = nullptr;
    QLabel *imgCorner = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    bool m_loaded = false;
};
