#include "frmcriteriabuilder.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

#include "core/boundcontrols.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "panehost/forms.h"
#include "panehost/panelook.h"
#include "ui.h"

using panelook::Twips;

namespace {

struct Operator
{
    const char *caption;
    const char *tip;
};

const Operator kOperators[14] = {
    {"<", "Less than"},
    {">", "Greater than"},
    {"<=", "Less than or Equal to"},
    {">=", "Greater than or Equal to"},
    {"<>", "Not Equal to"},
    {"=", "Equal to"},
    {"AND", nullptr},
    {"OR", nullptr},
    {"NOT", nullptr},
    {"LIKE", nullptr},
    {"(", nullptr},
    {")", nullptr},
    {"IS NULL", nullptr},
    {"IS NOT NULL", nullptr},
};

QLabel *prompt(QWidget *parent, int index, const QString &text, const QRect &at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
    label->setGeometry(at);
    return label;
}

} // namespace

frmCriteriaBuilder::frmCriteriaBuilder() : QDialog(ui::dialogParent())
{
    setObjectName(QStringLiteral("frmCriteriaBuilder"));
    setWindowTitle(QStringLiteral("Table Criteria Builder"));
    setFixedSize(Twips(0, 0, 5595, 4875).size());
    setModal(true);

    prompt(this, 0, QStringLiteral("Criteria String:"), Twips(120, 90, 2400, 255));
    txtCriteria = new QPlainTextEdit(this);
    txtCriteria->setObjectName(QStringLiteral("txtCriteria"));
    txtCriteria->setGeometry(Twips(120, 360, 5355, 1005));
    txtCriteria->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtCriteria->setToolTip(QStringLiteral("Criteria string - Any valid SQL is allowed"));
    txtCriteria->setTabChangesFocus(true);
    connect(txtCriteria, &QPlainTextEdit::textChanged, this, &frmCriteriaBuilder::txtCriteria_Change);

    // Separator lines: a dark and a light one under the criteria, above the list and above the buttons.
    const QRect lines[8] = {Twips(120, 1440, 5355, 15), Twips(120, 1455, 5355, 15), Twips(120, 2325, 5355, 15),
                            Twips(120, 2340, 5355, 15), Twips(120, 4230, 5355, 15), Twips(120, 4245, 5355, 15),
                            Twips(2835, 2430, 15, 1710), Twips(2850, 2430, 15, 1710)};
    for (int i = 0; i < 8; ++i) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("linSep_%1").arg(i));
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        panelook::SetBackground(line, panelook::System(i % 2 ? QPalette::Light : QPalette::Mid));
        line->setGeometry(lines[i]);
    }

    for (int i = 0; i < 14; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(kOperators[i].caption), this);
        button->setObjectName(QStringLiteral("cmdComp_%1").arg(i));
        button->setAutoDefault(false);
        if (kOperators[i].tip)
            button->setToolTip(QString::fromLatin1(kOperators[i].tip));
        if (i < 12)
            button->setGeometry(Twips(120 + i * 447, 1560, 435, 345));
        else if (i == 12)
            button->setGeometry(Twips(2880, 1935, 1155, 345));
        else
            button->setGeometry(Twips(4080, 1935, 1395, 345));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdComp_Click(i); });
        cmdComp[i] = button;
    }

    prompt(this, 1, QStringLiteral("Available Columns:"), Twips(120, 2430, 2595, 255));
    lstColumns = new QListWidget(this);
    lstColumns->setObjectName(QStringLiteral("lstColumns"));
    lstColumns->setGeometry(Twips(120, 2700, 2595, 1455));
    lstColumns->setToolTip(QStringLiteral("A list of the columns for which criteria can be specified.  Double "
                                          "clicking the column appends it to the criteria string."));
    connect(lstColumns, &QListWidget::itemDoubleClicked, this, &frmCriteriaBuilder::lstColumns_DblClick);

    prompt(this, 2, QStringLiteral("Column Value:"), Twips(2970, 2430, 2400, 255));
    txtColVal = new QLineEdit(this);
    txtColVal->setObjectName(QStringLiteral("txtColVal"));
    txtColVal->setGeometry(Twips(2970, 2700, 2055, 330));
    cmdInsert = new QToolButton(this);
    cmdInsert->setObjectName(QStringLiteral("cmdInsert"));
    cmdInsert->setArrowType(Qt::UpArrow);
    cmdInsert->setToolTip(QStringLiteral("Append to Criteria String"));
    cmdInsert->setGeometry(Twips(5085, 2700, 390, 330));
    connect(cmdInsert, &QToolButton::clicked, this, &frmCriteriaBuilder::cmdInsert_Click);

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(120, 4365, 1095, 375));
    cmdClear = new QPushButton(QStringLiteral("&Clear"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setToolTip(QStringLiteral("Clear the criteria string"));
    cmdClear->setGeometry(Twips(3180, 4365, 1095, 375));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(4380, 4365, 1095, 375));
    cmdOK->setDefault(true);
    cmdCancel->setAutoDefault(false);
    cmdClear->setAutoDefault(false);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCriteriaBuilder::cmdCancel_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmCriteriaBuilder::cmdClear_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCriteriaBuilder::cmdOK_Click);
}

