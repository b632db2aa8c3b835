#include "frmdsn.h"

#include <QLabel>
#include <QResizeEvent>

#include "panehost/forms.h"
#include "tree/cnodes.h"
#include "core/errortrace.h"
#include "core/modgui.h"
#include "tree/nodekey.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmDSN>(QStringLiteral("frmDSN"));

frmDSN::frmDSN()
{
    setObjectName(QStringLiteral("frmDSN"));
    panelook::SetBackground(this, Qt::white);

    imgCorner = panelook::CornerImage(this);

    add = panelook::TitleStrip(this, 615);
    add->setObjectName(QStringLiteral("add"));
    add->resize(Twips(0, 0, 6735, 615).size());
    lblTitle = panelook::MakeTitle(add, QStringLiteral("lblTitle"), QStringLiteral("Datasource"),
                                   panelook::Font(14.25), Twips(600, 120, 1455, 330), true);

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(Twips(180, 720, 6375, 315));
    lblDescription->setAttribute(Qt::WA_TranslucentBackground);
}

void frmDSN::Form_Load()
{
    modGUI::ApplyFormStyle(this);
    m_loaded = true;
}

int frmDSN::Display(const QStringList &keys)
{
    if (!m_loaded)
        Form_Load();
    const QString dataSource = keys.value(0);
    QStandardItem *node = gNodes().TreeNode(NodeKey::Datasource(dataSource));
    if (CNodes::Image(node) == QLatin1String("DSN Ghost")) {
        lblTitle.setText(dataSource + QStringLiteral(" (Unconnected) - Datasource Properties"));
        lblDescription->setText(QStringLiteral("Please connect to this datasource to explorer it further..."));
    } else {
        lblTitle.setText(dataSource + QStringLiteral(" (Connected) - Datasource Properties"));
        lblDescription->setText(QString());
    }
    show();
    return 0;
}

void frmDSN::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorHandler handler(QStringLiteral("frmDSN.Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        // The strip spans the pane, so that a long title is not cut.
        add->resize(qMax(width(), Twips(0, 0, 6735, 0).width()), add->height());
    });
}
