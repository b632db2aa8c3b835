#pragma once

#include <QWidget>

#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QLabel;

// The pane shown when no catalog object is: a title strip and a short
// invitation to use the tree. It has no toolbar band.
class frmWelcome : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    frmWelcome();
    // Shows the pane (loading it first); always 0.
    int Display(const QStringList &keys = {}) override;

    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitleBar;
    QLabel *lblDescription = nullptr;
    QLabel *imgCorner = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void picTitlebar_Resize();
    bool m_loaded = false;
};
