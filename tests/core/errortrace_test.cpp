#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/errortrace.h"
#include "core/frmqnerr.h"
#include "dao.h"
#include "uitest.h"

namespace {

using ErrorConventionTest = UiTest;

void inner()
{
    TraceScope trace(QStringLiteral("modX.Inner"));
    qnerr::raise(qnerr::SubscriptOutOfRange);
}

// A procedure with a handler: three steps, the middle one calls `inner`.
struct Outer
{
    int first = 0, second = 0, third = 0;
    std::function<void()> failing = inner;
    bool run()
    {
        TraceScope trace(QStringLiteral("frmX.Outer"));
        ErrorHandler handler(QStringLiteral("frmX.Outer"), QStringLiteral("info"));
        bool result = false;
        if (!handler.step([&] { ++first; }))
            return result;
        if (!handler.step([&] {
                ++second;
                failing();
            }))
            return result;
        if (!handler.step([&] { ++third; }))
            return result;
        result = true;
        return result;
    }
};

} // namespace

TEST_F(ErrorConventionTest, PushAndPopKeepTheNewestFirst)
{
    frmQNErr::Pop(); // nothing to pop
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    frmQNErr::Push(QStringLiteral("A"));
    frmQNErr::Push(QStringLiteral("B"));
    EXPECT_EQ(frmQNErr::Trace(), (QStringList{"B", "A"}));
    frmQNErr::Pop();
    EXPECT_EQ(frmQNErr::Trace(), QStringList{"A"});
    frmQNErr::Unload();
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    frmQNErr::Pop(); // after an unload the trace is new and empty
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST(ErrorTrace, HoldsAtMostItsCapDroppingTheOldest)
{
    ErrorTrace trace;
    for (qsizetype i = 0; i <= ErrorTrace::MaxEntries; ++i)
        trace.Push(QString::number(i));
    EXPECT_EQ(trace.Count(), ErrorTrace::MaxEntries);
    EXPECT_EQ(trace.List().first(), QString::number(ErrorTrace::MaxEntries));
    EXPECT_EQ(trace.List().last(), QStringLiteral("1"));
    trace.Pop();
    EXPECT_EQ(trace.List().first(), QString::number(ErrorTrace::MaxEntries - 1));
}

TEST_F(ErrorConventionTest, AFailureThatPassesUpLeavesItsEntryAndIgnorePopsOnce)
{
    ui.answerError(ui::vbIgnore);
    Outer outer;
    EXPECT_FALSE(outer.run());
    ASSERT_EQ(ui.errors().size(), 1);
    const auto &shown = ui.errors().first();
    EXPECT_EQ(shown.callStack, (QStringList{"modX.Inner", "frmX.Outer"}));
    EXPECT_EQ(shown.trappedIn, QStringLiteral("frmX.Outer"));
    EXPECT_EQ(shown.number, QStringLiteral("9"));
    EXPECT_EQ(shown.description, QStringLiteral("Subscript out of range"));
    EXPECT_EQ(shown.additionalInfo, QStringLiteral("info"));
    EXPECT_EQ(shown.caption, QStringLiteral("Quarnel ODBC Administrator - Unexpected Error"));
    EXPECT_EQ(outer.third, 0);
    // Ignore's exit point pops the newest entry (the inner one); the outer's stays.
    EXPECT_EQ(frmQNErr::Trace(), QStringList{"frmX.Outer"});
}

TEST_F(ErrorConventionTest, RetryRerunsOnlyTheFailingStep)
{
    Outer outer;
    int calls = 0;
    outer.failing = [&] {
        if (++calls == 1)
            qnerr::raise(qnerr::TypeMismatch);
    };
    ui.answerError(ui::vbRetry);
    EXPECT_TRUE(outer.run());
    EXPECT_EQ(outer.first, 1);
    EXPECT_EQ(outer.second, 2);
    EXPECT_EQ(outer.third, 1);
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ErrorConventionTest, AbortEndsTheProgramThroughTheUi)
{
    ui.answerError(ui::vbAbort);
    Outer outer;
    EXPECT_THROW(outer.run(), ProgramEnded);
    EXPECT_EQ(outer.third, 0);
}

TEST_F(ErrorConventionTest, OwnTreatmentComesBeforeTheDialog)
{
    ErrorHandler handler(QStringLiteral("frmX.Open"));
    handler.treat = [](const QnError &e) {
        return e.Number() == qnerr::FileDialogCancelled ? Treated::Exit : Treated::No;
    };
    EXPECT_FALSE(handler.step([] { qnerr::raise(qnerr::FileDialogCancelled); }));
    EXPECT_TRUE(ui.errors().isEmpty());

    handler.treat = [](const QnError &) { return Treated::Resume; };
    EXPECT_TRUE(handler.step([] { qnerr::raise(qnerr::NoCurrentRecord); }));

    int rolledBack = 0;
    handler.treat = nullptr;
    handler.beforeDialog = [&] { ++rolledBack; };
    ui.answerError(ui::vbIgnore);
    EXPECT_FALSE(handler.step([] { qnerr::raise(qnerr::NoCurrentRecord); }));
    EXPECT_EQ(rolledBack, 1);
}

TEST_F(ErrorConventionTest, InsufficientPrivilegesAnswersIgnoreWithOneMessage)
{
    struct Case
    {
        const char *description;
        bool shortcut;
    } cases[] = {
        {"[Quarnel][ODBC] User lacks privileges on table", true},
        {"User lacks Privileges on table", false},
        {"no such table: X", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.description);
        ui.clear();
        dao::Errors::Set({{42, QString::fromLatin1(c.description), {}, QStringLiteral("42000")},
                          {3146, QStringLiteral("ODBC--call failed."), {}, {}}});
        if (c.shortcut)
            ui.answerMsgBox(ui::vbOK);
        else
            ui.answerError(ui::vbIgnore);
        // Whatever the current error is.
        EXPECT_EQ(frmQNErr::OnError(QnError(13, QStringLiteral("Type mismatch")), QStringLiteral("m.R")), ui::vbIgnore);
        if (c.shortcut) {
            EXPECT_EQ(ui.messages(),
                      QStringList{"The current user has insufficient privileges to complete this action."});
            EXPECT_EQ(ui.shown().first().style, ui::vbOKOnly);
            EXPECT_EQ(ui.shown().first().title, QStringLiteral("Quarnel ODBC Administrator"));
            EXPECT_TRUE(ui.errors().isEmpty());
        } else {
            EXPECT_EQ(ui.errors().size(), 1);
        }
    }
}

TEST_F(ErrorConventionTest, AnOdbcFailureShowsTheErrorListAndTheFormattedStatement)
{
    dao::Errors::Set({{1, QStringLiteral("[SQLite]no such table: QN_X (1)"), {}, QStringLiteral("HY000")},
                      {3146, QStringLiteral("ODBC--call failed."), {}, {}}});
    ui.answerError(ui::vbIgnore);
    frmQNErr::Push(QStringLiteral("frmX.Save"));
    frmQNErr::OnError(QnError(3146, QStringLiteral("ODBC--call failed.")), QStringLiteral("frmX.Save"),
                      QStringLiteral("DELETE FROM QN_X WHERE A = 'b'"));
    ASSERT_EQ(ui.errors().size(), 1);
    const auto &shown = ui.errors().first();
    EXPECT_EQ(shown.caption, QStringLiteral("Quarnel ODBC Administrator - Unexpected ODBC Error"));
    EXPECT_EQ(shown.number, QStringLiteral("ODBC Error"));
    EXPECT_EQ(shown.description, QStringLiteral("\nError: &H1\n[SQLite]no such table: QN_X (1)\n"));
    EXPECT_EQ(shown.additionalInfo, QStringLiteral("DELETE\nFROM\n\tQN_X\nWHERE\n\tA = 'b'"));
    EXPECT_EQ(shown.trappedIn, QStringLiteral("frmX.Save"));
    EXPECT_EQ(shown.callStack, QStringList{"frmX.Save"});
}

TEST_F(ErrorConventionTest, FetchOdbcErrorsListsEachEntryButTheFinalFailure)
{
    const QString CrLf = QStringLiteral("\r\n");
    struct Case
    {
        long number;
        const char *description;
        QString expected;
    } cases[] = {
        {255, "Syntax error\rnear X\nthere", CrLf + "Error: &HFF" + CrLf + "Syntax error near X\nthere" + CrLf},
        {-1, "negative", CrLf + "Error: &HFFFFFFFF" + CrLf + "negative" + CrLf},
        {7, "ISAM failure (107)", CrLf + "Error: &H7" + CrLf + "ISAM failure (107)" + CrLf},
        {7, "d-isam error (107)",
         CrLf + "D-ISAM Error: 107 - Another process has a read-only lock on the requested record." + CrLf},
        {7, "disam: isam error (120)", CrLf + "D-ISAM Error: 120 - 120" + CrLf},
        {7, "isam gone (abc)", CrLf + "D-ISAM Error: abc - abc" + CrLf},
        {3146, "ODBC--call failed.", QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.description);
        dao::Errors::Set({{c.number, QString::fromLatin1(c.description), {}, {}},
                          {3146, QStringLiteral("ODBC--call failed."), {}, {}}});
        EXPECT_EQ(frmQNErr::FetchODBCErrors(), c.expected);
    }
    dao::Errors::Set({{1, QStringLiteral("a"), {}, {}}, {2, QStringLiteral("b"), {}, {}}});
    EXPECT_EQ(frmQNErr::FetchODBCErrors(), CrLf + "Error: &H1" + CrLf + "a" + CrLf + CrLf + "Error: &H2" + CrLf + "b" + CrLf);
    dao::Errors::Clear();
    EXPECT_EQ(frmQNErr::FetchODBCErrors(), QString());
}

TEST_F(ErrorConventionTest, FetchIsamErrorGivesTheFixedMessages)
{
    struct Case
    {
        int code;
        const char *expected;
    } cases[] = {
        {100, "An attempt was made to (re)write a duplicate where duplicates are prohibited, or an attempt was made "
              "to REWRITE(F) where the primary key permiteed duplicates."},
        {101, "The fd parameter does not reference an opened file."},
        {102, "One of the arguments has a value with no defined meaning."},
        {103, "The values of the keys are not valid."},
        {104, "All isam file descriptors are used, you cannot open any more files.  Note that this is different gtom "
              "the values ENFIL and EMFILE that are returned by the operating system when it runs out of handles and "
              "can easily be corrected by increasing the value of MAXFDS in isport.h"},
        {105, "The isam file is corrupt, it must be repaired with DCHECK(I)."},
        {106, "Exclusive access to the file was not possible."},
        {107, "Another process has a read-only lock on the requested record."},
        {108, "The value of the key has already been established as a key."},
        {109, "The requested function may not be performed on the primary key, as you have requested."},
        {110, "The beginning or end of the file has already been reached."},
        {111, "No record was found to match your request."},
        {112, "There is no current record set at this time."},
        {113, "The file has been exclusively locked by another, or if trying to establish an exclusive lock, another "
              "process is using the file."},
        {114, "The name given for the file is too long."},
        {115, "the lock file cannot be created. Presently not used by D-ISAM."},
        {116, "malloc() cannot allocate the request.  Usually means out of memory, but possibly the allocation list "
              "is corrupted."},
        {99, "99"},
        {117, "117"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(frmQNErr::FetchISAMError(c.code), QString::fromLatin1(c.expected)) << c.code;
}

TEST_F(ErrorConventionTest, TheDialogAnswersFromItsButtonsKeysAndCloseBox)
{
    struct Case
    {
        const char *how;
        std::function<void(QDialog &)> act;
        int answer;
        bool unloaded;
    } cases[] = {
        {"Abort button", [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>("cmdResponce_0"), Qt::LeftButton); }, 3, false},
        {"Retry button", [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>("cmdResponce_1"), Qt::LeftButton); }, 4, false},
        {"Ignore button", [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>("cmdResponce_2"), Qt::LeftButton); }, 5, false},
        {"Enter", [](QDialog &d) { QTest::keyClick(&d, Qt::Key_Return); }, 3, false},
        {"Esc", [](QDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }, 5, false},
        {"close box", [](QDialog &d) { d.close(); }, 3, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        frmQNErr::Push(QStringLiteral("frmX.Click"));
        ui.onError([&](QDialog &dialog) {
            dialog.show();
            c.act(dialog);
            return dialog.result();
        });
        EXPECT_EQ(frmQNErr::OnError(QnError(5, QStringLiteral("Invalid procedure call or argument")),
                                    QStringLiteral("frmX.Click")),
                  c.answer);
        EXPECT_FALSE(frmQNErr::instance().isVisible());
        EXPECT_EQ(frmQNErr::Trace().isEmpty(), c.unloaded);
        frmQNErr::Unload();
    }
}

namespace {
QPushButton *button(QDialog &dialog, const char *name) { return dialog.findChild<QPushButton *>(QLatin1String(name)); }
} // namespace

TEST_F(ErrorConventionTest, AFailureWhileTheDialogIsUpGetsADialogOfItsOwn)
{
    struct Case
    {
        const char *how;
        std::function<void(QDialog &)> answer;
        int nestedAnswer;
    } cases[] = {
        {"Ignore", [](QDialog &d) { QTest::mouseClick(button(d, "cmdResponce_2"), Qt::LeftButton); }, ui::vbIgnore},
        {"close box", [](QDialog &d) { d.close(); }, ui::vbAbort},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        ui.clear();
        frmQNErr::Push(QStringLiteral("frmX.Click"));
        QDialog *outerDialog = nullptr;
        QDialog *nestedDialog = nullptr;
        int nestedAnswer = 0;
        bool outerUpDuringNested = false, outerUpAfterNested = false;
        // The first dialog runs its own modal loop; a timer fails while it is up.
        ui.onError([&](QDialog &outer) {
            outerDialog = &outer;
            QTimer::singleShot(0, &outer, [&] {
                nestedAnswer =
                    frmQNErr::OnError(QnError(13, QStringLiteral("Type mismatch")), QStringLiteral("frmX.tmrPoll_Timer"));
                outerUpAfterNested = outer.isVisible();
                QTest::mouseClick(button(outer, "cmdResponce_1"), Qt::LeftButton); // the user's answer: Retry
            });
            return outer.exec();
        });
        ui.onError([&](QDialog &nested) {
            nestedDialog = &nested;
            outerUpDuringNested = outerDialog->isVisible();
            nested.show();
            c.answer(nested);
            return nested.result();
        });
        EXPECT_EQ(frmQNErr::OnError(QnError(5, QStringLiteral("Invalid procedure call or argument")),
                                    QStringLiteral("frmX.Click")),
                  ui::vbRetry);
        EXPECT_EQ(nestedAnswer, c.nestedAnswer);
        EXPECT_TRUE(outerUpDuringNested);
        EXPECT_TRUE(outerUpAfterNested);
        EXPECT_NE(nestedDialog, outerDialog);
        ASSERT_EQ(ui.errors().size(), 2);
        EXPECT_EQ(ui.errors()[1].number, QStringLiteral("13"));
        EXPECT_EQ(ui.errors()[1].trappedIn, QStringLiteral("frmX.tmrPoll_Timer"));
        EXPECT_EQ(ui.errors()[1].callStack, QStringList{"frmX.Click"});
        EXPECT_EQ(ui.errors()[0].trappedIn, QStringLiteral("frmX.Click"));
        EXPECT_FALSE(frmQNErr::instance().isVisible());
        frmQNErr::Unload();
    }
}

TEST_F(ErrorConventionTest, UnloadingTheDialogWhileItIsUpWaitsForTheUsersAnswer)
{
    // E.g. the data-source list refreshed from an event while the dialog is up.
    frmQNErr::Push(QStringLiteral("frmX.Click"));
    bool upAfterUnload = false;
    ui.onError([&](QDialog &dialog) {
        QTimer::singleShot(0, &dialog, [&] {
            frmQNErr::Unload();
            upAfterUnload = dialog.isVisible();
            QTest::mouseClick(button(dialog, "cmdResponce_2"), Qt::LeftButton);
        });
        return dialog.exec();
    });
    EXPECT_EQ(frmQNErr::OnError(QnError(13, QStringLiteral("Type mismatch")), QStringLiteral("frmX.Click")),
              ui::vbIgnore);
    EXPECT_TRUE(upAfterUnload);
    EXPECT_FALSE(frmQNErr::isLoaded());
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ErrorConventionTest, AnInjectedReporterAnswersInsteadOfTheUi)
{
    int reports = 0;
    {
        FailureReporter outer([&](const QnError &, const QString &, const QString &) {
            ADD_FAILURE() << "the innermost reporter answers";
            return int(ui::vbAbort);
        });
        FailureReporter worker([&](const QnError &e, const QString &routine, const QString &info) {
            ++reports;
            EXPECT_EQ(e.Number(), qnerr::TypeMismatch);
            EXPECT_EQ(routine, QStringLiteral("modCopy.CopyTable"));
            EXPECT_EQ(info, QStringLiteral("INSERT INTO T VALUES (1)"));
            return reports == 1 ? int(ui::vbRetry) : int(ui::vbIgnore);
        });
        ErrorHandler handler(QStringLiteral("modCopy.CopyTable"), QStringLiteral("INSERT INTO T VALUES (1)"));
        EXPECT_FALSE(handler.step([] { qnerr::raise(qnerr::TypeMismatch); }));
    }
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(ui.errors().isEmpty());
    EXPECT_FALSE(frmQNErr::isLoaded());
}