QString frmCriteriaBuilder::GetCriteria(const QString &Datasource, const QString &Database, const QString &Table,
                                        const QString &Default)
{
    const QString routine = QStringLiteral("frmCriteriaBuilder.GetCriteria");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    CConnections::Ptr connection;
    if (!handler.step([&] { connection = gConnections().Item(Datasource); }) || !connection || !connection->db)
        return Default;
    QPointer<frmCriteriaBuilder> form;
    long columns = 0;
    if (!handler.step([&] {
            form = &forms::Get<frmCriteriaBuilder>();
            form->m_db = connection->db;
            form->m_database = Database;
            form->m_table = Table;
            columns = modBoundControls::PopulateList(
                form->lstColumns, *connection->db,
                QStringLiteral("SELECT COLUMN_NAME FROM QN_COLUMN WHERE DATABASE_NAME = '") +
                    modDatabase::EscapeQuotes(Database) + QStringLiteral("' AND TABLE_NAME = '") +
                    modDatabase::EscapeQuotes(Table) + QLatin1Char('\''));
        }))
        return Default;
    if (columns == 0) {
        Ui().MsgBox(QStringLiteral("This Table contains no columns.\r\nAdd some columns before entering a table "
                                   "criteria."),
                    ui::vbInformation);
        return Default;
    }
    if (!handler.step([&] {
            form->m_result = 2;
            form->txtCriteria->setPlainText(Default);
            form->txtColVal->clear();
            Ui().RunModal(*form);
        }))
        return Default;
    // Closing the window unloads the form: that counts as Cancel.
    if (!form || !forms::IsLoaded(form) || form->m_result != 0)
        return Default;
    return form->txtCriteria->toPlainText();
}

void frmCriteriaBuilder::append(const QString &piece)
{
    txtCriteria->setPlainText(txtCriteria->toPlainText() + piece + QLatin1Char(' '));
    txtCriteria->moveCursor(QTextCursor::End);
}

// The box holds at most MaxLength characters, typed, pasted or appended.
void frmCriteriaBuilder::txtCriteria_Change()
{
    const QString text = txtCriteria->toPlainText();
    if (text.size() <= MaxLength)
        return;
    txtCriteria->setPlainText(text.left(MaxLength));
    txtCriteria->moveCursor(QTextCursor::End);
}

void frmCriteriaBuilder::cmdComp_Click(int Index)
{
    if (Index >= 0 && Index < 14)
        append(cmdComp[Index]->text());
}

void frmCriteriaBuilder::lstColumns_DblClick()
{
    const QList<QListWidgetItem *> selected = lstColumns->selectedItems();
    if (selected.isEmpty())
        return;
    append(m_database + QLatin1Char('_') + m_table + QLatin1Char('.') + selected.first()->text());
}

void frmCriteriaBuilder::cmdInsert_Click()
{
    if (!txtColVal->text().isEmpty())
        append(txtColVal->text());
}

void frmCriteriaBuilder::cmdClear_Click()
{
    txtCriteria->clear();
    txtColVal->clear();
}

void frmCriteriaBuilder::cmdOK_Click()
{
    m_result = 0;
    accept();
}

void frmCriteriaBuilder::cmdCancel_Click() { reject(); }

// Form_Unload: the window closed by its button.
void frmCriteriaBuilder::closeEvent(QCloseEvent *event)
{
    m_db.reset();
    QDialog::closeEvent(event);
    forms::Unload(this);
}
