#pragma once

#include <QString>

#include "dragquestion.h"

// The modal continue question after an item of a dragged collection was not
// done: "&Yes" answers 1, "Yes to &All" 2, "&No" and the window's close
// button 0. It has no cancel button: Escape does nothing.
class frmYesToAll : public DragQuestion
{
    Q_OBJECT
public:
    frmYesToAll();

    // Shows `Prompt` in a fresh dialog, centred, and returns the answer.
    static int GetAnswer(const QString &Prompt);

    QPushButton *cmdYes = nullptr;
    QPushButton *cmdYesAll = nullptr;
    QPushButton *cmdNo = nullptr;

public slots:
    void cmdYes_Click();
    void cmdYesAll_Click();
    void cmdNo_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_answer = 0;
};
