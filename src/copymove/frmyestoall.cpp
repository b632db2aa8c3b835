#include "frmyestoall.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "core/modgui.h"
#include "panehost/panehost.h"
#include "ui.h"

frmYesToAll::frmYesToAll()
    : DragQuestion(QStringLiteral("frmYesToAll"), ui::AppTitle(), QSize(4815, 1890), QRect(660, 60, 4095, 1275))
{
    cmdYes = button("cmdYes", QStringLiteral("&Yes"), 600, 1500);
    cmdYesAll = button("cmdYesAll", QStringLiteral("Yes to &All"), 1800, 1500);
    cmdNo = button("cmdNo", QStringLiteral("&No"), 3120, 1500);
    cmdYesAll->setDefault(true);
    setTabOrder(cmdYes, cmdYesAll);
    setTabOrder(cmdYesAll, cmdNo);

    connect(cmdYes, &QPushButton::clicked, this, &frmYesToAll::cmdYes_Click);
    connect(cmdYesAll, &QPushButton::clicked, this, &frmYesToAll::cmdYesAll_Click);
    connect(cmdNo, &QPushButton::clicked, this, &frmYesToAll::cmdNo_Click);
}

int frmYesToAll::GetAnswer(const QString &Prompt)
{
    frmYesToAll form;
    form.lblPrompt->setText(Prompt);
    modGUI::CentreOnScreen(&form);
    form.cmdYes->setFocus();
    Ui().RunModal(form);
    if (QWidget *pane = gCurrentPane())
        pane->update();
    return form.m_answer;
}

void frmYesToAll::cmdYes_Click()
{
    m_answer = 1;
    done(QDialog::Accepted);
}

void frmYesToAll::cmdYesAll_Click()
{
    m_answer = 2;
    done(QDialog::Accepted);
}

void frmYesToAll::cmdNo_Click()
{
    m_answer = 0;
    done(QDialog::Accepted);
}

void frmYesToAll::keyPressEvent(QKeyEvent *event)
{
    // No cancel button: Escape answers nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
