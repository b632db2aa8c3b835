// The layers: platform, then core, then the tree, then the pane host, then the
// dialogs both editors and grids open, then the panes, editors, viewer, copy
// and move, CSV exchange and wizard as peers (each includes only the layers
// below and its own folder), and the main window on top. A file includes
// nothing of a layer above its own, and every folder under src/ has its layer.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(Layers, NoFolderIncludesALayerAboveIt)
{
    const QDir src(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../src"));
    ASSERT_TRUE(src.exists());
    // The folders each layer may name in an include (its own files and the
    // platform's are found without a folder).
    const QSet<QString> host = {QStringLiteral("core"), QStringLiteral("tree"), QStringLiteral("panehost")};
    const QSet<QString> dialogs = host + QSet<QString>{QStringLiteral("dialogs")};
    const QStringList peers = {QStringLiteral("panes"),    QStringLiteral("editors"), QStringLiteral("dataview"),
                               QStringLiteral("copymove"), QStringLiteral("csv"),     QStringLiteral("wizard")};
    QSet<QString> all = dialogs;
    for (const QString &peer : peers)
        all.insert(peer);
    QList<std::pair<QString, QSet<QString>>> layers = {
        {QStringLiteral("platform"), {}},
        {QStringLiteral("core"), {QStringLiteral("core")}},
        {QStringLiteral("tree"), {QStringLiteral("core"), QStringLiteral("tree")}},
        {QStringLiteral("panehost"), host},
        {QStringLiteral("dialogs"), dialogs},
        {QStringLiteral("mainwindow"), all + QSet<QString>{QStringLiteral("mainwindow")}},
    };
    for (const QString &peer : peers)
        layers.append({peer, dialogs + QSet<QString>{peer}});
    QSet<QString> named;
    for (const auto &layer : layers)
        named.insert(layer.first);
    for (const QString &folder : src.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_TRUE(named.contains(folder)) << "src/" << folder.toStdString() << " has no layer";
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"([^"/]+)/)"),
                                     QRegularExpression::MultilineOption);
    int files = 0;
    for (const auto &[layer, allowed] : layers) {
        if (!src.exists(layer))
            continue;
        QDirIterator it(src.filePath(layer), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            ++files;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = include.globalMatch(text); match.hasNext();) {
                const QString folder = match.next().captured(1);
                EXPECT_TRUE(allowed.contains(folder))
                    << src.relativeFilePath(path).toStdString() << " includes " << folder.toStdString() << "/";
            }
        }
    }
    EXPECT_GT(files, 100);
}

// Only the program's entry includes the main window.
TEST(Layers, NothingButMainIncludesTheMainWindow)
{
    const QDir src(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../src"));
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"mainwindow/)"),
                                     QRegularExpression::MultilineOption);
    QDirIterator it(src.path(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = src.relativeFilePath(path);
        if (relative == QLatin1String("main.cpp") || relative.startsWith(QLatin1String("mainwindow/")))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(include.match(QString::fromUtf8(file.readAll())).hasMatch())
            << relative.toStdString() << " includes the main window";
    }
}

} // namespace
