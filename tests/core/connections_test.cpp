// The connection registry and the busy-cursor guards.
#include <QWidget>

#include "core/cconnections.h"
#include "core/frmqnerr.h"
#include "core/mousesleeper.h"
#include "standinfixture.h"
#include "uitest.h"

namespace {

class ConnectionsTest : public StandinTest
{
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        gConnections().setOpener(nullptr);
    }
    void TearDown() override
    {
        gConnections().setOpener(nullptr);
        StandinTest::TearDown();
    }
    static dao::DatabasePtr realOpen(const QString &connect)
    {
        return gWorkspace().OpenDatabase(QString(), 0, false, connect);
    }
};

// A window's pointer as the guards read it: 0 default (no cursor set, or the
// arrow a window keeps after unsetCursor), 11 hourglass, 100 + any other shape.
int pointer(const QWidget &w)
{
    if (!w.testAttribute(Qt::WA_SetCursor) || w.cursor().shape() == Qt::ArrowCursor)
        return 0;
    return w.cursor().shape() == Qt::WaitCursor ? 11 : 100 + int(w.cursor().shape());
}

} // namespace

TEST_F(ConnectionsTest, FirstLookUpConnectsAndLoadsBothCachesOnce)
{
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    ASSERT_TRUE(c->db && c->db->IsOpen());
    EXPECT_EQ(c->db->Name(), QStringLiteral("QnTest"));
    EXPECT_EQ(gConnections().Count(), 1);
    EXPECT_EQ(c->SQLDTs.Count(), 9);
    EXPECT_EQ(c->LOCDTs.Count(), 13);

    // A later look-up, in any letter case, hands out the same connection without reloading.
    open()->Execute(QStringLiteral("INSERT INTO QN_SQLDT (SQL_TYPE_NAME) VALUES ('BLOB')"));
    EXPECT_EQ(gConnections().Item(QStringLiteral("QNTEST")), c);
    EXPECT_EQ(gConnections().Item(QStringLiteral("qntest")), c);
    EXPECT_EQ(c->SQLDTs.Count(), 9);
    EXPECT_EQ(gConnections().Count(), 1);

    // Disconnect closes the database; the next look-up connects anew and reloads.
    gConnections().Remove(QStringLiteral("qnTEST"));
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_FALSE(c->db->IsOpen());
    auto again = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(again);
    EXPECT_NE(again, c);
    EXPECT_EQ(again->SQLDTs.Count(), 10);
    EXPECT_TRUE(ui().shown().isEmpty());
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ConnectionsTest, PositionsFollowTheOrderOfAdding)
{
    auto first = gConnections().Item(QStringLiteral("QnTest2"));
    auto second = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(gConnections().Item(1), first);
    EXPECT_EQ(gConnections().Item(2), second);
    EXPECT_EQ(gConnections().NewEnum(), (QList<CConnections::Ptr>{first, second}));
    try {
        gConnections().Item(3);
        ADD_FAILURE() << "no failure";
    } catch (const QnError &e) {
        EXPECT_EQ(e.Number(), qnerr::SubscriptOutOfRange);
    }
    gConnections().Remove(1);
    EXPECT_FALSE(first->db->IsOpen());
    EXPECT_EQ(gConnections().Item(1), second);
    EXPECT_EQ(gConnections().Item(QStringLiteral("qntest")), second); // found by name after the removal
    EXPECT_EQ(gConnections().Count(), 1);
    gConnections().RemoveAll();
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_FALSE(second->db->IsOpen());
}

TEST_F(ConnectionsTest, ConnectTextNamesADataSourceOrAFileDataSource)
{
    QStringList connects;
    gConnections().setOpener([&](const QString &connect) -> dao::DatabasePtr {
        connects << connect;
        if (connect.contains(QLatin1String("FILEDSN")))
            throw QnError(qnerr::ConnectCancelled, qnerr::standardDescription(qnerr::ConnectCancelled));
        return realOpen(connect);
    });
    EXPECT_TRUE(gConnections().Item(QStringLiteral("QnTest")));
    EXPECT_FALSE(gConnections().Item(QStringLiteral("Sales.dsn")));
    EXPECT_FALSE(gConnections().Item(QStringLiteral(".DSN")));
    EXPECT_EQ(connects, (QStringList{"ODBC;DSN=QnTest;DATABASE=PUBS", "ODBC;FILEDSN=Sales.dsn;DATABASE=PUBS",
                                     "ODBC;FILEDSN=.DSN;DATABASE=PUBS"}));
    EXPECT_EQ(gConnections().Count(), 1);
}

