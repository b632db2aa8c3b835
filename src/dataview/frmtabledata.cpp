#include "frmtabledata.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <optional>

#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/mousesleeper.h"
#include "frmtablecriteria.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"
#include "settings.h"
#include "tabledatamodel.h"
#include "tree/explorerwindow.h"

using modGUI::TwipsToPixels;
using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmTableData>(QStringLiteral("frmTableData"));

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Rows read in one go while filling, and how long one step of the fill may
// keep the window from its events before it yields.
constexpr long kFillBatch = 500;
constexpr qint64 kStepMilliseconds = 15;
// The widest a column gets from its contents.
constexpr int kMaxColumnWidth = 300;

// Error numbers of a statement the data source could not run: a table or
// query not found, an ODBC call failed, an operation not supported, a value
// not matching its column's type.
bool isQueryFailure(long number) { return number == 3078 || number == 3146 || number == 3251 || number == 3464; }

// Why a statement failed: the driver's own messages for a failed ODBC call.
QString reason(const QnError &e)
{
    if (e.Number() == qnerr::OdbcCallFailed) {
        QStringList messages;
        for (const dao::Error &error : dao::Errors::list())
            if (error.Number != qnerr::OdbcCallFailed)
                messages << error.Description;
        if (!messages.isEmpty())
            return messages.join(kCrLf);
    }
    return e.Description();
}

} // namespace

// ---------------------------------------------------------------------------
// The record bar

DataControl::DataControl(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("datPrimary"));
    setAutoFillBackground(true);
    setPalette(QPalette(panelook::System(QPalette::Button)));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(0);
    auto button = [&](QToolButton *&b, const QString &name, const QString &text, const QString &tip, int step) {
        b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, [this, step] { emit moveRequested(step); });
        row->addWidget(b);
    };
    button(cmdFirst, QStringLiteral("cmdFirst"), QStringLiteral("|\u25C0"), QStringLiteral("First record"), -2);
    button(cmdPrevious, QStringLiteral("cmdPrevious"), QStringLiteral("\u25C0"), QStringLiteral("Previous record"), -1);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setPalette(QPalette(panelook::System(QPalette::Base)));
    m_caption->setFrameShape(QFrame::StyledPanel);
    row->addWidget(m_caption, 1);
    button(cmdNext, QStringLiteral("cmdNext"), QStringLiteral("\u25B6"), QStringLiteral("Next record"), 1);
    button(cmdLast, QStringLiteral("cmdLast"), QStringLiteral("\u25B6|"), QStringLiteral("Last record"), 2);
}

QString DataControl::Caption() const { return m_caption->text(); }

void DataControl::setCaption(const QString &caption) { m_caption->setText(caption); }

// ---------------------------------------------------------------------------
// The pane

