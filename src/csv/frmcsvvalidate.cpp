#include "frmcsvvalidate.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/csqldts.h"
#include "core/errortrace.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panehost/forms.h"
#include "panehost/panelook.h"
#include "tree/nodekey.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

namespace {

const QString kStart = QStringLiteral("&Start");
const QString kStop = QStringLiteral("&Stop");
const QString kRestart = QStringLiteral("&Restart");
constexpr long kFileNotFound = 53;
constexpr long kFileAccessError = 75;
constexpr qint64 kShowEveryMs = 50; // the status line and progress bar at most this often
constexpr qint64 kYieldEveryMs = 5;  // the events at most this long unserved

// "<n> <word>" with the word made plural by the count.
QString counted(long n, const char *word)
{
    return QString::number(n) + QLatin1Char(' ') + modString::Pluralise(QLatin1String(word), qlonglong(n));
}

void openOrFail(CatalogCSV::LineReader &reader, const QString &file)
{
    if (!reader.Open(file))
        qnerr::raise(QFileInfo::exists(file) ? kFileAccessError : kFileNotFound,
                     (QFileInfo::exists(file) ? QStringLiteral("Path/File access error: '")
                                              : QStringLiteral("File not found: '")) +
                         file + QLatin1Char('\''));
}

} // namespace

frmCSVValidate::frmCSVValidate() : QDialog(ui::dialogParent())
{
    setObjectName(QStringLiteral("frmCSVValidate"));
    setWindowTitle(QStringLiteral("Validate CSV"));
    setModal(true);
    resize(panelook::Twips(0, 0, 10500, 6300).size());

    lvwErr = new QTreeWidget(this);
    lvwErr->setObjectName(QStringLiteral("lvwErr"));
    lvwErr->setColumnCount(5);
    lvwErr->setHeaderLabels({QString(), QStringLiteral("Line"), QStringLiteral("Severity"), QStringLiteral("Type"),
                             QStringLiteral("Description")});
    lvwErr->setRootIsDecorated(false);
    lvwErr->setUniformRowHeights(true);
    lvwErr->setAllColumnsShowFocus(true);
    lvwErr->setColumnWidth(0, 24);
    lvwErr->setColumnWidth(1, 50);
    lvwErr->setColumnWidth(2, 60);
    lvwErr->setColumnWidth(3, 70);

    auto line3D = [this](int index) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("lin3D_%1").arg(index));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    };
    for (int i = 0; i < 2; ++i) {
        lblPrompt[i] = new QLabel(i == 0 ? QStringLiteral("Status:") : QStringLiteral("Progress:"), this);
        lblPrompt[i]->setObjectName(QStringLiteral("lblPrompt_%1").arg(i));
    }
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    pbrProgress = new QProgressBar(this);
    pbrProgress->setObjectName(QStringLiteral("pbrProgress"));
    pbrProgress->setMinimum(0);
    pbrProgress->setTextVisible(false);
    cmdAction = new QPushButton(kStart, this);
    cmdAction->setObjectName(QStringLiteral("cmdAction"));
    cmdAction->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(lblPrompt[0], 0, 0);
    fields->addWidget(lblStatus, 0, 1);
    fields->addWidget(lblPrompt[1], 1, 0);
    fields->addWidget(pbrProgress, 1, 1);
    fields->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAction);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lvwErr, 1);
    layout->addWidget(line3D(0));
    layout->addLayout(fields);
    layout->addWidget(line3D(1));
    layout->addLayout(buttons);

    m_errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    m_warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);

    connect(cmdAction, &QPushButton::clicked, this, &frmCSVValidate::cmdAction_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCSVValidate::cmdCancel_Click);
}

frmCSVValidate::~frmCSVValidate() { qDeleteAll(m_pendingRows); }

