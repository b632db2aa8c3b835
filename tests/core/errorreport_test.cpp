#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <unistd.h>

#include "appinfo.h"
#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "dao.h"
#include "uitest.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

class ErrorReportTest : public UiTest
{
protected:

    // Shows `error` in the dialog and runs `act` on it while it is up; answers Ignore.
    void showAndDo(const QnError &error, const QString &info, const std::function<void(frmQNErr &)> &act)
    {
        ui.onError([&](QDialog &dialog) {
            act(static_cast<frmQNErr &>(dialog));
            return int(ui::vbIgnore);
        });
        EXPECT_EQ(frmQNErr::OnError(error, QStringLiteral("frmX.Click"), info), ui::vbIgnore);
    }

    static void click(frmQNErr &dialog, int index)
    {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdReport_%1").arg(index)), Qt::LeftButton);
    }

    QTemporaryDir dir;
};

QnError ordinaryError() { return QnError(13, QStringLiteral("Type mismatch")); }

// The report's lines up to the call stack, as the dialog shows `number`, `description` and `info`.
QStringList headLines(const frmQNErr &dialog, const QString &number, const QString &description, const QString &info)
{
    const QString sysInfo = dialog.findChild<QLabel *>(QStringLiteral("lblSysInfo"))->text();
    return QString(QStringLiteral("Application:  \t") + appinfo::Title() + kCrLf + QStringLiteral("Version:      \t") +
                   appinfo::Version() + kCrLf + kCrLf + QStringLiteral("Sys Info:     \t") + sysInfo + kCrLf + kCrLf +
                   QStringLiteral("Error No:     \t") + number + kCrLf + QStringLiteral("Description:  \t") +
                   description + kCrLf + QStringLiteral("Additional:   \t") + info + kCrLf + kCrLf +
                   QStringLiteral("Trapped In:   \tfrmX.Click"))
        .split(kCrLf);
}

// Compares a report with the expected lines; the date line is checked by its shape.
void expectReport(const QString &report, const QStringList &expected)
{
    QStringList lines = report.split(kCrLf);
    const QRegularExpression dateLine(QStringLiteral("^Date:         \\t(.+) (.+)$"));
    ASSERT_EQ(lines.size(), expected.size()) << report.toStdString();
    for (int i = 0; i < lines.size(); ++i) {
        if (expected[i] == QLatin1String("<date>")) {
            const auto match = dateLine.match(lines[i]);
            EXPECT_TRUE(match.hasMatch()) << lines[i].toStdString();
            EXPECT_TRUE(lines[i].contains(QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat)))
                << lines[i].toStdString();
        } else {
            EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
        }
    }
}

const QStringList kTail = {QStringLiteral("<date>"), QString(), QStringLiteral("Comments:"), QString()};

TEST_F(ErrorReportTest, ReportLinesForAnEmptyTraceTwoEntriesAndAnOdbcFailure)
{
    // Empty trace: "Empty" and a single empty line before the date.
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) {
        expectReport(dialog.FetchErrorReport(), headLines(dialog, "13", "Type mismatch", "None") +
                                                    QStringList{"Call Stack:   \tEmpty", ""} + kTail);
    });

    // Two entries, newest first, then two empty lines.
    frmQNErr::Push(QStringLiteral("frmOuter.Load"));
    frmQNErr::Push(QStringLiteral("frmX.Click"));
    showAndDo(ordinaryError(), QStringLiteral("two\r\nlines"), [&](frmQNErr &dialog) {
        expectReport(dialog.FetchErrorReport(),
                     headLines(dialog, "13", "Type mismatch", "two\r\nlines") +
                         QStringList{"Call Stack:   \tfrmX.Click", "              \tfrmOuter.Load", "", ""} + kTail);
    });
    frmQNErr::Unload();

    // ODBC failure: the description starts with a line break, the statement is laid out.
    dao::Errors::Set({{1, QStringLiteral("[SQLite]no such table: QN_X (1)"), {}, QStringLiteral("HY000")},
                      {3146, QStringLiteral("ODBC--call failed."), {}, {}}});
    const QString sql = QStringLiteral("SELECT A FROM QN_X");
    frmQNErr::Push(QStringLiteral("frmX.Click"));
    showAndDo(QnError(3146, QStringLiteral("ODBC--call failed.")), sql, [&](frmQNErr &dialog) {
        const QStringList lines = dialog.FetchErrorReport().split(kCrLf);
        EXPECT_EQ(lines.mid(5, 4), (QStringList{"Error No:     \tODBC Error", "Description:  \t", "Error: &H1",
                                                 "[SQLite]no such table: QN_X (1)"}));
        expectReport(dialog.FetchErrorReport(),
                     headLines(dialog, "ODBC Error", frmQNErr::FetchODBCErrors(), modDatabase::FormatSQL(sql)) +
                         QStringList{"Call Stack:   \tfrmX.Click", "", ""} + kTail);
    });
}