frmTableData::frmTableData()
{
    setObjectName(QStringLiteral("frmTableData"));
    setWindowTitle(QStringLiteral("Table Data"));
    panelook::SetBackground(this, Qt::white);
    resize(Twips(0, 0, 6675, 5655).size());

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 615);
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), QStringLiteral("Table Data"),
                                   panelook::Font(14.25), Twips(600, 120, 5895, 330), true);
    for (QLabel *label : {static_cast<QLabel *>(lblTitle.title), static_cast<QLabel *>(lblTitle.shadow)})
        label->setTextFormat(Qt::PlainText); // a table name's "&" or "<" shows as it is

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(Twips(120, 780, 1980, 4875));
    lblDescription->setTextFormat(Qt::PlainText);
    lblDescription->setFont(panelook::Font(8.25));
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    lblDescription->setAttribute(Qt::WA_TranslucentBackground);
    panelook::SetTextColour(lblDescription, panelook::System(QPalette::WindowText));

    m_model = new TableDataModel(this);
    dbgEdit = new QTableView(this);
    dbgEdit->setObjectName(QStringLiteral("dbgEdit"));
    dbgEdit->setGeometry(Twips(2220, 780, 4335, 4170));
    dbgEdit->setModel(m_model);
    dbgEdit->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgEdit->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgEdit->setWordWrap(false);
    dbgEdit->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgEdit->verticalHeader()->setDefaultSectionSize(dbgEdit->fontMetrics().height() + 6);
    dbgEdit->horizontalHeader()->setHighlightSections(false);
    dbgEdit->hide();
    connect(dbgEdit->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { datPrimary_Reposition(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { datPrimary_Reposition(); });

    lblExplain = new QLabel(this);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setGeometry(Twips(120, 780, 6435, 4170));
    lblExplain->setTextFormat(Qt::PlainText); // "&" in a driver's message shows as it is
    lblExplain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblExplain->setWordWrap(true);
    lblExplain->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblExplain->setFont(panelook::Font(9.75, true));
    lblExplain->setAttribute(Qt::WA_TranslucentBackground);

    datPrimary = new DataControl(this);
    datPrimary->hide();
    connect(datPrimary, &DataControl::moveRequested, this, &frmTableData::moveTo);

    m_fill.setInterval(0);
    connect(&m_fill, &QTimer::timeout, this, &frmTableData::fillStep);
}

frmTableData::~frmTableData()
{
    m_fill.stop();
    m_model->StopReading(); // the statement goes before the connection
}

void frmTableData::Form_Load()
{
    TraceScope trace(QStringLiteral("frmTableData.Form_Load"));
    modGUI::ApplyFormStyle(this);
    tbrViewData = PaneHost::Current() ? PaneHost::Current()->PaneBand(objectName()) : nullptr;
    m_loaded = true;
}

void frmTableData::setRefreshEnabled(bool enabled)
{
    if (QAction *refresh = modGUI::ToolbarButton(tbrViewData, QStringLiteral("Refresh")))
        refresh->setEnabled(enabled);
}

int frmTableData::Display(const QStringList &keys)
{
    TraceScope trace(QStringLiteral("frmTableData.Display"));
    const QString Datasource = keys.value(0), Database = keys.value(1), Table = keys.value(2);
    if (!m_loaded)
        Form_Load();
    ErrorHandler handler(QStringLiteral("frmTableData.Display"), QString());
    handler.treat = [this](const QnError &e) { return explainFailure(e) ? Treated::Exit : Treated::No; };
    std::optional<CMouseSleeper> sleeper;
    bool redrawOff = false;

    [&] {
        if (!handler.step([&] {
                stopFill();
                dbgEdit->hide();
                datPrimary->hide();
                lblDescription->clear();
                lblExplain->clear();
                lblExplain->show();
                setRefreshEnabled(false);
            }))
            return;
        dao::DatabasePtr db;
        if (!handler.step([&] {
                const CConnections::Ptr connection = gConnections().Item(Datasource);
                if (!connection || !connection->db)
                    qnerr::raise(qnerr::ObjectNotSet);
                db = connection->db;
            }))
            return;
        QString defaultDatabase;
        if (!handler.step([&] { defaultDatabase = DefaultDatabase(Datasource); }))
            return;
        if (!defaultDatabase.isEmpty() && defaultDatabase != Database) {
            lblExplain->setText(QStringLiteral("You cannot view data from any Table in this Database because") + kCrLf +
                                QStringLiteral("the datasource specifies the default Database as '") + defaultDatabase +
                                QLatin1Char('\''));
            show();
            return;
        }
        QString statement;
        if (!handler.step([&] { statement = frmTableCriteria::GetCriteria(db->Name(), Database, Table); }))
            return;
        handler.info = statement;
        if (statement.isEmpty()) {
            // The table's editor takes the place of the viewer, which the host unloads.
            if (ExplorerWindow *window = ExplorerWindow::Current())
                window->PaneDisplay(QStringLiteral("frmTable"), {Datasource, Database, Table});
            return;
        }
        gCurrentPane() = this;
        setUpdatesEnabled(false);
        redrawOff = true;
        sleeper.emplace();
        lblDescription->setText(QStringLiteral("This is the results of a sample snapshot query (") + statement +
                                QStringLiteral(") run against the Datasource '") + Datasource + QLatin1Char('\''));
        m_connect = db->Connect();
        m_statement = statement;
        if (!handler.step([&] { runStatement(); }))
            return;
        handler.step([&] {
            setRefreshEnabled(true);
            dbgEdit->resizeColumnsToContents();
            for (int column = 0; column < m_model->columnCount(); ++column)
                if (dbgEdit->columnWidth(column) > kMaxColumnWidth)
                    dbgEdit->setColumnWidth(column, kMaxColumnWidth);
            lblTitle.setText(Database + QLatin1Char('_') + Table + QStringLiteral(" - Table Data"));
            lblDescription->setText(QStringLiteral("This is the results of a sample snapshot query:") + kCrLf + kCrLf +
                                    modDatabase::FormatSQL(statement).replace(QLatin1Char('\t'), QStringLiteral("    ")) +
                                    kCrLf + kCrLf + QStringLiteral(" run against the Datasource '") + Datasource +
                                    QLatin1Char('\''));
            lblExplain->hide();
            dbgEdit->show();
            datPrimary->show();
            show();
            startFill();
        });
    }();

    sleeper.reset();
    if (redrawOff)
        setUpdatesEnabled(true);
    return 0;
}

dao::DatabasePtr frmTableData::database()
{
    // Its own connection, with the connect text of the data source's open one.
    if (!m_db || !m_db->IsOpen())
        m_db = gWorkspace().OpenDatabase(QString(), 0, false, m_connect + QStringLiteral("DATABASE=PUBS"));
    return m_db;
}

void frmTableData::runStatement()
{
    stopFill();
    m_model->Start(database()->OpenReader(m_statement));
    m_model->FetchRows(FirstRows);
    if (m_model->rowCount() == 0)
        qnerr::raise(qnerr::NoCurrentRecord);
    // The first record is the current one.
    dbgEdit->setCurrentIndex(m_model->index(0, 0));
    dbgEdit->scrollToTop();
    datPrimary_Reposition();
}

bool frmTableData::explainFailure(const QnError &e)
{
    QString text;
    if (e.Number() == qnerr::NoCurrentRecord)
        text = QStringLiteral("The Query did not return any data.");
    else if (isQueryFailure(e.Number()))
        text = QStringLiteral("The query was unsuccessfull because:") + kCrLf + reason(e);
    else
        return false;
    stopFill();
    m_model->StopReading();
    dbgEdit->hide();
    datPrimary->hide();
    lblExplain->setText(text);
    lblExplain->show();
    setRefreshEnabled(false);
    show();
    return true;
}

void frmTableData::tbr_ButtonClick(const QString &key)
{
    if (key != QLatin1String("Refresh") || m_statement.isEmpty())
        return;
    try {
        CMouseSleeper sleeper;
        runStatement();
        startFill();
    } catch (const QnError &e) {
        if (!explainFailure(e))
            throw;
    }
}

// ---------------------------------------------------------------------------
// Filling

void frmTableData::startFill()
{
    if (!m_model->Complete())
        m_fill.start();
}

void frmTableData::stopFill() { m_fill.stop(); }

void frmTableData::fillStep()
{
    if (m_inFillStep)
        return; // a dialog of the step itself is up
    if (m_model->Complete()) {
        stopFill();
        return;
    }
    m_inFillStep = true;
    QElapsedTimer clock;
    clock.start();
    // The error list stays as others left it, unless the read fails.
    const QList<dao::Error> errors = dao::Errors::list();
    ErrorHandler handler(QStringLiteral("frmTableData.Display"), m_statement);
    handler.treat = [this](const QnError &e) { return explainFailure(e) ? Treated::Exit : Treated::No; };
    const bool read = handler.step([&] {
        do
            m_model->FetchRows(kFillBatch);
        while (!m_model->Complete() && clock.elapsed() < kStepMilliseconds);
    });
    if (read)
        dao::Errors::Set(errors);
    else
        m_model->StopReading(); // what was read stays
    if (m_model->Complete())
        stopFill();
    m_longestStep = qMax(m_longestStep, double(clock.nsecsElapsed()) / 1e6);
    m_inFillStep = false;
}

void frmTableData::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (!visible) {
        stopFill();
        m_model->StopReading();
    }
}

