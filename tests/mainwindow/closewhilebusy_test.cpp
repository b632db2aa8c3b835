// The main window's close while work runs: an import, in its checks and in
// its unit, yields to the event loop; a close issued meanwhile is refused
// (with a beep), the work completes, and a later close closes the window.

#include <QTimer>

#include "../csv/csvfixture.h"

namespace {

class CloseWhileBusy : public CsvTest
{
};

TEST_F(CloseWhileBusy, AnImportKeepsTheWindowOpenUntilItEnds)
{
    QByteArray bytes;
    for (int i = 0; i < 200; ++i)
        bytes += QStringLiteral("\"FILE\",\"X%1\",\"INDEXED\",\"FIXED\",1\r\n").arg(i).toLatin1();
    writeFile(QStringLiteral("files.csv"), bytes);
    // The stage whose status showed when each close was issued, and its result.
    QStringList tried, closes;
    importFrom(QStringLiteral("QnTest2"), QStringLiteral("files.csv"), [&](frmCSVValidate &d) {
        QTimer timer;
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const QString status = d.lblStatus->text();
            for (const QString &stage : {QStringLiteral("Validating Line"), QStringLiteral("Importing Line")})
                if (status.startsWith(stage) && !tried.contains(stage)) {
                    tried << stage;
                    closes << stage + (main().close() ? QStringLiteral(": closed") : QStringLiteral(": stays"));
                }
        });
        timer.start();
        ui().answerMsgBox(ui::vbOK);
        click(d.cmdAction);
        timer.stop();
    });
    EXPECT_EQ(closes, QStringList({"Validating Line: stays", "Importing Line: stays"}));
    EXPECT_EQ(ui().beeps(), 2);
    EXPECT_EQ(ui().messages(), QStringList{QStringLiteral("CSV Successfully imported.")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM QN_FILE WHERE FILE_NAME LIKE 'X%'"), QStringLiteral("QnTest2"))
                  .toInt(),
              200);
    ASSERT_TRUE(mdiMain::isLoaded());
    EXPECT_TRUE(main().isVisible());
    // Nothing runs now: the window closes.
    EXPECT_TRUE(main().close());
    EXPECT_FALSE(main().isVisible());
}

} // namespace
