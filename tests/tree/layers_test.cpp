// The layers: platform, then core, then the tree, then the panes and the main
// window. A file includes nothing of a layer above its own.
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
    const QList<std::pair<QString, QSet<QString>>> layers = {
        {QStringLiteral("platform"), {}},
        {QStringLiteral("core"), {QStringLiteral("core")}},
        {QStringLiteral("tree"), {QStringLiteral("core"), QStringLiteral("tree")}},
    };
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*"([^"/]+)/)"),
                                     QRegularExpression::MultilineOption);
    int files = 0;
    for (const auto &[layer, allowed] : layers) {
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
    EXPECT_GT(files, 20);
}

} // namespace