bool frmCSVValidate::Validate(const QString &Datasource, const QString &Filename)
{
    const CConnections::Ptr connection = gConnections().Item(Datasource);
    if (!connection || !connection->db)
        return false;
    QPointer<frmCSVValidate> form = &forms::Get<frmCSVValidate>();
    form->m_result = false;
    form->m_connection = connection;
    form->m_db = connection->db;
    form->m_dataSource = Datasource;
    form->m_file = Filename;
    const qsizetype separator = qMax(Filename.lastIndexOf(QLatin1Char('/')), Filename.lastIndexOf(QLatin1Char('\\')));
    form->setWindowTitle(QLatin1Char('"') + Filename.mid(qMax<qsizetype>(separator, 0)) +
                         QStringLiteral("\" - Validating..."));
    form->SetStatus(QStringLiteral("Click Start to begin Validation Stage (Stage 1 of 2)"));
    form->pbrProgress->setValue(0);
    form->cmdAction->setText(kStart);
    form->cmdAction->setEnabled(true);
    form->cmdCancel->setEnabled(true);
    Ui().RunModal(*form);
    const bool result = form && form->m_result;
    if (form && forms::IsLoaded(form))
        forms::Unload(form);
    return result;
}

void frmCSVValidate::SetStatus(const QString &text)
{
    lblStatus->setText(text);
    lblStatus->repaint();
}

// ---------------------------------------------------------------------------
// The buttons

void frmCSVValidate::cmdAction_Click()
{
    if (cmdAction->text() == kStop) {
        halt();
        return;
    }
    if (m_running)
        return; // a run is under way: no second one inside it
    run();
}

void frmCSVValidate::cmdCancel_Click()
{
    if (m_running)
        return;
    m_stop = true;
    forms::Unload(this);
}

void frmCSVValidate::reject()
{
    if (!m_running)
        cmdCancel_Click();
}

void frmCSVValidate::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!m_running)
        cmdCancel_Click();
}

// Stop: the run ends after the line it is on.
void frmCSVValidate::halt()
{
    showRows();
    m_stop = true;
    cmdAction->setText(kRestart);
    SetStatus(QStringLiteral("Validation halted - Click Restart to try again"));
    pbrProgress->setValue(0);
}

// ---------------------------------------------------------------------------
// The run

dao::Database &frmCSVValidate::db() { return gConnections().Hold(m_db, m_dataSource); }

void frmCSVValidate::run()
{
    // A connection lost since the last run connects again.
    const CConnections::Ptr connection = gConnections().Item(m_dataSource);
    if (!connection || !connection->db)
        return;
    modUpdate::WorkInProgress work;
    m_connection = connection;
    m_db = connection->db;
    m_running = true;
    m_result = false;
    m_stop = false;
    m_errors = m_warnings = 0;
    qDeleteAll(m_pendingRows);
    m_pendingRows.clear();
    lvwErr->clear();
    m_keys.Clear();
    m_checked.Clear();
    CatalogValidator::Report &report = *this;
    m_validator = std::make_unique<CatalogValidator>(
        m_keys, *m_connection, [this]() -> dao::Database & { return db(); }, report);
    m_importer = std::make_unique<CatalogImporter>(*m_connection, m_keys);
    cmdCancel->setEnabled(false);
    {
        clsFormMouseSleeper sleeper;
        sleeper.setForm(this);
        ErrorHandler handler(QStringLiteral("frmCSVValidate.cmdAction_Click"));
        QString reading;
        const bool read = handler.step([&] {
            CMouseSleeper busy;
            m_keys.Clear();
            m_shown.invalidate();
            m_keys.ReadCurrentCatalog(db(), [&](const QString &text) {
                reading = text;
                if (!m_shown.isValid() || m_shown.elapsed() >= kShowEveryMs) {
                    m_shown.restart();
                    SetStatus(text);
                }
            });
            if (!reading.isEmpty())
                SetStatus(reading);
        });
        long count = 0;
        if (!read) {
            halt();
        } else {
            cmdAction->setText(kStop);
            cmdAction->repaint();
            pbrProgress->setValue(0);
            if (countLines(count) && !m_stop) {
                if (count == 0)
                    Ui().MsgBox(QStringLiteral("The CSV is empty"), ui::vbInformation);
                else if (validateLines(count)) {
                    m_validator.reset();
                    importLines();
                }
            }
        }
    }
    showRows();
    m_keys.Clear();
    m_checked.Clear();
    m_validator.reset();
    m_importer.reset();
    m_running = false;
    if (!m_importing)
        cmdCancel->setEnabled(true);
}

