#include "frmcolumnreorder.h"

#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <optional>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "panehost/panelook.h"
#include "tree/explorerwindow.h"
#include "ui.h"

using panelook::Twips;

namespace {

const QString kSection = QStringLiteral("frmColumnReorder");

[[maybe_unused]] const bool declared = dialogs::Declare(QStringLiteral("frmColumnReorder"), [](const QStringList &keys) {
    return frmColumnReorder::Display(keys.value(0), keys.value(1), keys.value(2));
});

// A column number read back from the catalog: a Null is 0; anything else that is no whole number fails with 13.
qint32 numberOf(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX)
        qnerr::raise(qnerr::TypeMismatch, qnerr::standardDescription(qnerr::TypeMismatch));
    return qint32(number);
}

void status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

} // namespace

frmColumnReorder::frmColumnReorder() : QDialog(ui::dialogParent())
{
    setObjectName(QStringLiteral("frmColumnReorder"));
    setWindowTitle(QStringLiteral("Reorder Columns"));
    setFixedSize(Twips(0, 0, 2955, 3330).size());
    setModal(true);

    lblPrompt = new QLabel(QStringLiteral("&Columns:"), this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setGeometry(Twips(120, 120, 2295, 255));
    lstColumn = new QListWidget(this);
    lstColumn->setObjectName(QStringLiteral("lstColumn"));
    lstColumn->setToolTip(QStringLiteral("List of Columns in this Table"));
    lstColumn->setGeometry(Twips(120, 360, 2295, 2205));
    lblPrompt->setBuddy(lstColumn);

    auto pictureButton = [&](QToolButton *&button, const char *name, const QString &tip, int top) {
        button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(tip);
        button->setGeometry(Twips(2520, top, 315, 315));
    };
    pictureButton(cmdUp, "cmdUp", QStringLiteral("Move selected column up"), 360);
    cmdUp->setArrowType(Qt::UpArrow);
    pictureButton(cmdDown, "cmdDown", QStringLiteral("Move selected column Down"), 720);
    cmdDown->setArrowType(Qt::DownArrow);
    pictureButton(chkSortAlpha, "chkSortAlpha", QStringLiteral("Alphabetical Sort"), 1140);
    chkSortAlpha->setText(QStringLiteral("AZ"));
    chkSortAlpha->setFont(panelook::Font(6.75, true));
    chkSortAlpha->setCheckable(true);

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(120, 2940, 1095, 315));
    cmdCancel->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(1740, 2940, 1095, 315));
    cmdOK->setDefault(true);

    connect(cmdUp, &QToolButton::clicked, this, &frmColumnReorder::cmdUp_Click);
    connect(cmdDown, &QToolButton::clicked, this, &frmColumnReorder::cmdDown_Click);
    connect(chkSortAlpha, &QToolButton::clicked, this, &frmColumnReorder::chkSortAlpha_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmColumnReorder::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmColumnReorder::cmdCancel_Click);
}

void frmColumnReorder::PlaceAtSavedPosition(QWidget *dialog) { modGUI::PlaceAtSavedPosition(dialog, kSection); }

int frmColumnReorder::Display(const QString &Datasource, const QString &Database, const QString &Table)
{
    const QString routine = QStringLiteral("frmColumnReorder.Display");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    CConnections::Ptr connection;
    if (!handler.step([&] { connection = gConnections().Item(Datasource); }) || !connection || !connection->db)
        return -1;
    QPointer<frmColumnReorder> form;
    handler.step([&] {
        form = &forms::Get<frmColumnReorder>();
        form->Form_Load();
    }) && handler.step([&] {
        form->m_db = connection->db;
        form->m_database = Database;
        form->m_table = Table;
        form->chkSortAlpha_Click();
    }) && handler.step([&] { Ui().RunModal(*form); });
    // Closed without OK or Cancel (the program's end, a refresh): unloaded all the same.
    if (form && forms::IsLoaded(form))
        form->unload();
    return 0;
}

void frmColumnReorder::Form_Load()
{
    TraceScope trace(QStringLiteral("frmColumnReorder.Form_Load"));
    PlaceAtSavedPosition(this);
}

void frmColumnReorder::Form_Unload()
{
    TraceScope trace(QStringLiteral("frmColumnReorder.Form_Unload"));
    modGUI::SavePosition(this, kSection);
    m_db.reset();
}

// Every way out saves the position; the form goes once its handler has returned.
void frmColumnReorder::unload()
{
    const QString routine = QStringLiteral("frmColumnReorder.Form_Unload");
    ErrorHandler handler(routine);
    handler.step([&] { Form_Unload(); });
    done(QDialog::Rejected);
    forms::Unload(this);
}

