#pragma once

#include <QWidget>

#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QFrame;
class QLabel;

// The About pane: the application's title, version and build, the maker's
// contact details and two links (web and support e-mail) opened by the desktop.
class frmAbout : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    frmAbout();
    // Shows the pane (loading it first); always 0.
    int Display(const QStringList &keys = {}) override;

    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    QLabel *imgCorner = nullptr;
    QLabel *imgLogo = nullptr;
    QFrame *shpShadow = nullptr;
    QLabel *lblAppTitle = nullptr;
    QLabel *lblAppVersion = nullptr;
    QLabel *lblAppBuild = nullptr;
    QLabel *lblWWW = nullptr;
    QLabel *lblEMail = nullptr;

public slots:
    void lblEMail_Click();
    void lblWWW_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void linkClick(QLabel *link, const QString &trace, const QString &target, const QString &failure);
    bool m_loaded = false;
};
