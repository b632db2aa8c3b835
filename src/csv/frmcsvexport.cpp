#include "frmcsvexport.h"

#include <QProgressBar>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <vector>

#include "catalogcsv.h"
#include "core/errortrace.h"
#include "core/mousesleeper.h"
#include "panehost/forms.h"
#include "ui.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmCSVExport>(QStringLiteral("frmCSVExport"));

namespace {

const QString kCatalogFiles = QStringLiteral(
    "('CNTRL','COLUMN','DB','DBPRV','DRIVER','FIELD','FILE','KEY','LOCDT','SQLDT','TABLE','TBLPRV','USER')");

// One block of the file: its status text, its tag, its query, and how many of
// the first values name its row.
struct Block
{
    QString status;
    QString tag;
    QString query;
    int keyValues;
};

const QList<Block> &blocks()
{
    static const QList<Block> list = {
        {QStringLiteral("Writing File Definitions"), QStringLiteral("FILE"),
         QStringLiteral("SELECT FILE_NAME, FILE_ORGANISATION, RECORD_TYPE, RECORD_SIZE FROM QN_FILE WHERE FILE_NAME "
                        "NOT IN ") + kCatalogFiles, 1},
        {QStringLiteral("Writing Field Definitions"), QStringLiteral("FIELD"),
         QStringLiteral("SELECT FILE_NAME, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, LENGTH, PRECISION, SCALE, ENCRYPTED, "
                        "FORMAT, DEFAULT_VALUE FROM QN_FIELD WHERE FILE_NAME NOT IN ") + kCatalogFiles +
             QLatin1Char(' '), 2},
        {QStringLiteral("Writing Database Definitions"), QStringLiteral("DB"),
         QStringLiteral("SELECT DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, CONNECT_STRING, DISPLAY_NAME FROM QN_DB "
                        "WHERE DATABASE_NAME <>'QN'"), 1},
        {QStringLiteral("Writing Table Definitions"), QStringLiteral("TABLE"),
         QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, FILE_SPECIFICATION, CRITERIA, "
                        "DISPLAY_NAME FROM QN_TABLE WHERE DATABASE_NAME <>'QN'"), 2},
        // REMARKS last: a relative index's column, written in place of its display name.
        {QStringLiteral("Writing Column Definitions"), QStringLiteral("COLUMN"),
         QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, SQL_TYPE_NAME, LENGTH, UPDATABLE, "
                        "VISIBLE, DEFAULT_VALUE, DISPLAY_NAME, COLUMN_TYPE, REMARKS FROM QN_COLUMN WHERE "
                        "DATABASE_NAME <>'QN' "), 3},
        {QStringLiteral("Writing User Definitions"), QStringLiteral("USER"),
         QStringLiteral("SELECT USER_NAME, USER_PASSWORD FROM QN_USER WHERE USER_NAME <>'ADMIN'"), 1},
        {QStringLiteral("Writing Database Privileges Definitions"), QStringLiteral("DBPRV"),
         QStringLiteral("SELECT USER_NAME, DATABASE_NAME, DATABASE_USERNAME, DATABASE_PASSWORD, ALLOW_SELECT, "
                        "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, SECURITY_LEVEL FROM QN_DBPRV WHERE DATABASE_NAME "
                        "<>'QN'"), 2},
        {QStringLiteral("Writing Table Privileges Definitions"), QStringLiteral("TBLPRV"),
         QStringLiteral("SELECT USER_NAME, DATABASE_NAME, TABLE_NAME, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, "
                        "ALLOW_DELETE FROM QN_TBLPRV WHERE DATABASE_NAME <>'QN'"), 3},
    };
    return list;
}

const Block &blockOf(const QString &tag)
{
    for (const Block &b : blocks())
        if (b.tag == tag)
            return b;
    return blocks().first();
}

constexpr int kColumnValues = 11;  // the values of a COLUMN line
constexpr int kColumnType = 10;    // COLUMN_TYPE among them
constexpr int kDisplayName = 9;    // DISPLAY_NAME among them
constexpr int kRelativeIndex = 8;  // the COLUMN_TYPE of a relative index
constexpr int kListedRows = 10;    // rows named in the closing message

void accessProblem(const QString &file)
{
    Ui().MsgBox(QStringLiteral("There was an access problem writing to the file '") + file +
                    QStringLiteral(".\r\nThis may be a read-only device?"),
                ui::vbInformation);
}

void notExported(const QString &file)
{
    Ui().MsgBox(QStringLiteral("The catalog was not exported; '") + file + QStringLiteral("' was not changed."),
                ui::vbInformation);
}

} // namespace

frmCSVExport::frmCSVExport()
    : CatalogPane(QStringLiteral("frmCSVExport"), QStringLiteral("Export Catalog"), QStringLiteral("&Export"))
{
    pbrProgress = new QProgressBar(this);
    pbrProgress->setObjectName(QStringLiteral("pbrProgress"));
    pbrProgress->setGeometry(Twips(240, 1380, 4500, 255));
    pbrProgress->setRange(0, int(blocks().size()));
    pbrProgress->setValue(0);
    pbrProgress->setTextVisible(false);
}