QString frmColumnReorder::tableWhere() const
{
    return modDatabase::TableWhere(m_database, m_table);
}

void frmColumnReorder::chkSortAlpha_Click()
{
    const QString routine = QStringLiteral("frmColumnReorder.chkSortAlpha_Click");
    TraceScope trace(routine);
    const QString sql = QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE ") + tableWhere() +
                        (chkSortAlpha->isChecked() ? QStringLiteral(" AND COLUMN_TYPE = 0 ORDER BY COLUMN_NAME ASC")
                                                   : QStringLiteral(" AND COLUMN_TYPE = 0 ORDER BY COLUMN_NUMBER ASC"));
    ErrorHandler handler(routine, sql);
    lstColumn->clear();
    handler.step([&] {
        const auto rs = m_db->OpenRecordset(sql, dao::dbOpenSnapshot);
        QStringList names;
        for (; !rs->Eof(); rs->MoveNext())
            names << rs->Value(QStringLiteral("COLUMN_NAME")).toString();
        lstColumn->addItems(names);
    });
}

void frmColumnReorder::swapSelected(int by)
{
    const int from = lstColumn->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= lstColumn->count())
        return;
    QListWidgetItem *a = lstColumn->item(from);
    QListWidgetItem *b = lstColumn->item(to);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
    lstColumn->setCurrentRow(to);
}

void frmColumnReorder::cmdUp_Click() { swapSelected(-1); }

void frmColumnReorder::cmdDown_Click() { swapSelected(1); }

// Every ordinary column negated first, then each numbered by its place in the
// list; columns not listed take the numbers after the listed ones, in their
// old order. One unit: a failure leaves every number as it was.
void frmColumnReorder::cmdOK_Click()
{
    const QString routine = QStringLiteral("frmColumnReorder.cmdOK_Click");
    TraceScope trace(routine);
    const QString q = QStringLiteral("SELECT COLUMN_NAME, COLUMN_NUMBER, COLUMN_TYPE, FIELD_NAME FROM QN_COLUMN WHERE ") +
                      tableWhere() + QStringLiteral(" AND COLUMN_TYPE = 0 ORDER BY COLUMN_NUMBER ASC");
    const QString ds = m_db->Name();
    const QString database = m_database;
    const QString table = m_table;
    QHash<QString, int> place;
    for (int i = 0; i < lstColumn->count(); ++i)
        place.insert(lstColumn->item(i)->text(), i); // names are unique within a table
    const int listed = lstColumn->count();

    std::optional<CMouseSleeper> sleeper(std::in_place);
    const bool written = modUpdate::RunUnit(
        ds, routine,
        [&] {
            struct Row
            {
                QString name, field;
                qint32 type;
            };
            auto rowAt = [](const dao::Recordset &rs) {
                return Row{rs.Value(QStringLiteral("COLUMN_NAME")).toString(),
                           rs.Value(QStringLiteral("FIELD_NAME")).toString(),
                           numberOf(rs.Value(QStringLiteral("COLUMN_TYPE")))};
            };
            auto renumber = [&](const Row &row, qint32 number) {
                modUpdate::UpdateColumn(ds, database, database, table, table, row.name, row.name, row.type, number,
                                        row.field);
            };
            const auto before = modUpdate::UnitOpen(q);
            for (; !before->Eof(); before->MoveNext()) {
                const Row row = rowAt(*before);
                status(QStringLiteral("Preparing column ") + row.name);
                renumber(row, -numberOf(before->Value(QStringLiteral("COLUMN_NUMBER"))));
            }
            // Read again: now from the highest old number down.
            QList<Row> unlisted;
            const auto negated = modUpdate::UnitOpen(q);
            for (; !negated->Eof(); negated->MoveNext()) {
                const Row row = rowAt(*negated);
                const auto at = place.constFind(row.name);
                if (at == place.constEnd()) {
                    unlisted.prepend(row);
                    continue;
                }
                status(QStringLiteral("Re-ordering column ") + row.name);
                renumber(row, at.value() + 1);
            }
            qint32 next = listed;
            for (const Row &row : std::as_const(unlisted)) {
                status(QStringLiteral("Re-ordering column ") + row.name);
                renumber(row, ++next);
            }
        },
        q);
    sleeper.reset();
    hide();
    if (written)
        Ui().MsgBox(QStringLiteral("Column re-ordering complete"), ui::vbInformation);
    status(QStringLiteral("Ready"));
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->PaneDisplay(QStringLiteral("frmColumns"), {ds, database, table});
    unload();
}

void frmColumnReorder::cmdCancel_Click() { unload(); }

void frmColumnReorder::reject() { cmdCancel_Click(); }
