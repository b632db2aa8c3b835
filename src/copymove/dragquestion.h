#pragma once

#include <QDialog>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

// The look of the two questions of a drag: a fixed dialog without minimise
// and maximise buttons, the question icon (imgIcon) left of the prompt
// (lblPrompt), its buttons in one row. Geometry is given in twips.
class DragQuestion : public QDialog
{
public:
    QLabel *imgIcon = nullptr;
    QLabel *lblPrompt = nullptr;

protected:
    DragQuestion(const QString &name, const QString &caption, const QSize &client, const QRect &prompt);
    // A button named `name`, 1095 x 315 twips at (left, top).
    QPushButton *button(const char *name, const QString &caption, int left, int top);
};