// ---------------------------------------------------------------------------
// Record position and layout

void frmTableData::datPrimary_Reposition()
{
    TraceScope trace(QStringLiteral("frmTableData.datPrimary_Reposition"));
    const int position = dbgEdit->currentIndex().isValid() ? dbgEdit->currentIndex().row() : -1;
    datPrimary->setCaption(QStringLiteral("Record %1 of %2").arg(position + 1).arg(m_model->rowCount()));
}

void frmTableData::moveTo(int step)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const QModelIndex current = dbgEdit->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    int target = row;
    switch (step) {
    case -2: target = 0; break;
    case -1: target = qMax(0, row - 1); break;
    case 1: target = qMin(rows - 1, row + 1); break;
    case 2: target = rows - 1; break;
    default: break;
    }
    dbgEdit->setCurrentIndex(m_model->index(target, current.isValid() ? current.column() : 0));
    dbgEdit->scrollTo(dbgEdit->currentIndex());
}

void frmTableData::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmTableData::Form_Resize()
{
    TraceScope trace(QStringLiteral("frmTableData.Form_Resize"));
    ErrorHandler handler(QStringLiteral("frmTableData.Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        picTitlebar->resize(width(), picTitlebar->height());
        const int scaleWidth = width(), scaleHeight = height();
        if (options::Win98() != 0) {
            if (scaleWidth > TwipsToPixels(2340))
                dbgEdit->resize(scaleWidth - TwipsToPixels(2340), dbgEdit->height());
            if (scaleHeight > TwipsToPixels(1485))
                dbgEdit->resize(dbgEdit->width(), scaleHeight - TwipsToPixels(1485));
            lblExplain->setGeometry(dbgEdit->geometry());
            if (height() > lblDescription->y())
                lblDescription->resize(lblDescription->width(), height() - lblDescription->y());
        } else {
            dbgEdit->setGeometry(0, TwipsToPixels(780), scaleWidth, scaleHeight - TwipsToPixels(1485));
        }
        // The record bar sits below the grid, as wide as it.
        datPrimary->setGeometry(dbgEdit->x(), dbgEdit->y() + dbgEdit->height() + TwipsToPixels(60), dbgEdit->width(),
                                TwipsToPixels(345));
    });
}
