#pragma once

// The table data viewer: the rows of one catalog table as the data source
// itself serves them, all or selected by the criteria dialog, in a read-only
// grid with the record position. The pane host shows it by name
// ("frmTableData") with the data source, database and table names, and
// unloads it whenever another pane is shown, so each display is a fresh pane.

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "dao.h"
#include "panehost/panelook.h"
#include "panehost/paneprotocol.h"

class QLabel;
class QTableView;
class QToolBar;
class QToolButton;
class QnError;
class TableDataModel;

// The record bar below the grid: first, previous, next and last, and the
// caption with the record position.
class DataControl : public QWidget
{
    Q_OBJECT
public:
    explicit DataControl(QWidget *parent);
    QString Caption() const;
    void setCaption(const QString &caption);

    QToolButton *cmdFirst = nullptr, *cmdPrevious = nullptr, *cmdNext = nullptr, *cmdLast = nullptr;

signals:
    // -2 first, -1 previous, 1 next, 2 last.
    void moveRequested(int step);

private:
    QLabel *m_caption = nullptr;
};

class frmTableData : public QWidget, public PaneProtocol
{
    Q_OBJECT
public:
    // Rows read before the pane shows; the rest follow while the window stays responsive.
    static constexpr long FirstRows = 200;

    frmTableData();
    ~frmTableData() override;

    // keys: data source, database, table. Always returns 0.
    int Display(const QStringList &keys) override;
    // "Refresh" runs the statement again; any other key does nothing.
    void tbr_ButtonClick(const QString &key) override;

    // The rows shown, and whether they are all read.
    TableDataModel *Model() const { return m_model; }
    bool Filling() const { return m_fill.isActive(); }
    // The longest time one step of the fill kept the window from its events, in milliseconds.
    double LongestFillStep() const { return m_longestStep; }

    QWidget *picTitlebar = nullptr;
    panelook::EmbossedTitle lblTitle;
    QLabel *imgCorner = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblExplain = nullptr;
    QTableView *dbgEdit = nullptr;
    DataControl *datPrimary = nullptr;
    QPointer<QToolBar> tbrViewData; // the main window's band, taken when the pane loads

protected:
    void resizeEvent(QResizeEvent *event) override;

public:
    // Hidden (unloaded, or hidden for another pane): the read ends and frees its statement.
    void setVisible(bool visible) override;

private:
    void Form_Load();
    void Form_Resize();
    void datPrimary_Reposition();
    void setRefreshEnabled(bool enabled);
    // The pane's own connection, opened (again) when needed.
    dao::DatabasePtr database();
    // Opens the statement on the pane's own connection and reads its first
    // rows; 3021 when it returns none.
    void runStatement();
    void startFill();
    void stopFill();
    void fillStep();
    // The query failures the pane explains itself (no rows, a failing
    // statement); false for any other failure.
    bool explainFailure(const QnError &e);
    void moveTo(int step);

    bool m_loaded = false;
    QString m_connect;   // the connect text of the data source's open database
    QString m_statement; // the statement shown
    dao::DatabasePtr m_db; // the pane's own connection
    TableDataModel *m_model = nullptr;
    QTimer m_fill;
    double m_longestStep = 0;
    bool m_inFillStep = false;
};
