#include "frmspecialcols.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>

#include "core/boundcontrols.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "panehost/forms.h"
#include "panehost/panehost.h"

using panelook::Twips;

[[maybe_unused]] static const bool declared = forms::Declare<frmSpecialCols>(QStringLiteral("frmSpecialCols"));

namespace {

// The special types: the keyword (column and field name), the box's label,
// the row's LENGTH, PRECISION and SQL type, and the box's top in twips.
struct SpecialType
{
    const char *keyword;
    const char *label;
    int length;
    int precision;
    const char *sqlType;
    int top;
};
const SpecialType kTypes[9] = {
    {},
    {"RFA", "&Record File Address", 14, 14, "VARCHAR", 1080},
    {"INDEX_NUMBER", "&Index Number", 2, 5, "SMALLINT", 1860},
    {"INDEX_NAME", "I&ndex Name", 64, 64, "VARCHAR", 2160},
    {"INDEX_COLUMNS", "Index &Columns", 254, 254, "VARCHAR", 2460},
    {"TABLE_ORDER", "Table &Order", 2, 5, "SMALLINT", 2940},
    {"ROWID", "I&SAM RowID", 4, 10, "INTEGER", 3300},
    {"RELATIVE_NUMBER", "Relative &Key Number:", 4, 10, "INTEGER", 1380},
    {"RELATIVE_INDEX", "Relative Index:", 4, 10, "INTEGER", 3780},
};
constexpr int kRelativeIndex = 8;
const QString kVaxRms = QStringLiteral("VAX-RMS");

QString tagOf(const QCheckBox *box) { return box->property("Tag").toString(); }

} // namespace

frmSpecialCols::frmSpecialCols() : EditorPane(QStringLiteral("frmSpecialCols"))
{
    setWindowTitle(QStringLiteral("Special Columns"));
    lblTitle.setText(QStringLiteral("Special Columns"));
    resize(Twips(0, 0, 7005, 5655).size());

    const QFont heading = panelook::Font(9.75, true, true);
    const std::pair<int, QRect> headings[2] = {{0, Twips(2340, 780, 1695, 255)}, {99, Twips(4140, 780, 1215, 255)}};
    for (const auto &[index, at] : headings) {
        auto *label = new QLabel(index == 0 ? QStringLiteral("Column Name") : QStringLiteral("Enabled"), this);
        label->setObjectName(QStringLiteral("lblHeading_%1").arg(index));
        label->setFont(heading);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setGeometry(at);
    }
    auto prompt = [&](int index, const QString &caption, const QRect &at, QWidget *buddy) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setGeometry(at);
        label->setBuddy(buddy);
    };
    for (int i = 1; i <= 8; ++i) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("chkActive_%1").arg(i));
        box->setProperty("Tag", QStringLiteral("0"));
        box->setGeometry(Twips(4380, kTypes[i].top, 255, 255));
        connect(box, &QCheckBox::clicked, this, [this, i] { chkActive_Click(i); });
        m_chkActive[std::size_t(i)] = box;
        prompt(i, QString::fromLatin1(kTypes[i].label), Twips(2340, kTypes[i].top, 1995, 255), box);
    }
    cboRIColumn = new QComboBox(this);
    cboRIColumn->setObjectName(QStringLiteral("cboRIColumn"));
    cboRIColumn->setEditable(true);
    cboRIColumn->setInsertPolicy(QComboBox::NoInsert);
    cboRIColumn->setGeometry(Twips(4380, 4020, 2355, 315));
    connect(cboRIColumn, &QComboBox::activated, this, &frmSpecialCols::cboRIColumn_Click);
    prompt(0, QStringLiteral("Column:"), Twips(2580, 4050, 1695, 255), cboRIColumn);

    lblDescription = new QLabel(QStringLiteral("Description"), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setFont(panelook::Font(8.25, true));
    lblDescription->setAttribute(Qt::WA_TranslucentBackground);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    lblDescription->setGeometry(Twips(120, 840, 1995, 2295));

    cmdAction->setText(QStringLiteral("&OK"));
    PlaceButtons(4440, 4500);
    QWidget *previous = nullptr;
    for (int i : {1, 7, 2, 3, 4, 5, 6, 8}) {
        if (previous)
            setTabOrder(previous, m_chkActive[std::size_t(i)]);
        previous = m_chkActive[std::size_t(i)];
    }
    setTabOrder(previous, cboRIColumn);
    setTabOrder(cboRIColumn, cmdAction);
    setTabOrder(cmdAction, cmdCancel);
}

QCheckBox *frmSpecialCols::chkActive(long type) const
{
    if (type < 1 || type > 8)
        qnerr::raise(qnerr::SubscriptOutOfRange, qnerr::standardDescription(qnerr::SubscriptOutOfRange));
    return m_chkActive[std::size_t(type)];
}

void frmSpecialCols::Form_Load()
{
    TraceScope trace(TraceName("Form_Load"));
    DatabaseName.clear();
    TableName.clear();
    LoadLook();
    m_loaded = true;
}