TEST_F(ConnectionsTest, AFailedConnectShowsOneMessageAndRegistersNothing)
{
    ui().answerMsgBox(ui::vbOK);
    EXPECT_FALSE(gConnections().Item(QStringLiteral("NoSuchSource")));
    ASSERT_EQ(ui().shown().size(), 1);
    const auto &shown = ui().shown().first();
    EXPECT_EQ(shown.kind, QStringLiteral("MsgBox"));
    EXPECT_EQ(shown.style, ui::vbExclamation);
    EXPECT_EQ(shown.title, ui::AppTitle());
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Failed to connect for the following reason:\r\n\r\nError: &H")))
        << shown.text.toStdString();
    EXPECT_EQ(shown.text, QStringLiteral("Failed to connect for the following reason:\r\n") +
                              frmQNErr::FetchODBCErrors());
    EXPECT_TRUE(shown.text.contains(QLatin1String("Data source name not found"))) << shown.text.toStdString();
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());

    // The next look-up tries again.
    ui().answerMsgBox(ui::vbOK);
    EXPECT_FALSE(gConnections().Item(QStringLiteral("NoSuchSource")));
    EXPECT_EQ(ui().messages().size(), 2);
}

TEST_F(ConnectionsTest, ACancelledConnectShowsNothing)
{
    int calls = 0;
    gConnections().setOpener([&](const QString &) -> dao::DatabasePtr {
        ++calls;
        throw QnError(qnerr::ConnectCancelled, qnerr::standardDescription(qnerr::ConnectCancelled));
    });
    EXPECT_FALSE(gConnections().Item(QStringLiteral("QnTest")));
    EXPECT_FALSE(gConnections().Item(QStringLiteral("QnTest")));
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(ui().shown().isEmpty());
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ConnectionsTest, OtherConnectFailuresGoToTheErrorDialog)
{
    int calls = 0;
    gConnections().setOpener([&](const QString &connect) -> dao::DatabasePtr {
        if (++calls == 1)
            qnerr::raise(qnerr::OutOfMemory);
        return realOpen(connect);
    });
    ui().answerError(ui::vbRetry);
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    EXPECT_TRUE(c);
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(ui().errors().size(), 1);
    const auto &e = ui().errors().first();
    EXPECT_EQ(e.number, QStringLiteral("7"));
    EXPECT_EQ(e.trappedIn, QStringLiteral("CConnections.Add"));
    EXPECT_EQ(e.additionalInfo, QStringLiteral("None"));
    EXPECT_EQ(e.callStack, (QStringList{"CConnections.Add", "CConnections.Item[PropertyGet]"}));
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());

    // Ignore: nothing registered, nothing returned.
    gConnections().RemoveAll();
    calls = 0;
    ui().answerError(ui::vbIgnore);
    EXPECT_FALSE(gConnections().Item(QStringLiteral("QnTest")));
    EXPECT_EQ(gConnections().Count(), 0);
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ConnectionsTest, AFailedCacheLoadClosesAndUnregistersTheConnection)
{
    open()->Execute(QStringLiteral("INSERT INTO QN_SQLDT (SQL_TYPE_NAME) VALUES ('decimal')"));
    dao::DatabasePtr opened;
    gConnections().setOpener([&](const QString &connect) { return opened = realOpen(connect); });
    try {
        gConnections().Item(QStringLiteral("QnTest"));
        ADD_FAILURE() << "no failure";
    } catch (const QnError &e) {
        EXPECT_EQ(e.Number(), qnerr::KeyAlreadyAssociated);
    }
    EXPECT_EQ(gConnections().Count(), 0);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(opened->IsOpen());
    // The failure passed up: its entry stays on the trace for the caller's handler.
    EXPECT_EQ(frmQNErr::Trace(), QStringList{"CConnections.Item[PropertyGet]"});
    frmQNErr::Unload();

    // The next look-up tries again.
    open()->Execute(QStringLiteral("DELETE FROM QN_SQLDT WHERE SQL_TYPE_NAME = 'decimal'"));
    auto c = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->SQLDTs.Count(), 9);
    EXPECT_EQ(c->LOCDTs.Count(), 13);
}

TEST_F(ConnectionsTest, ALostConnectionLeavesTheRegistryAndTheNextLookUpConnectsAgain)
{
    auto lost = gConnections().Item(QStringLiteral("QnTest"));
    auto kept = gConnections().Item(QStringLiteral("QnTest2"));
    ASSERT_TRUE(lost && kept);
    // A failure of another class keeps the connection.
    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("42000"));
    EXPECT_EQ(failureOf([&] { lost->db->OpenRecordset(QStringLiteral("SELECT * FROM QN_DB")); }).Number(), 3146);
    EXPECT_EQ(gConnections().Count(), 2);

    dao::Faults::Add(dao::Faults::Statement, 1, QStringLiteral("08S01"));
    EXPECT_EQ(failureOf([&] { lost->db->OpenRecordset(QStringLiteral("SELECT * FROM QN_DB")); }).Number(), 3146);
    EXPECT_FALSE(lost->db->IsOpen());
    EXPECT_EQ(gConnections().NewEnum(), QList<CConnections::Ptr>{kept});

    auto again = gConnections().Item(QStringLiteral("qntest"));
    ASSERT_TRUE(again);
    EXPECT_NE(again, lost);
    EXPECT_TRUE(again->db->IsOpen());
    EXPECT_EQ(again->SQLDTs.Count(), 9);
    EXPECT_EQ(gConnections().Count(), 2);

    // A registered database closed some other way is connected again too.
    again->db->Close();
    auto third = gConnections().Item(QStringLiteral("QnTest"));
    ASSERT_TRUE(third);
    EXPECT_NE(third, again);
    EXPECT_TRUE(third->db->IsOpen());
    EXPECT_TRUE(ui().shown().isEmpty());
    EXPECT_TRUE(frmQNErr::Trace().isEmpty());
}

