// Pictures of the editors, for looking at them:
// QN_SCREENSHOT_DIR=<folder> test_editors --gtest_filter=EditorScreenshot.*

#include <QDir>

#include "editorfixture.h"
#include "editors/schema/frmcolumn.h"
#include "editors/schema/frmcolumnreorder.h"
#include "dialogs/frmcriteriabuilder.h"
#include "editors/schema/frmdatabase.h"
#include "editors/schema/frmtable.h"
#include "editors/storage/frmfieldreorder.h"
#include "dialogs/frmformatpicker.h"

namespace {

using EditorScreenshot = EditorTest;

TEST_F(EditorScreenshot, EveryEditorAndDialog)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    mdiMain &m = main();
    m.resize(1000, 640);
    auto grab = [&](QWidget *w, const char *name) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    m.PaneDisplay(QStringLiteral("frmDatabase"), {QStringLiteral("QnTest"), QStringLiteral("SALES")});
    grab(&m, "frmDatabase-browse.png");
    m.PaneEdit(QStringLiteral("frmDatabase"), {QStringLiteral("QnTest"), QStringLiteral("SALES")});
    grab(&m, "frmDatabase-edit.png");
    m.PaneDisplay(QStringLiteral("frmDatabase"), {QStringLiteral("QnTest"), QStringLiteral("QN")});
    grab(&m, "frmDatabase-qn.png");
    m.PaneDisplay(QStringLiteral("frmTable"), {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("OPEN_ORDERS")});
    grab(&m, "frmTable-browse.png");
    m.PaneEdit(QStringLiteral("frmTable"), {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("OPEN_ORDERS")});
    grab(&m, "frmTable-edit.png");
    m.PaneAddNew(QStringLiteral("frmTable"), {QStringLiteral("QnTest"), QStringLiteral("SALES")});
    grab(&m, "frmTable-add.png");
    const QStringList column = {QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("ORDERS"),
                                QStringLiteral("STATUS")};
    m.PaneDisplay(QStringLiteral("frmColumn"), column);
    grab(&m, "frmColumn-browse.png");
    m.PaneEdit(QStringLiteral("frmColumn"), column);
    grab(&m, "frmColumn-edit.png");
    m.PaneEdit(QStringLiteral("frmColumn"), {column[0], column[1], column[2], QStringLiteral("TOTAL")});
    grab(&m, "frmColumn-edit-locked.png");
    m.PaneAddNew(QStringLiteral("frmColumn"), column.mid(0, 3));
    grab(&m, "frmColumn-add.png");
    const QStringList bin = {QStringLiteral("QnTest"), QStringLiteral("STOCK"), QStringLiteral("BIN")};
    m.PaneDisplay(QStringLiteral("frmSpecialCols"), bin);
    grab(&m, "frmSpecialCols-browse.png");
    m.tbrPane_ButtonClick(modGUI::ToolbarButton(m.tbrSpecialCols, QStringLiteral("Special Column Edit")));
    grab(&m, "frmSpecialCols-edit.png");
    ui().onModal([&](QDialog &d) {
        d.show();
        grab(&d, "frmColumnReorder.png");
        return 0;
    });
    frmColumnReorder::Display(bin[0], bin[1], bin[2]);
    ui().onModal([&](QDialog &d) {
        grab(&d, "frmCriteriaBuilder.png");
        return 0;
    });
    frmCriteriaBuilder::GetCriteria(QStringLiteral("QnTest"), QStringLiteral("SALES"), QStringLiteral("ORDERS"),
                                    QStringLiteral("SALES_ORDERS.STATUS = 'O' "));
}

TEST_F(EditorScreenshot, FileFieldPickersAndReorder)
{
    const QString folder = qEnvironmentVariable("QN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "QN_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    mdiMain &m = main();
    m.resize(1000, 700);
    auto grab = [&](QWidget *w, const char *name) {
        QCoreApplication::processEvents();
        ASSERT_TRUE(w->grab().save(QDir(folder).filePath(QLatin1String(name)))) << name;
    };
    const QString ds = QStringLiteral("QnTest");
    m.PaneDisplay(QStringLiteral("frmFile"), {ds, QStringLiteral("CUSTOMER")});
    grab(&m, "frmFile-browse.png");
    m.PaneEdit(QStringLiteral("frmFile"), {ds, QStringLiteral("MOVEMENT")});
    grab(&m, "frmFile-edit.png");
    m.PaneAddNew(QStringLiteral("frmFile"), {ds});
    grab(&m, "frmFile-add.png");
    m.PaneDisplay(QStringLiteral("frmField"), {ds, QStringLiteral("CUSTOMER"), QStringLiteral("CREDIT-LIMIT")});
    grab(&m, "frmField-browse.png");
    m.PaneEdit(QStringLiteral("frmField"), {ds, QStringLiteral("CUSTOMER"), QStringLiteral("SINCE")});
    grab(&m, "frmField-edit.png");
    m.PaneAddNew(QStringLiteral("frmField"), {ds, QStringLiteral("ORDERS")});
    grab(&m, "frmField-add.png");
    FormatBuilder::Clock() = [] { return QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9)); };
    ui().onModal([&](QDialog &d) {
        grab(&d, "frmDateFormat.png");
        return 0;
    });
    frmDateFormat::GetFormat(QStringLiteral("DD/MMM/YYYY"));
    ui().onModal([&](QDialog &d) {
        grab(&d, "frmTimeFormat.png");
        return 0;
    });
    frmTimeFormat::GetFormat(QStringLiteral("hh:mm:ss.cc"));
    FormatBuilder::Clock() = nullptr;
    ui().onModal([&](QDialog &d) {
        grab(&d, "frmFieldReorder.png");
        return 0;
    });
    frmFieldReorder::Display(ds, QStringLiteral("CUSTOMER"));
}

} // namespace
