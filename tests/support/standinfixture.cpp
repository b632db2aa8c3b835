#include "standinfixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include "core/cconnections.h"
#include "uitest.h"

namespace {

// Template files built once per process and copied for each test.
QString templateFile(const QString &name, const QStringList &scripts)
{
    static QTemporaryDir dir;
    QString file = dir.filePath(name);
    standin::CreateDatabase(file, scripts);
    return file;
}

// The driver manager reads its configuration folder once per process, so every
// test's data sources live in the same folder, with fresh files each time.
const QString &processDataFolder()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

} // namespace

QString StandinTest::dataFolder() { return processDataFolder(); }

void StandinTest::SetUp()
{
    ResetErrorState();
    dao::Faults::Clear();
    dao::IgnoreTransactionSupport(false);
    gConnections().RemoveAll();
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    const QDir dir(dataFolder());
    const struct
    {
        const char *file;
        QString from;
    } copies[] = {
        {"qntest.db", templateFile(QStringLiteral("demo.db"), {standin::CatalogScript(), standin::DemoScript()})},
        {"qntest2.db", templateFile(QStringLiteral("catalog.db"), {standin::CatalogScript()})},
        {"other.db", QString()},
    };
    for (const auto &c : copies) {
        const QString target = dir.filePath(QLatin1String(c.file));
        QFile::remove(target);
        if (!c.from.isEmpty()) {
            ASSERT_TRUE(QFile::copy(c.from, target));
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    m_sources = {{QStringLiteral("QnTest"), dir.filePath(QStringLiteral("qntest.db")), {}},
                 {QStringLiteral("QnTest2"), dir.filePath(QStringLiteral("qntest2.db")), {}},
                 {QStringLiteral("Other"), dir.filePath(QStringLiteral("other.db")), {}, standin::kOtherDriverName}};
    standin::WriteConfig(dir.path(), m_sources);
    standin::UseConfig(dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir(m_dir->path()).filePath(QStringLiteral("settings")));
    m_ui = std::make_unique<ScriptedUi>();
}

void StandinTest::TearDown()
{
    dao::Faults::Clear();
    dao::IgnoreTransactionSupport(false);
    ReleaseWorkspace();
    m_open.clear();
    m_workspace.reset();
    if (m_ui) {
        EXPECT_TRUE(m_ui->allAnswered()) << "a scripted answer was never asked for";
    }
    ResetErrorState();
    m_ui.reset();
}

void StandinTest::setDefaultDatabase(const QString &dsn, const QString &defaultDatabase)
{
    bool found = false;
    for (standin::DataSource &source : m_sources)
        if (source.name == dsn) {
            source.defaultDatabase = defaultDatabase;
            found = true;
        }
    ASSERT_TRUE(found) << dsn.toStdString();
    standin::WriteConfig(dataFolder(), m_sources);
}

dao::Workspace &StandinTest::workspace()
{
    if (!m_workspace)
        m_workspace = std::make_unique<dao::Workspace>();
    return *m_workspace;
}

dao::DatabasePtr StandinTest::open(const QString &dsn)
{
    auto it = m_open.find(dsn);
    if (it != m_open.end())
        return *it;
    dao::DatabasePtr db;
    try {
        db = workspace().OpenDatabase(QString(), 0, false, connectText(dsn));
    } catch (const QnError &) {
        for (const auto &e : dao::Errors::list())
            ADD_FAILURE() << "connect " << dsn.toStdString() << ": " << e.SQLState.toStdString() << " "
                          << e.Description.toStdString();
        throw;
    }
    m_open.insert(dsn, db);
    return db;
}

QVariant StandinTest::scalar(const QString &sql, const QString &dsn)
{
    auto rs = open(dsn)->OpenRecordset(sql);
    if (rs->Eof())
        return {};
    return rs->Cell(0, 0);
}

QStringList StandinTest::rows(const QString &sql, const QString &dsn)
{
    auto rs = open(dsn)->OpenRecordset(sql);
    QStringList list;
    int columns = rs->GetFields().Count();
    for (long r = 0; r < rs->RecordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << rs->Cell(r, c).toString();
        list << cells.join(QLatin1Char('|'));
    }
    return list;
}

QStringList StandinTest::catalogRows(const QString &dsn)
{
    QStringList list;
    for (const auto &t : kCatalogTables) {
        auto rs = open(dsn)->OpenRecordset(
            QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(QLatin1String(t[0]), QLatin1String(t[1])));
        for (long r = 0; r < rs->RecordCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rs->GetFields().Count(); ++c) {
                const QVariant &v = rs->Cell(r, c);
                cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            list << QLatin1String(t[0]) + QLatin1Char(':') + cells.join(QLatin1Char('|'));
        }
    }
    return list;
}

QString StandinTest::fileOf(const QString &dsn) const
{
    return QDir(dataFolder()).filePath(dsn.toLower() + QStringLiteral(".db"));
}