TEST_F(ConnectionsTest, TheBusyCursorShowsWhileTheDataSourceOpensButNotWhileTheCachesLoad)
{
    QWidget window;
    ui::setDialogParent(&window);
    int during = -1;
    gConnections().setOpener([&](const QString &connect) {
        during = pointer(window);
        return realOpen(connect);
    });
    EXPECT_TRUE(gConnections().Item(QStringLiteral("QnTest")));
    EXPECT_EQ(during, 11);
    EXPECT_EQ(pointer(window), 0);
}

// ------------------------------------------------------------------ busy-cursor guards

class MouseSleeperTest : public ::testing::Test
{
protected:
    void SetUp() override { ui::setDialogParent(&window); }
    void TearDown() override { ui::setDialogParent(nullptr); }
    QWidget window;
};

TEST_F(MouseSleeperTest, OneGuardShowsTheHourglassUntilReleased)
{
    {
        CMouseSleeper sleeper;
        EXPECT_EQ(pointer(window), 11);
    }
    EXPECT_EQ(pointer(window), 0);
    window.setCursor(Qt::CrossCursor);
    {
        CMouseSleeper sleeper;
        EXPECT_EQ(pointer(window), 11);
    }
    EXPECT_EQ(pointer(window), 100 + int(Qt::CrossCursor));
}

TEST_F(MouseSleeperTest, NestedGuardsReleasedInnerFirstKeepTheHourglassUntilTheOuter)
{
    auto outer = std::make_optional<CMouseSleeper>();
    auto inner = std::make_optional<CMouseSleeper>();
    inner.reset();
    EXPECT_EQ(pointer(window), 11);
    outer.reset();
    EXPECT_EQ(pointer(window), 0);
}

TEST_F(MouseSleeperTest, NestedGuardsReleasedOuterFirstEndTheHourglassAtTheFirstRelease)
{
    auto outer = std::make_optional<CMouseSleeper>();
    auto inner = std::make_optional<CMouseSleeper>();
    outer.reset();
    EXPECT_EQ(pointer(window), 0);
    inner.reset();
    EXPECT_EQ(pointer(window), 0);
}

TEST_F(MouseSleeperTest, AGuardMadeUnderTheHourglassRestoresTheHourglass)
{
    window.setCursor(Qt::WaitCursor);
    {
        CMouseSleeper sleeper;
    }
    EXPECT_EQ(pointer(window), 11);
}

TEST_F(MouseSleeperTest, APointerSetMeanwhileStays)
{
    {
        CMouseSleeper sleeper;
        window.setCursor(Qt::IBeamCursor);
    }
    EXPECT_EQ(pointer(window), 100 + int(Qt::IBeamCursor));
    {
        CMouseSleeper sleeper;
        window.unsetCursor();
    }
    EXPECT_EQ(pointer(window), 0);
}

TEST_F(MouseSleeperTest, AFailureAfterTheGuardStillRestoresThePointer)
{
    EXPECT_THROW(
        {
            CMouseSleeper sleeper;
            qnerr::raise(qnerr::TypeMismatch);
        },
        QnError);
    EXPECT_EQ(pointer(window), 0);
}

TEST_F(MouseSleeperTest, WithoutAMainWindowNothingHappens)
{
    ui::setDialogParent(nullptr);
    CMouseSleeper sleeper;
    EXPECT_EQ(pointer(window), 0);
}

TEST_F(MouseSleeperTest, TheFormGuardAlwaysEndsWithTheDefaultPointer)
{
    QWidget form;
    form.setCursor(Qt::IBeamCursor);
    {
        clsFormMouseSleeper sleeper;
        EXPECT_EQ(pointer(form), 100 + int(Qt::IBeamCursor)); // nothing until Form is set
        sleeper.setForm(&form);
        EXPECT_EQ(pointer(form), 11);
        EXPECT_EQ(pointer(window), 0);
    }
    EXPECT_EQ(pointer(form), 0);
    {
        clsFormMouseSleeper unset; // released without a form: nothing happens
    }
    {
        auto gone = std::make_unique<QWidget>();
        clsFormMouseSleeper sleeper;
        sleeper.setForm(gone.get());
        gone.reset(); // the form went away first
    }
}