QString frmCSVExport::Title(const QString &dataSource) const
{
    return QStringLiteral("Export Datasource '") + dataSource + QStringLiteral("' Catalog to File.");
}

void frmCSVExport::tbr_ButtonClick(const QString &key)
{
    TraceScope trace(QStringLiteral("frmCSVExport.tbr_ButtonClick"));
    if (key == QLatin1String("Export"))
        Export();
}

void frmCSVExport::Export()
{
    const QString routine = QStringLiteral("frmCSVExport.Export");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    m_query.clear();
    std::optional<QString> chosen;
    if (!handler.step([&] {
            chosen = Ui().GetSaveFileName(
                QStringLiteral("Please select a filename to export the catalog to..."), m_lastFile,
                QStringLiteral("Text File(*.TXT)|*.txt|Comma Seperated Values (*.CSV)|*.csv|All Files (*.*)|*.*"));
        }) ||
        !chosen) {
        Status();
        return;
    }
    const QString name = WithDefaultExtension(*chosen);
    m_lastFile = name;
    CMouseSleeper sleeper;
    // Written beside the file and put in its place only when whole. Without a
    // buffer every write reaches the file at once, so one that fails is seen
    // where it fails, not lost inside the commit.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        pbrProgress->setValue(0);
        Status();
        accessProblem(name);
        return;
    }
    const auto failed = [&] {
        file.cancelWriting();
        pbrProgress->setValue(0);
        Status();
        notExported(name);
    };
    m_lines = 0;
    m_brokenLines.clear();
    pbrProgress->setValue(0);
    for (const Block &block : blocks()) {
        m_query = block.query;
        handler.info = m_query;
        if (!handler.step([&] { Status(block.status); }) || !WriteBlock(file, block.tag, block.query))
            return failed();
        pbrProgress->setValue(pbrProgress->value() + 1);
    }
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit())
        return failed();
    Status();
    QString message = QStringLiteral("Catalog Exported");
    if (!m_brokenLines.isEmpty()) {
        message += QStringLiteral("\r\n\r\nA line break in these rows was written as a blank:");
        for (qsizetype i = 0; i < m_brokenLines.size() && i < kListedRows; ++i)
            message += QStringLiteral("\r\nLine %1: ").arg(m_brokenLines[i].line) + m_brokenLines[i].record;
        if (m_brokenLines.size() > kListedRows)
            message += QStringLiteral("\r\nand %1 more.").arg(m_brokenLines.size() - kListedRows);
    }
    Ui().MsgBox(message, ui::vbInformation);
}

bool frmCSVExport::WriteBlock(QIODevice &file, const QString &header, const QString &criteria)
{
    const QString routine = QStringLiteral("frmCSVExport.WriteBlock");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    std::unique_ptr<dao::Reader> reader;
    if (!handler.step([&] { reader = db().OpenReader(criteria); }))
        return false;
    const int columns = reader->ColumnCount();
    const bool columnBlock = header == QLatin1String("COLUMN");
    const int values = columnBlock ? qMin(columns, kColumnValues) : columns;
    const int keyValues = blockOf(header).keyValues;
    const auto quoted = std::make_unique<bool[]>(size_t(values));
    const auto types = std::make_unique<int[]>(size_t(columns));
    for (int i = 0; i < columns; ++i)
        types[size_t(i)] = reader->Columns()[size_t(i)].Type;
    for (int i = 0; i < values; ++i)
        quoted[size_t(i)] = types[size_t(i)] == dao::dbText || types[size_t(i)] == dao::dbChar;
    std::vector<QByteArrayView> row(static_cast<size_t>(values));
    QByteArray bytes;
    // Each row is written as it is read, from the driver's text of its cells.
    const auto writeRow = [&](const QByteArrayView *cells) {
        std::copy(cells, cells + values, row.begin());
        if (columnBlock && columns > kColumnValues &&
            dao::ValueOfText(types[kColumnType], cells[kColumnType]).toInt() == kRelativeIndex)
            row[kDisplayName] = cells[kColumnValues];
        ++m_lines;
        if (CatalogCSV::AppendTextRecord(bytes, header, row.data(), types.get(), quoted.get(), values)) {
            QStringList key;
            for (int i = 0; i < keyValues && i < values; ++i)
                key << dao::ValueOfText(types[size_t(i)], row[size_t(i)]).toString();
            m_brokenLines.append({m_lines, header + QLatin1Char(' ') + key.join(QStringLiteral(", "))});
        }
    };
    for (;;) {
        // The rows a failed read gave before it failed stay written; Retry
        // goes on after them.
        bytes.resize(0);
        if (!handler.step([&] { reader->FetchText(500, writeRow); }))
            return false;
        // A write that failed cannot be taken up again (the file being
        // written refuses every write after it): the export ends.
        for (qint64 done = 0; done < bytes.size();) {
            const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return false;
            done += n;
        }
        if (reader->AtEnd())
            return true;
    }
}