TEST_F(ErrorReportTest, DialogShowsVersionSystemLineAndReportTooltips)
{
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) {
        EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("lblApp_0"))->text(), appinfo::Title());
        EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("lblApp_1"))->text(), appinfo::Version());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^.+ v\\d+\\.\\d+\\.\\d+ .*$"))
                        .match(dialog.findChild<QLabel *>(QStringLiteral("lblSysInfo"))->text())
                        .hasMatch());
        const char *tips[] = {"Print this error to the default printer", "Save this error to a text file"};
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(dialog.findChild<QPushButton *>(QStringLiteral("cmdReport_%1").arg(i))->toolTip(),
                      QString::fromLatin1(tips[i]));
        EXPECT_EQ(dialog.findChild<QPushButton *>(QStringLiteral("cmdReport_2"))->toolTip(),
                  QStringLiteral("EMail this error to ") + appinfo::SupportEmail());
        EXPECT_EQ(dialog.findChild<QPushButton *>(QStringLiteral("cmdReport_3"))->toolTip(),
                  QStringLiteral("Visit ") + appinfo::SupportWeb());
    });
}

TEST_F(ErrorReportTest, SaveWritesTheReportAsUtf8AndAsksForComments)
{
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    const QString question = QStringLiteral("Error report written to\r\n") + path +
                             QStringLiteral("\r\n\r\nDo you wish to add any comments?");
    for (int answer : {int(ui::vbYes), int(ui::vbNo)}) {
        SCOPED_TRACE(answer);
        ui.clear();
        const int urlsBefore = ui.openedUrls().size();
        QFile::remove(path);
        ui.answerSave(path);
        ui.answerMsgBox(answer);
        frmQNErr::Push(QStringLiteral("frmX.Click"));
        showAndDo(QnError(13, QStringLiteral("Ünïcode déscription")), QStringLiteral("None"), [&](frmQNErr &dialog) {
            click(dialog, 1);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            // The report (taken while the click handler is on the trace) and one more line break.
            expectReport(text, headLines(dialog, "13", "Ünïcode déscription", "None") +
                                   QStringList{"Call Stack:   \tfrmQNErr.cmdReport_Click", "              \tfrmX.Click",
                                               "", ""} +
                                   kTail + QStringList{""});
            EXPECT_EQ(frmQNErr::Trace(), QStringList{"frmX.Click"});
        });
        frmQNErr::Pop();
        const auto &shown = ui.shown();
        ASSERT_EQ(shown.size(), 3);
        EXPECT_EQ(shown[1].kind, QStringLiteral("Save"));
        EXPECT_EQ(shown[1].title, QStringLiteral("Select file to save error to..."));
        EXPECT_EQ(shown[1].text, appinfo::Title() + QStringLiteral(" Error Report.txt|Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        EXPECT_EQ(shown[2].text, question);
        EXPECT_EQ(shown[2].style, ui::vbYesNo + ui::vbQuestion);
        EXPECT_EQ(shown[2].title, appinfo::Title());
        if (answer == ui::vbYes) {
            ASSERT_EQ(ui.openedUrls().size(), urlsBefore + 1);
            EXPECT_EQ(ui.openedUrls().last(), QUrl::fromLocalFile(path));
        } else {
            EXPECT_EQ(ui.openedUrls().size(), urlsBefore);
        }
    }
}

TEST_F(ErrorReportTest, SaveReplacesAnExistingFileWholeNeverRewritesItInPlace)
{
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    const QString otherName = dir.filePath(QStringLiteral("old.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    // A second name of the old file sees whether the file was rewritten in place.
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(otherName).constData()), 0);
    ui.answerSave(path);
    ui.answerMsgBox(ui::vbNo);
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) { click(dialog, 1); });
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_TRUE(text.startsWith("Application:  \t"));
    EXPECT_TRUE(text.endsWith("Comments:\r\n\r\n"));
    QFile old(otherName);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(5000, 'x'));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files) == (QStringList{"old.txt", "report.txt"}));
}

