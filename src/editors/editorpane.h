#pragma once

// The look and the action buttons of a single-record pane: the title strip
// (picTitlebar with the pane icon and the embossed lblTitle_0 and lblTitle_1),
// the corner picture imgCorner, cmdAction (Enter presses it while it is shown
// and enabled) and cmdCancel (Esc, while shown), both hidden until an action
// is pending and sending "OK" and "Cancel" to tbr_ButtonClick, the pane's band
// on the main window and its minimum size. EditorFrame builds the bound-control
// editors on it; a pane without bound controls (the special columns) derives
// from it directly.

#include <QPointer>
#include <QString>
#include <QToolBar>
#include <QWidget>

#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QLabel;
class QPushButton;

class EditorPane : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    QToolBar *Band() const { return m_band; }
    // An add or edit with changes not saved asks "Save changes to <title>?":
    // Yes runs OK, No runs Cancel, Cancel keeps the pane. False while the
    // changes are still not saved (a refused OK included).
    bool QueryLeave() override;
    // An add or edit has changes not saved: cmdAction is shown and enabled.
    bool ChangesPending() const;

    // The controls of the pane.
    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    QLabel *imgCorner = nullptr;
    QPushButton *cmdAction = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    // `form` is the pane's name ("frmTable"): its objectName, its band, its trace names.
    explicit EditorPane(const QString &form);

    // "<form>.<procedure>"
    QString TraceName(const char *procedure) const;
    // The part of Form_Load every pane shares: the band taken, the look applied.
    void LoadLook();
    // cmdAction at (left, top) twips and cmdCancel 1200 twips right of it.
    void PlaceButtons(int left, int top);
    // cmdAction with `caption`, shown and disabled until the first change; cmdCancel shown.
    void ShowAction(const QString &caption);
    void HideAction();
    // The changes are written or given up (cmdAction disabled): the pane
    // moves that follow ask nothing.
    void ChangesDone();
    // Enables or disables the band's button `key` (nothing when the band has none).
    void SetButton(const QString &key, bool enabled);

    // Switches the pane's drawing off for its lifetime (the fills of Display and AddNew).
    class RedrawOff
    {
    public:
        explicit RedrawOff(QWidget *form) : m_form(form), m_was(form->updatesEnabled())
        {
            form->setUpdatesEnabled(false);
        }
        ~RedrawOff() { m_form->setUpdatesEnabled(m_was); }
        RedrawOff(const RedrawOff &) = delete;
        RedrawOff &operator=(const RedrawOff &) = delete;

    private:
        QWidget *m_form;
        bool m_was;
    };

    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    QPointer<QToolBar> m_band;

private:
    QString m_form;
};
