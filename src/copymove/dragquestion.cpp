#include "dragquestion.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "panehost/panelook.h"
#include "ui.h"

using panelook::Twips;

DragQuestion::DragQuestion(const QString &name, const QString &caption, const QSize &client, const QRect &prompt)
    : QDialog(ui::dialogParent())
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(Twips(0, 0, client.width(), client.height()).size());

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(Twips(120, 120, 480, 480));
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32));
    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setGeometry(Twips(prompt.x(), prompt.y(), prompt.width(), prompt.height()));
    lblPrompt->setWordWrap(true);
    lblPrompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QPushButton *DragQuestion::button(const char *name, const QString &caption, int left, int top)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(Twips(left, top, 1095, 315));
    return b;
}
