#include "standinfixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {

// Template files built once per process and copied for each test.
QString templateFile(const QString &name, const QStringList &scripts)
{
    static QTemporaryDir dir;
    QString file = dir.filePath(name);
    standin::CreateDatabase(file, scripts);
    return file;
}

} // namespace

void StandinTest::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    const QDir dir(m_dir->path());
    QFile::copy(templateFile(QStringLiteral("demo.db"), {standin::CatalogScript(), standin::DemoScript()}),
                dir.filePath(QStringLiteral("qntest.db")));
    QFile::copy(templateFile(QStringLiteral("catalog.db"), {standin::CatalogScript()}),
                dir.filePath(QStringLiteral("qntest2.db")));
    for (const char *f : {"qntest.db", "qntest2.db"})
        QFile::setPermissions(dir.filePath(QLatin1String(f)), QFile::ReadOwner | QFile::WriteOwner);
    standin::WriteConfig(dir.path(),
                         {{QStringLiteral("QnTest"), dir.filePath(QStringLiteral("qntest.db")), {}},
                          {QStringLiteral("QnTest2"), dir.filePath(QStringLiteral("qntest2.db")), {}},
                          {QStringLiteral("Other"), dir.filePath(QStringLiteral("other.db")), {},
                           standin::kOtherDriverName}});
    standin::UseConfig(dir.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    m_ui = std::make_unique<ScriptedUi>();
}

void StandinTest::TearDown()
{
    m_open.clear();
    m_workspace.reset();
    if (m_ui) {
        EXPECT_TRUE(m_ui->allAnswered()) << "a scripted answer was never asked for";
    }
    m_ui.reset();
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

QString StandinTest::fileOf(const QString &dsn) const
{
    return QDir(m_dir->path()).filePath(dsn.toLower() + QStringLiteral(".db"));
}
