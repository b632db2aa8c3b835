// The string routines, the trace and the rename writers need no error dialog:
// they run, succeed and fail (answered by a worker's injected reporter)
// without the dialog ever being loaded.
#include <gtest/gtest.h>

#include "core/errortrace.h"
#include "core/frmqnerr.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "standinfixture.h"

namespace {

class NoDialogTest : public StandinTest
{
};

TEST_F(NoDialogTest, StringRoutinesTraceScopeAndRenameWritersRunWithoutTheDialog)
{
    ASSERT_FALSE(frmQNErr::isLoaded());

    EXPECT_EQ(modString::ExtractAttr(QStringLiteral(";LENGTH="), QStringLiteral(";LENGTH=10;")), QStringLiteral("10"));
    EXPECT_EQ(modString::Pluralise(QStringLiteral("entry"), 2), QStringLiteral("entries"));
    EXPECT_EQ(modDatabase::EscapeQuotes(QStringLiteral("O'Neil")), QStringLiteral("O''Neil"));
    EXPECT_EQ(modDatabase::FormatSQL(QStringLiteral("SELECT A FROM T")), QStringLiteral("\r\nSELECT\r\n\tA\r\nFROM\r\n\tT"));

    {
        TraceScope outer(QStringLiteral("frmX.Outer"));
        try {
            TraceScope inner(QStringLiteral("modX.Inner"));
            qnerr::raise(qnerr::SubscriptOutOfRange);
        } catch (const QnError &) {
        }
        EXPECT_EQ(gErrorTrace().List(), (QStringList{"modX.Inner", "frmX.Outer"}));
        gErrorTrace().Pop();
    }
    EXPECT_TRUE(gErrorTrace().List().isEmpty());

    const QString ds = QStringLiteral("QnTest2");
    open(ds)->Execute(QStringLiteral("INSERT INTO QN_USER VALUES ('U1', 'pw', 'r'), ('U2', NULL, NULL)"));
    EXPECT_TRUE(modUpdate::UpdateUser(ds, QStringLiteral("U1"), QStringLiteral("V1")));

    // A failing rename, as a UI-free worker runs it: its reporter answers.
    QStringList reported;
    {
        FailureReporter worker([&](const QnError &e, const QString &routine, const QString &) {
            reported << routine + QLatin1Char(' ') + e.Description().left(25);
            return int(ui::vbIgnore);
        });
        EXPECT_FALSE(modUpdate::UpdateUser(ds, QStringLiteral("V1"), QStringLiteral("U2")));
    }
    EXPECT_EQ(reported, QStringList{"modUpdate.UpdateUser ODBC--call failed."});
    EXPECT_EQ(rows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN ('U1', 'U2', 'V1') ORDER BY 1"), ds),
              (QStringList{"U2", "V1"}));
    EXPECT_TRUE(gErrorTrace().List().isEmpty());
    EXPECT_TRUE(ui().errors().isEmpty());
    EXPECT_FALSE(frmQNErr::isLoaded());
}

} // namespace
