#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <memory>

#include "catalogcsv.h"
#include "catalogimporter.h"
#include "catalogkeys.h"
#include "catalogvalidator.h"
#include "core/cconnections.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The modal import dialog: Start checks every line of the catalog file against
// the data source's catalog and the lines before it and lists each problem;
// only a file without errors (and, after a question, with warnings) is then
// imported, all of it in one unit or nothing: the lines as they were checked,
// not the file read again. Stop halts a run between two lines; Restart reads
// the file again and runs from the start. A run is work in progress for the
// main window, which does not close meanwhile. While a run is under way Cancel,
// the close box and a second Start are refused; while it imports, both buttons
// are off. The dialog closes itself after the import and reloads the data
// source's node in the tree.
class frmCSVValidate : public QDialog, private CatalogValidator::Report
{
    Q_OBJECT
public:
    frmCSVValidate();
    ~frmCSVValidate() override;

    // Shows the dialog for the file and the data source; false (nothing shown
    // when the data source cannot be connected).
    static bool Validate(const QString &Datasource, const QString &Filename);
    // The status line, shown at once.
    void SetStatus(const QString &text);

    // The error rows listed before the run stops.
    static constexpr long ErrorLimit = 5000;

    QTreeWidget *lvwErr = nullptr;
    QLabel *lblPrompt[2] = {};
    QLabel *lblStatus = nullptr;
    QProgressBar *pbrProgress = nullptr;
    QPushButton *cmdAction = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void cmdAction_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    bool AddError(long line, const QString &type, const QString &description) override;
    void AddWarning(long line, const QString &type, const QString &description) override;
    void AddPassed(long, const QString &, const QString &) override {}
    bool ListsPassed() const override { return false; }
    void addRow(const QString &icon, long line, const QString &severity, const QString &type,
                const QString &description);
    void showRows();

    void run();
    void halt();
    // The counting, validation and import passes; false when the run ends.
    bool countLines(long &count);
    bool validateLines(long count);
    void importLines();
    // Shows the line's progress when it is due (the status line repaints).
    void progress(const QString &stage, long line, long count);
    // Serves the window's events when due.
    void yield();
    // The data source's open database, connected again after a lost link.
    dao::Database &db();

    QString m_dataSource;
    CConnections::Ptr m_connection; // of the run: its data types
    dao::DatabasePtr m_db;
    QString m_file;
    bool m_result = false;
    bool m_stop = false;
    bool m_running = false;
    bool m_importing = false;
    long m_errors = 0;
    long m_warnings = 0;
    long m_importLine = 0; // the line being imported
    CatalogKeys m_keys;
    CatalogCSV::Lines m_checked; // the lines the validation read, for the import
    std::unique_ptr<CatalogValidator> m_validator;
    std::unique_ptr<CatalogImporter> m_importer;
    QElapsedTimer m_shown;   // since the status line was last shown
    QElapsedTimer m_yielded; // since the events were last served
    QIcon m_errorIcon, m_warningIcon;
    QList<QTreeWidgetItem *> m_pendingRows; // listed, not shown yet
};