bool frmCSVValidate::countLines(long &count)
{
    ErrorHandler handler(QStringLiteral("frmCSVValidate.cmdAction_Click"));
    CatalogCSV::LineReader reader;
    m_yielded.invalidate();
    if (handler.step([&] {
            count = 0;
            openOrFail(reader, m_file);
            while (!m_stop && reader.Skip()) {
                ++count;
                yield();
            }
        }))
        return true;
    halt();
    return false;
}

bool frmCSVValidate::validateLines(long count)
{
    ErrorHandler handler(QStringLiteral("frmCSVValidate.cmdAction_Click"));
    pbrProgress->setMaximum(int(qMin<long>(count, INT_MAX)));
    pbrProgress->setValue(0);
    m_shown.invalidate();
    m_yielded.invalidate();
    CatalogCSV::LineReader reader;
    if (!handler.step([&] { openOrFail(reader, m_file); })) {
        halt();
        return false;
    }
    long n = 0;
    QString line;
    const std::function<void()> validate = [&] { m_validator->ValidateLine(n, line); };
    while (!m_stop && reader.Next(line)) {
        ++n;
        m_checked.Append(line);
        progress(QStringLiteral("Validating Line"), n, count);
        if (!handler.step(validate)) {
            halt();
            return false;
        }
        yield();
    }
    showRows();
    if (m_stop)
        return false;
    pbrProgress->setValue(int(qMin<long>(n, INT_MAX)));

    const long e = m_errors, w = m_warnings;
    if (e > 0) {
        QString text = counted(e, "error");
        if (w > 0)
            text += QStringLiteral(" and ") + counted(w, "warning");
        text += QStringLiteral(" found.  Correct the ") + modString::Pluralise(QStringLiteral("problem"), qlonglong(e)) +
                QStringLiteral(" and click Restart to retry.");
        cmdAction->setText(kRestart);
        SetStatus(text);
        return false;
    }
    SetStatus(QStringLiteral("Validated with ") + counted(w, "warning"));
    if (w > 0) {
        const int answer = Ui().MsgBox(QStringLiteral("This CSV has no errors, but has ") + counted(w, "warning") +
                                           QStringLiteral(".\r\nDo you wish to import it?"),
                                       ui::vbYesNo + ui::vbQuestion);
        if (answer != ui::vbYes) {
            cmdAction->setText(kRestart);
            return false;
        }
        m_warnings = 0;
    }
    return true;
}