TEST_F(ErrorReportTest, CancellingTheSaveDialogWritesAndShowsNothing)
{
    ui.answerSave(std::nullopt);
    frmQNErr::Push(QStringLiteral("frmX.Click"));
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) { click(dialog, 1); });
    EXPECT_EQ(frmQNErr::Trace(), QStringList{"frmX.Click"});
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_TRUE(ui.openedUrls().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ErrorReportTest, AFileThatCannotBeWrittenIsReportedNotAnnouncedAsWritten)
{
    const QString path = dir.filePath(QStringLiteral("missing/report.txt"));
    ui.answerSave(path);
    ui.answerMsgBox(ui::vbOK);
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) { click(dialog, 1); });
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("The error report could not be written to\r\n") + path});
    EXPECT_TRUE(ui.openedUrls().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ErrorReportTest, PrintEmailAndWwwGoThroughTheUi)
{
    QStringList expected;
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) {
        click(dialog, 0);
        click(dialog, 2);
        click(dialog, 3);
        // The click handler's own entry is on the trace while it builds the report.
        expected = headLines(dialog, "13", "Type mismatch", "None") +
                   QStringList{"Call Stack:   \tfrmQNErr.cmdReport_Click", "", ""} + kTail;
    });
    ASSERT_EQ(ui.printed().size(), 1);
    const QString title = appinfo::Title() + QStringLiteral(" - Unexpected Error Report\n");
    EXPECT_TRUE(ui.printed()[0].startsWith(title));
    expectReport(ui.printed()[0].mid(title.size()), expected);
    expectReport(ui.clipboard(), expected);
    ASSERT_EQ(ui.openedUrls().size(), 2);
    const QUrl mail = ui.openedUrls()[0];
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mail.path(), appinfo::SupportEmail());
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("ODBC Administrator Error Report"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
              QStringLiteral("Paste Error text here and comments after"));
    EXPECT_EQ(ui.openedUrls()[1], QUrl(appinfo::SupportWeb()));
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ErrorReportTest, AFailingPrintIsTriedOnceMoreThenReported)
{
    ui.failPrint();
    ui.answerMsgBox(ui::vbOK);
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) { click(dialog, 0); });
    EXPECT_EQ(ui.printed().size(), 2);
    EXPECT_EQ(ui.messages(), QStringList{"The error report could not be printed."});
}

TEST_F(ErrorReportTest, SnapshotOfAnOdbcFailure)
{
    dao::Errors::Set({{1, QStringLiteral("[SQLite]no such table: QN_TABLEX (1)"), {}, QStringLiteral("HY000")},
                      {3146, QStringLiteral("ODBC--call failed."), {}, {}}});
    frmQNErr::Push(QStringLiteral("frmTables.Display"));
    frmQNErr::Push(QStringLiteral("modDatabase.FetchFieldInfo"));
    showAndDo(QnError(3146, QStringLiteral("ODBC--call failed.")),
              QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME, FILE_NAME FROM QN_TABLEX WHERE DATABASE_NAME = 'PUBS' "
                             "ORDER BY TABLE_NAME"),
              [&](frmQNErr &dialog) {
                  dialog.show();
                  const QImage image = dialog.grab().toImage();
                  EXPECT_GT(image.width(), 300);
                  EXPECT_GT(image.height(), 300);
                  const QByteArray out = qgetenv("QN_SNAPSHOT_DIR");
                  if (!out.isEmpty())
                      image.save(QString::fromLocal8Bit(out) + QStringLiteral("/frmQNErr.png"));
              });
}

TEST_F(ErrorReportTest, CentredOnceAtLoadThenKeepsItsPlace)
{
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 300, 200);
    mainWindow.show();
    ui::setDialogParent(&mainWindow);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QPoint shownAt;
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) {
        dialog.show();
        // Centred on the screen at load (the texts filled in since may change its size a little).
        EXPECT_LT((dialog.geometry().center() - screen.center()).manhattanLength(), 20);
        dialog.move(dialog.pos() + QPoint(-40, 25));
        shownAt = dialog.pos();
    });
    showAndDo(ordinaryError(), QStringLiteral("None"), [&](frmQNErr &dialog) {
        dialog.show();
        EXPECT_EQ(dialog.pos(), shownAt);
        EXPECT_EQ(dialog.parentWidget(), &mainWindow);
    });
    frmQNErr::Unload();
    ui::setDialogParent(nullptr);
}

TEST_F(ErrorReportTest, EnterClicksTheFocusedButtonOtherwiseAbort)
{
    struct Case
    {
        const char *focused; // nullptr: the description box
        int answer;
        int urls;
    } cases[] = {{nullptr, 3, 0}, {"cmdResponce_1", 4, 0}, {"cmdResponce_2", 5, 0}, {"cmdReport_3", 5, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.focused ? c.focused : "description");
        ui.clear();
        const int urls = ui.openedUrls().size();
        ui.onError([&](QDialog &dialog) {
            dialog.show();
            QWidget *target = dialog.findChild<QWidget *>(c.focused ? QString::fromLatin1(c.focused)
                                                                    : QStringLiteral("txtDescription"));
            QTest::keyClick(target, Qt::Key_Return);
            if (dialog.isVisible()) // a report button leaves the dialog up
                QTest::keyClick(&dialog, Qt::Key_Escape);
            return dialog.result();
        });
        EXPECT_EQ(frmQNErr::OnError(ordinaryError(), QStringLiteral("frmX.Click")), c.answer);
        EXPECT_EQ(ui.openedUrls().size() - urls, c.urls);
    }
}

} // namespace
