// Creates the demo data sources of the stand-in engine in a folder (once) and
// prints the folder; the run script points the driver manager at it.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "qnerror.h"
#include "standin.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: qnstandin-setup <folder>\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    try {
        standin::WriteConfig(folder.absolutePath(),
                             {{QStringLiteral("Quarnel Demo"), folder.filePath(QStringLiteral("demo.db")),
                               {standin::CatalogScript(), standin::DemoScript()}},
                              {QStringLiteral("Quarnel Demo 2"), folder.filePath(QStringLiteral("demo2.db")),
                               {standin::CatalogScript()}},
                              {QStringLiteral("Plain SQLite"), folder.filePath(QStringLiteral("plain.db")),
                               {},
                               standin::kOtherDriverName}});
    } catch (const QnError &e) {
        QTextStream(stderr) << "qnstandin-setup: " << e.Description() << "\n";
        return 1;
    }
    return 0;
}
