// Pictures of the export and import panes and of the validation dialog, for
// looking at them: QN_SCREENSHOT_DIR=<folder> test_csv --gtest_filter=Screenshot.*

#include "csvfixture.h"

namespace {

using Screenshot = CsvTest;

TEST_F(Screenshot, PanesAndValidationDialog)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    auto save = [&](QWidget *widget, const char *name) {
        settle();
        ASSERT_TRUE(widget->grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    auto *exporter = openPane<frmCSVExport>(QStringLiteral("QnTest"), "Export");
    ASSERT_TRUE(exporter);
    exportTo(QStringLiteral("QnTest"), QStringLiteral("demo.csv"));
    save(&main(), "frmCSVExport.png");

    writeFile(QStringLiteral("checked.csv"),
              readFile(QStringLiteral("demo.csv")) + "\"USER\",\"NEW\",\"\"\r\n\"TABLE\",\"NODB\",\"T\",\"TABLE\",\"F\",\"\","
                                                     "\"\",\"\"\r\n\"NOPE\"\r\n");
    auto *importer = openPane<frmCSVImport>(QStringLiteral("QnTest"), "Import");
    ASSERT_TRUE(importer);
    save(&main(), "frmCSVImport.png");
    importFrom(QStringLiteral("QnTest"), QStringLiteral("checked.csv"), [&](frmCSVValidate &d) {
        save(&d, "frmCSVValidate-start.png");
        click(d.cmdAction);
        save(&d, "frmCSVValidate.png");
        click(d.cmdCancel);
    });
}

} // namespace