QString frmSpecialCols::tableWhere() const
{
    return modDatabase::TableWhere(DatabaseName, TableName);
}

int frmSpecialCols::Display(const QStringList &keys)
{
    const QString routine = TraceName("Display");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    RedrawOff redraw(this);
    if (!m_loaded && !handler.step([&] { Form_Load(); }))
        return 0;
    bool connected = false;
    if (!handler.step([&] {
            const auto connection = gConnections().Item(keys.value(0));
            connected = connection && connection->db;
            if (connected)
                m_db = connection->db;
        }))
        return 0;
    if (!connected)
        return -1;
    handler.step([&] {
        DatabaseName = keys.value(1);
        TableName = keys.value(2);
        lblTitle.setText(TableName + QStringLiteral(" - Special Columns"));
        if (QAction *up = modGUI::ToolbarButton(m_band, QStringLiteral("Up1")))
            up->setToolTip(QStringLiteral("Up to Table '") + TableName + QLatin1Char('\''));
        handler.info = QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE ") + tableWhere() +
                       QStringLiteral(" ORDER BY COLUMN_NAME ASC");
        modBoundControls::PopulateList(cboRIColumn, *m_db, handler.info);
        for (int i = 1; i <= 8; ++i) {
            m_chkActive[std::size_t(i)]->setChecked(false);
            m_chkActive[std::size_t(i)]->setProperty("Tag", QStringLiteral("0"));
        }
    }) && handler.step([&] {
        handler.info = QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + tableWhere() +
                       QStringLiteral(" AND COLUMN_NUMBER = 1 AND COLUMN_TYPE > 0 ORDER BY COLUMN_TYPE");
        const auto rs = m_db->OpenRecordset(handler.info, dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            bool isNumber = false;
            const long type = rs->Value(QStringLiteral("COLUMN_TYPE")).toString().toLong(&isNumber);
            // A type this pane does not know is neither shown nor changed.
            if (!isNumber || type < 1 || type > 8)
                continue;
            QCheckBox *box = chkActive(type);
            box->setChecked(true);
            box->setProperty("Tag", QStringLiteral("1"));
            if (type == kRelativeIndex) {
                // The column's text: its list item when it has one.
                const QString column = rs->Value(QStringLiteral("REMARKS")).toString();
                const int listed = cboRIColumn->findText(column, Qt::MatchExactly | Qt::MatchCaseSensitive);
                if (listed >= 0)
                    cboRIColumn->setCurrentIndex(listed);
                else
                    cboRIColumn->setEditText(column);
            }
        }
    }) && handler.step([&] {
        cboRIColumn->setEnabled(false);
        for (int i = 1; i <= 8; ++i)
            m_chkActive[std::size_t(i)]->setEnabled(false);
        setBand(DatabaseName != QLatin1String("QN"), false);
        HideAction();
        show();
        QCoreApplication::processEvents();
        lblDescription->setText(QStringLiteral("This is a list of all the Special Columns in Table '") + TableName +
                                QStringLiteral("'."));
    });
    return 0;
}

void frmSpecialCols::tbr_ButtonClick(const QString &key)
{
    const QString routine = TraceName("tbr_ButtonClick");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    if (key == QLatin1String("Up1")) {
        handler.step([&] {
            PaneHost::Get().PaneDisplay(QStringLiteral("frmTable"), {m_db->Name(), DatabaseName, TableName});
        });
    } else if (key == QLatin1String("Special Column Edit")) {
        edit(handler);
    } else if (key == QLatin1String("OK")) {
        commit(handler);
    } else if (key == QLatin1String("Cancel")) {
        handler.step([&] { Display({m_db->Name(), DatabaseName, TableName}); });
    }
}

// The band's buttons one by one: "Special Column Edit", and "OK" with "Cancel".
void frmSpecialCols::setBand(bool edit, bool pending)
{
    SetButton(QStringLiteral("Special Column Edit"), edit);
    SetButton(QStringLiteral("OK"), pending);
    SetButton(QStringLiteral("Cancel"), pending);
}

QString frmSpecialCols::firstValue(ErrorHandler &handler, const QString &sql, bool &ok)
{
    QString value;
    handler.info = sql;
    ok = handler.step([&] {
        const auto rs = m_db->OpenRecordset(sql, dao::dbOpenSnapshot);
        value = rs->Eof() ? QString() : rs->Cell(0, 0).toString();
    });
    return value;
}

