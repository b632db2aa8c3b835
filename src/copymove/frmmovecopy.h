#pragma once

#include <QString>

#include "dragquestion.h"

// The modal "Move or Copy?" question of a drop: "&Copy" answers 2, "&Move" 1,
// "Cancel", Escape and the window's close button 0. It opens where it was
// last closed (settings section "frmMoveCopy", Left and Top in twips),
// centred the first time; "Width" and "Height" are read there, never written.
class frmMoveCopy : public DragQuestion
{
    Q_OBJECT
public:
    frmMoveCopy();

    // Shows `Message` and returns the answer (0 Cancel, 1 Move, 2 Copy).
    static int Query(const QString &Message);

    QPushButton *cmdCopy = nullptr;
    QPushButton *cmdMove = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void cmdCopy_Click();
    void cmdMove_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    void Form_Unload();

    // The buttons' pressed marks, cleared at every load.
    bool m_copy = false;
    bool m_move = false;
    bool m_cancel = false;
};