void frmCSVValidate::importLines()
{
    const long count = long(m_checked.Count());
    m_importing = true;
    cmdCancel->setEnabled(false);
    cmdAction->setEnabled(false);
    const QString ds = m_dataSource;
    // One unit: any failure leaves the catalog as it was (without
    // transactions the unit deletes the rows again). Stop and Cancel are off.
    const bool imported = modUpdate::RunUnit(ds, QStringLiteral("frmCSVValidate.ImportLine"), [&] {
        m_importLine = 0;
        pbrProgress->setValue(0);
        m_shown.invalidate();
        m_yielded.invalidate();
        QHash<QString, qint32> lastFieldNumbers;
        const auto numbers =
            modUpdate::UnitOpen(QStringLiteral("SELECT FILE_NAME, MAX(FIELD_NUMBER) FROM QN_FIELD GROUP BY FILE_NAME"));
        // A file whose fields have no number yet starts at 1.
        for (; !numbers->Eof(); numbers->MoveNext())
            if (const auto last = modString::WholeNumber((*numbers)(1).Text()))
                lastFieldNumbers.insert((*numbers)(0).Text(), qint32(std::clamp<qint64>(*last, 0, INT32_MAX - 1)));
        // Without a transaction nothing holds a parent between two lines.
        m_importer->Reset(std::move(lastFieldNumbers), db().InTransaction());
        for (qsizetype i = 0; i < m_checked.Count(); ++i) {
            ++m_importLine;
            progress(QStringLiteral("Importing Line"), m_importLine, count);
            if (const auto statements = m_importer->ImportLine(m_checked.At(i))) {
                // A parent read from the catalog by the checks must still be there.
                for (const QString &parent : statements->parents)
                    modUpdate::UnitRequireRow(parent);
                modUpdate::UnitInsert(statements->insert, statements->undo);
            }
            yield();
        }
    });
    m_importing = false;
    if (imported)
        Ui().MsgBox(QStringLiteral("CSV Successfully imported."), ui::vbInformation);
    else if (modUpdate::LastUnitUndone())
        Ui().MsgBox(m_importLine == 0
                        ? QStringLiteral("The import stopped before its first line; nothing was imported.")
                        : QStringLiteral("The import stopped at line %1; nothing was imported.").arg(m_importLine),
                    ui::vbInformation);
    else
        Ui().MsgBox(QStringLiteral("The import stopped at line %1; the lines imported before it could not all be "
                                   "removed again.")
                        .arg(m_importLine),
                    ui::vbExclamation);
    forms::Unload(this);
    modGUI::RefreshNodePath(NodeKey::Datasource(ds));
}

void frmCSVValidate::progress(const QString &stage, long line, long count)
{
    if (line != 1 && line != count && m_shown.isValid() && m_shown.elapsed() < kShowEveryMs)
        return;
    m_shown.restart();
    showRows();
    pbrProgress->setValue(int(qMin<long>(line, INT_MAX)));
    SetStatus(stage + QLatin1Char(' ') + QString::number(line) + QStringLiteral(" of ") + QString::number(count));
}

// Lets the window serve its events (a click on Stop) after a line, the
// first line of a pass and then every few milliseconds.
void frmCSVValidate::yield()
{
    if (m_yielded.isValid() && m_yielded.elapsed() < kYieldEveryMs)
        return;
    QCoreApplication::processEvents();
    m_yielded.restart();
}

// ---------------------------------------------------------------------------
// The list

void frmCSVValidate::addRow(const QString &icon, long line, const QString &severity, const QString &type,
                            const QString &description)
{
    auto *item = new QTreeWidgetItem({QString(), QString::number(line), severity, type, description});
    item->setIcon(0, icon == QLatin1String("Error") ? m_errorIcon : m_warningIcon);
    item->setData(0, Qt::UserRole, icon);
    m_pendingRows << item;
}

// The rows listed since the last time, added at once: a list laid out again
// for every row would take time with the square of the rows.
void frmCSVValidate::showRows()
{
    if (m_pendingRows.isEmpty())
        return;
    lvwErr->addTopLevelItems(m_pendingRows);
    m_pendingRows.clear();
}

bool frmCSVValidate::AddError(long line, const QString &type, const QString &description)
{
    ++m_errors;
    addRow(QStringLiteral("Error"), line, QStringLiteral("ERR"), type, description);
    if (m_errors <= ErrorLimit)
        return true;
    addRow(QStringLiteral("Error"), line, QStringLiteral("XXX"), QStringLiteral("?"),
           QStringLiteral("Stopped validating after ") + counted(m_errors, "error"));
    halt();
    return false;
}

void frmCSVValidate::AddWarning(long line, const QString &type, const QString &description)
{
    ++m_warnings;
    addRow(QStringLiteral("Warning"), line, QStringLiteral("WARN"), type, description);
}
