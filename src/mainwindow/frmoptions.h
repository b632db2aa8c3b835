#pragma once

#include <QWidget>

#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The Options pane: the four options of section "Options" ("Win98",
// "SysTables", "FieldOrder", "Items"). OK saves them, rebuilds the tree when
// the system-tables choice changed, unloads every form when the look changed,
// and returns to the Welcome pane.
class frmOptions : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    frmOptions();
    // Shows the pane (loading it from the settings first) with OK disabled.
    int Display(const QStringList &keys = {}) override;

    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    QLabel *imgCorner = nullptr;
    QCheckBox *chkWin98 = nullptr;
    QComboBox *cboItems = nullptr;
    QRadioButton *optFieldOrder[2] = {};
    QCheckBox *chkSysTable = nullptr;
    QLabel *lblWarning = nullptr;
    QLabel *lblSysTable = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void chkSysTable_Click();
    bool m_loaded = false;
};
