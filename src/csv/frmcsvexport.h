#pragma once

#include <QIODevice>
#include <QStringList>

#include "catalogpane.h"

class QProgressBar;

// The catalog export pane: writes the user-defined rows of a data source's
// catalog into a catalog file, one block of lines per catalog table, with a
// status text and a step of the progress bar per block. The catalog's own
// rows (its file definitions, the database 'QN', the user 'ADMIN') stay out.
// The file chosen last is offered again while the pane stays loaded.
class frmCSVExport : public CatalogPane
{
    Q_OBJECT
public:
    frmCSVExport();

    void tbr_ButtonClick(const QString &key) override;
    // Asks for the file and writes it. The file is replaced only by a whole
    // export: a block that failed and was ignored, or a failed write, ends the
    // export and leaves the file as it was, and the message says so.
    void Export();

    QProgressBar *pbrProgress = nullptr;

protected:
    QString Title(const QString &dataSource) const override;
    void cmdAction_Click() override { Export(); }

private:
    struct Written
    {
        long line;        // in the file, from 1
        QString record;   // the tag and the row's key values
    };
    // Writes every row of `criteria` as a line tagged `header`; false when a
    // failure was ignored or a write failed (the block ends early).
    bool WriteBlock(QIODevice &file, const QString &header, const QString &criteria);

    QString m_lastFile; // the file chosen last
    QString m_query;    // the block query being written
    long m_lines = 0;   // lines written to the file
    QList<Written> m_brokenLines; // rows whose line breaks were written as blanks
};
