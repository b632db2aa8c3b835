#include "frmfieldreorder.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "editors/schema/frmcolumnreorder.h"
#include "panehost/panehost.h"
#include "panehost/panelook.h"
#include "tree/dragitem.h"
#include "tree/explorerwindow.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

namespace {

[[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmFieldReorder"), [](const QStringList &keys) {
    return frmFieldReorder::Display(keys.value(0), keys.value(1));
});

// The sort toggle's picture: "A" over "Z".
QIcon sortPicture()
{
    QPixmap pixmap(20, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setFont(panelook::Font(7, true));
    painter.drawText(QRect(0, 0, 20, 12), Qt::AlignCenter, QStringLiteral("A"));
    painter.drawText(QRect(0, 12, 20, 12), Qt::AlignCenter, QStringLiteral("Z"));
    return QIcon(pixmap);
}

} // namespace

frmFieldReorder::frmFieldReorder() : QDialog(ui::dialogParent())
{
    setObjectName(QStringLiteral("frmFieldReorder"));
    setWindowTitle(QStringLiteral("Reorder Fields"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    lblPrompt = new QLabel(QStringLiteral("Fields:"), this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setGeometry(Twips(120, 120, 2000, 255));
    lstField = new QListWidget(this);
    lstField->setObjectName(QStringLiteral("lstField"));
    lstField->setSelectionMode(QAbstractItemView::SingleSelection);
    lstField->setGeometry(Twips(120, 375, 2895, 3015));

    auto tool = [&](const char *name, int top) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(Twips(3135, top, 495, 495));
        return b;
    };
    cmdUp = tool("cmdUp", 375);
    cmdUp->setArrowType(Qt::UpArrow);
    cmdDown = tool("cmdDown", 930);
    cmdDown->setArrowType(Qt::DownArrow);
    chkSortAlpha = tool("chkSortAlpha", 1485);
    chkSortAlpha->setCheckable(true);
    chkSortAlpha->setIcon(sortPicture());
    chkSortAlpha->setIconSize(QSize(20, 24));

    for (int i = 0; i < 4; ++i) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("linSep_%1").arg(i));
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        panelook::SetBackground(line, panelook::System(i % 2 ? QPalette::Light : QPalette::Mid));
        line->setGeometry(i < 2 ? Twips(120, 3480 + i * 15, 3510, 15) : Twips(3075 + (i - 2) * 15, 375, 15, 3015));
    }

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(120, 3600, 1095, 375));
    cmdCancel->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(2535, 3600, 1095, 375));
    cmdOK->setDefault(true);
    setFixedSize(Twips(0, 0, 3750, 4095).size());

    connect(chkSortAlpha, &QToolButton::toggled, this, &frmFieldReorder::chkSortAlpha_Click);
    connect(cmdUp, &QToolButton::clicked, this, &frmFieldReorder::cmdUp_Click);
    connect(cmdDown, &QToolButton::clicked, this, &frmFieldReorder::cmdDown_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmFieldReorder::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFieldReorder::cmdCancel_Click);
}

// Where the column reorder dialog was last closed; centred on the screen when it has no position.
void frmFieldReorder::Form_Load() { frmColumnReorder::PlaceAtSavedPosition(this); }

int frmFieldReorder::Display(const QString &Datasource, const QString &Filename)
{
    TraceScope trace(QStringLiteral("frmFieldReorder.Display"));
    const auto connection = gConnections().Item(Datasource);
    if (!connection || !connection->db)
        return -1;
    frmFieldReorder form;
    form.mDatabase = connection->db;
    form.mFilename = Filename;
    form.Form_Load();
    form.chkSortAlpha_Click();
    Ui().RunModal(form);
    return 0;
}

void frmFieldReorder::chkSortAlpha_Click()
{
    const QString routine = QStringLiteral("frmFieldReorder.chkSortAlpha_Click");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    // Any order made with Up and Down is dropped.
    lstField->clear();
    handler.step([&] {
        const QString sql = QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = ") +
                            modDatabase::Quoted(mFilename) +
                            (chkSortAlpha->isChecked() ? QStringLiteral(" ORDER BY FIELD_NAME ASC")
                                                       : QStringLiteral(" ORDER BY FIELD_NUMBER ASC"));
        handler.info = sql;
        const auto rs = mDatabase->OpenRecordset(sql, dao::dbOpenSnapshot);
        lstField->clear();
        for (; !rs->Eof(); rs->MoveNext())
            lstField->addItem(rs->Value(QStringLiteral("FIELD_NAME")).toString());
    });
}

void frmFieldReorder::swap(int from, int to)
{
    QListWidgetItem *a = lstField->item(from);
    QListWidgetItem *b = lstField->item(to);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
    lstField->setCurrentRow(to);
}

void frmFieldReorder::cmdUp_Click()
{
    TraceScope trace(QStringLiteral("frmFieldReorder.cmdUp_Click"));
    const int i = lstField->currentItem() && lstField->currentItem()->isSelected() ? lstField->currentRow() : -1;
    if (i > 0)
        swap(i, i - 1);
}

void frmFieldReorder::cmdDown_Click()
{
    TraceScope trace(QStringLiteral("frmFieldReorder.cmdDown_Click"));
    const int i = lstField->currentItem() && lstField->currentItem()->isSelected() ? lstField->currentRow() : -1;
    if (i >= 0 && i < lstField->count() - 1)
        swap(i, i + 1);
}

// Numbers the fields 1 to n in list order, as one unit: a failure leaves every number as it was.
void frmFieldReorder::cmdOK_Click()
{
    const QString routine = QStringLiteral("frmFieldReorder.cmdOK_Click");
    TraceScope trace(routine);
    QStringList fields;
    for (int i = 0; i < lstField->count(); ++i)
        fields << lstField->item(i)->text();
    ExplorerWindow *window = ExplorerWindow::Current();
    bool written = false;
    {
        CMouseSleeper sleeper;
        written = modUpdate::RunUnit(mDatabase->Name(), routine, [&] {
            for (int p = 0; p < fields.size(); ++p) {
                if (window)
                    window->Status(QStringLiteral("Reording Field '") + fields[p] + QLatin1Char('\''));
                modUpdate::UnitExecute(QStringLiteral("UPDATE QN_FIELD SET FIELD_NUMBER = 0") + QString::number(p + 1) +
                                       QStringLiteral(" WHERE FILE_NAME = ") + modDatabase::Quoted(mFilename) +
                                       QStringLiteral(" AND FIELD_NAME = ") + modDatabase::Quoted(fields[p]));
            }
        });
        if (window)
            window->Status();
    }
    if (written)
        Ui().MsgBox(QStringLiteral("Field re-ordering complete"), ui::vbInformation);
    done(Accepted);
}

void frmFieldReorder::cmdCancel_Click() { done(Rejected); }