// The edit state: the boxes the driver and the file's organisation allow.
void frmSpecialCols::edit(ErrorHandler &handler)
{
    setBand(false, true);
    ShowAction(QStringLiteral("&Update"));
    for (int i = 1; i <= 8; ++i)
        m_chkActive[std::size_t(i)]->setEnabled(true);
    bool ok = false;
    const QString driver = firstValue(
        handler, QStringLiteral("SELECT DRIVER_NAME FROM QN_DB WHERE DATABASE_NAME = '") +
                     modDatabase::EscapeQuotes(DatabaseName) + QLatin1Char('\''),
        ok);
    if (!ok)
        return;
    const QString file =
        firstValue(handler, QStringLiteral("SELECT FILE_NAME FROM QN_TABLE WHERE ") + tableWhere(), ok);
    if (!ok)
        return;
    const QString organisation = firstValue(
        handler, QStringLiteral("SELECT FILE_ORGANISATION FROM QN_FILE WHERE FILE_NAME = '") +
                     modDatabase::EscapeQuotes(file) + QLatin1Char('\''),
        ok);
    if (!ok)
        return;
    for (int i : {1, 7, 8})
        m_chkActive[std::size_t(i)]->setEnabled(false);
    if (driver == kVaxRms) {
        const bool keyed = organisation == QLatin1String("INDEXED") || organisation == QLatin1String("SEQUENTIAL");
        m_chkActive[keyed ? 1 : 7]->setEnabled(true);
        m_chkActive[8]->setEnabled(true);
    }
    cboRIColumn->setEnabled(m_chkActive[8]->isChecked());
    m_chkActive[6]->setEnabled(driver == QLatin1String("DISAM"));
}

// "OK": an INSERT for each box switched on, a DELETE for each switched off,
// then the relative index's column, all as one unit. The boxes' stored state
// ("Tag") changes only once the unit is written.
void frmSpecialCols::commit(ErrorHandler &handler)
{
    const QString db = modDatabase::EscapeQuotes(DatabaseName);
    const QString table = modDatabase::EscapeQuotes(TableName);
    const QString column = modDatabase::EscapeQuotes(cboRIColumn->currentText());
    QStringList statements;
    bool inserts = false;
    std::array<QString, 9> tags;
    for (int i = 1; i <= 8; ++i) {
        const QCheckBox *box = m_chkActive[std::size_t(i)];
        const bool wanted = box->isChecked();
        tags[std::size_t(i)] = tagOf(box);
        const SpecialType &t = kTypes[i];
        if (tagOf(box) == QLatin1String("0") && wanted) {
            const QString keyword = QLatin1String(t.keyword);
            statements << QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NAME, FIELD_NAME, "
                                         "LENGTH, PRECISION, DEFAULT_VALUE, UPDATABLE, COLUMN_NUMBER, COLUMN_TYPE, "
                                         "SQL_TYPE_NAME, VISIBLE, REMARKS) VALUES ('") +
                              db + QStringLiteral("', '") + table + QStringLiteral("', '") + keyword +
                              QStringLiteral("', '") + keyword + QStringLiteral("', ") + QString::number(t.length) +
                              QStringLiteral(", ") + QString::number(t.precision) + QStringLiteral(", '', 0, 1, ") +
                              QString::number(i) + QStringLiteral(", '") + QLatin1String(t.sqlType) +
                              QStringLiteral("', 1, '") + (i == kRelativeIndex ? column : QString()) +
                              QStringLiteral("')");
            tags[std::size_t(i)] = QStringLiteral("1");
            inserts = true;
        } else if (tagOf(box) == QLatin1String("1") && !wanted) {
            statements << QStringLiteral("DELETE FROM QN_COLUMN WHERE ") + tableWhere() +
                              QStringLiteral(" AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = ") + QString::number(i);
            tags[std::size_t(i)] = QStringLiteral("0");
        }
    }
    if (tags[kRelativeIndex] == QLatin1String("1") && m_chkActive[kRelativeIndex]->isChecked())
        statements << QStringLiteral("UPDATE QN_COLUMN SET REMARKS = '") + column + QStringLiteral("' WHERE ") +
                          tableWhere() + QStringLiteral(" AND COLUMN_NUMBER = 1 AND COLUMN_TYPE = 8");
    const QString ds = m_db->Name();
    if (!statements.isEmpty() &&
        !modUpdate::RunUnit(ds, handler.routine, [&] {
            // Nothing goes under a table deleted meanwhile.
            if (inserts)
                modUpdate::UnitRequireRow(modDatabase::RowSQL(QStringLiteral("QN_TABLE"),
                                                              {QStringLiteral("DATABASE_NAME"), QStringLiteral("TABLE_NAME")},
                                                              {DatabaseName, TableName}));
            for (const QString &sql : std::as_const(statements))
                modUpdate::UnitExecute(sql);
        }))
        return; // nothing written: the edit state and the stored states stay
    for (int i = 1; i <= 8; ++i)
        m_chkActive[std::size_t(i)]->setProperty("Tag", tags[std::size_t(i)]);
    setBand(true, false);
    handler.step([&] { Display({ds, DatabaseName, TableName}); });
}

void frmSpecialCols::chkActive_Click(int Index)
{
    if (Index == kRelativeIndex)
        cboRIColumn->setEnabled(m_chkActive[kRelativeIndex]->isChecked());
    cmdAction->setEnabled(true);
}

void frmSpecialCols::cboRIColumn_Click() { cmdAction->setEnabled(true); }
