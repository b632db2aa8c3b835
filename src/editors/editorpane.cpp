#include "editorpane.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "appinfo.h"
#include "core/errortrace.h"
#include "core/modgui.h"
#include "panehost/panehost.h"
#include "ui.h"

using panelook::Twips;

EditorPane::EditorPane(const QString &form) : m_form(form)
{
    setObjectName(form);
    panelook::SetBackground(this, Qt::white);

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 615);
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), {}, panelook::Font(14.25),
                                   Twips(600, 120, 4000, 330), true);

    QFont bold = panelook::Font(8.25, true);
    cmdAction = new QPushButton(QStringLiteral("&Ok"), this);
    cmdAction->setObjectName(QStringLiteral("cmdAction"));
    cmdAction->setFont(bold);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setFont(bold);
    for (QPushButton *b : {cmdAction, cmdCancel}) {
        b->resize(Twips(0, 0, 1095, 315).size() + QSize(0, 6));
        b->hide();
    }
    connect(cmdAction, &QPushButton::clicked, this, [this] { tbr_ButtonClick(QStringLiteral("OK")); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { tbr_ButtonClick(QStringLiteral("Cancel")); });
}

QString EditorPane::TraceName(const char *procedure) const { return m_form + QLatin1Char('.') + QLatin1String(procedure); }

void EditorPane::LoadLook()
{
    m_band = PaneHost::Get().PaneBand(m_form);
    modGUI::ApplyFormStyle(this);
    imgCorner->lower();
}

void EditorPane::PlaceButtons(int left, int top)
{
    cmdAction->move(Twips(left, top, 0, 0).topLeft());
    cmdCancel->move(Twips(left + 1200, top, 0, 0).topLeft());
}

void EditorPane::ShowAction(const QString &caption)
{
    cmdAction->setText(caption);
    cmdAction->setEnabled(false);
    cmdAction->show();
    cmdCancel->show();
}

void EditorPane::HideAction()
{
    cmdAction->hide();
    cmdCancel->hide();
}

void EditorPane::ChangesDone() { cmdAction->setEnabled(false); }

bool EditorPane::ChangesPending() const { return !cmdAction->isHidden() && cmdAction->isEnabled(); }

bool EditorPane::QueryLeave()
{
    if (!ChangesPending())
        return true;
    const int answer = Ui().MsgBox(QStringLiteral("Save changes to ") + lblTitle.title->text() + QLatin1Char('?'),
                                   ui::vbYesNoCancel + ui::vbQuestion, appinfo::Title());
    if (answer == ui::vbYes)
        tbr_ButtonClick(QStringLiteral("OK"));
    else if (answer == ui::vbNo)
        tbr_ButtonClick(QStringLiteral("Cancel"));
    else
        return false;
    return !ChangesPending();
}

void EditorPane::SetButton(const QString &key, bool enabled)
{
    if (QAction *button = modGUI::ToolbarButton(m_band, key))
        button->setEnabled(enabled);
}

// Enter presses cmdAction while it is shown and enabled; Esc presses cmdCancel while it is shown.
void EditorPane::keyPressEvent(QKeyEvent *event)
{
    QPushButton *button = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        button = cmdAction;
    else if (event->key() == Qt::Key_Escape)
        button = cmdCancel;
    if (button && button->isVisible() && button->isEnabled()) {
        event->accept();
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EditorPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorHandler handler(TraceName("Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        picTitlebar->resize(width(), picTitlebar->height());
    });
}
