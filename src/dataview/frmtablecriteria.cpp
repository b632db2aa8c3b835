#include "frmtablecriteria.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/cconnections.h"
#include "core/modapimisc.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "datasources.h"
#include "ui.h"

namespace {

const QString kWhere = QStringLiteral("WHERE");
const QString kAnd = QStringLiteral("AND");
const QString kOr = QStringLiteral("OR");

// Only digits, blanks and / - : . (and at least one character).
bool isDateText(const QString &value)
{
    if (value.isEmpty())
        return false;
    for (const QChar c : value) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && !QStringLiteral(" /-:.").contains(c))
            return false;
    }
    return true;
}

} // namespace

QString DefaultDatabase(const QString &dataSource)
{
    return modString::TrimNull(datasources::Entry(dataSource, QStringLiteral("DefaultDatabase")));
}

QString BracketedName(const QString &name)
{
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QStringLiteral("]]")) + QLatin1Char(']');
}

frmTableCriteria::frmTableCriteria()
{
    setObjectName(QStringLiteral("frmTableCriteria"));
    setWindowTitle(QStringLiteral("Table Selection Criteria..."));
    setModal(true);

    auto *rows = new QVBoxLayout(this);

    auto *top = new QGridLayout;
    lblPrompt_0 = new QLabel(QStringLiteral("SELECT"), this);
    lblPrompt_0->setObjectName(QStringLiteral("lblPrompt_0"));
    lblPrompt_1 = new QLabel(QStringLiteral("FROM"), this);
    lblPrompt_1->setObjectName(QStringLiteral("lblPrompt_1"));
    for (QLabel *prompt : {lblPrompt_0, lblPrompt_1}) {
        QFont font = prompt->font();
        font.setBold(true);
        prompt->setFont(font);
        prompt->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    lstColumns = new QListWidget(this);
    lstColumns->setObjectName(QStringLiteral("lstColumns"));
    lstColumns->setSelectionMode(QAbstractItemView::MultiSelection);
    lstColumns->setMinimumHeight(120);
    cmdSelectAll = new QPushButton(QStringLiteral("&All"), this);
    cmdSelectAll->setObjectName(QStringLiteral("cmdSelectAll"));
    cmdSelectNone = new QPushButton(QStringLiteral("&None"), this);
    cmdSelectNone->setObjectName(QStringLiteral("cmdSelectNone"));
    auto *listButtons = new QVBoxLayout;
    listButtons->addWidget(cmdSelectAll);
    listButtons->addWidget(cmdSelectNone);
    listButtons->addStretch(1);
    lblTable = new QLabel(this);
    lblTable->setObjectName(QStringLiteral("lblTable"));
    lblTable->setTextFormat(Qt::PlainText); // a name's "&" or "<" shows as it is
    top->addWidget(lblPrompt_0, 0, 0);
    top->addWidget(lstColumns, 0, 1);
    top->addLayout(listButtons, 0, 2);
    top->addWidget(lblPrompt_1, 1, 0);
    top->addWidget(lblTable, 1, 1, 1, 2);
    top->setColumnStretch(1, 1);
    rows->addLayout(top);

    auto *conditions = new QGridLayout;
    const QStringList operators = {QStringLiteral("LIKE"), QStringLiteral("="),  QStringLiteral("<>"),
                                   QStringLiteral("<"),    QStringLiteral(">"),  QStringLiteral("<="),
                                   QStringLiteral(">=")};
    for (int i = 0; i < Rows; ++i) {
        const QString index = QString::number(i);
        cboAndOr[i] = new QComboBox(this);
        cboAndOr[i]->setObjectName(QStringLiteral("cboAndOr_") + index);
        cboAndOr[i]->addItems(i == 0 ? QStringList{QString(), kWhere} : QStringList{QString(), kAnd, kOr});
        cboColumn[i] = new QComboBox(this);
        cboColumn[i]->setObjectName(QStringLiteral("cboColumn_") + index);
        cboColumn[i]->setMinimumWidth(150);
        cboCriteria[i] = new QComboBox(this);
        cboCriteria[i]->setObjectName(QStringLiteral("cboCriteria_") + index);
        cboCriteria[i]->addItems(operators);
        txtCriteria[i] = new QLineEdit(this);
        txtCriteria[i]->setObjectName(QStringLiteral("txtCriteria_") + index);
        for (QComboBox *box : {cboAndOr[i], cboColumn[i], cboCriteria[i]}) {
            box->setProperty("Index", i);
            modAPIMisc::InstallAutoComplete(box);
        }
        conditions->addWidget(cboAndOr[i], i, 0);
        conditions->addWidget(cboColumn[i], i, 1);
        conditions->addWidget(cboCriteria[i], i, 2);
        conditions->addWidget(txtCriteria[i], i, 3);
        connect(cboAndOr[i], &QComboBox::currentIndexChanged, this, [this, i] { cboAndOr_Click(i); });
    }
    conditions->setColumnStretch(3, 1);
    rows->addLayout(conditions);

    lblWarning = new QLabel(this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setTextFormat(Qt::PlainText);
    lblWarning->setWordWrap(true);
    rows->addWidget(lblWarning);

    auto *buttons = new QHBoxLayout;
    cmdClear = new QPushButton(QStringLiteral("&Clear"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdClear);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    rows->addLayout(buttons);

    // Buttons take no focus from the list and the boxes, but Enter still reaches OK.
    for (QPushButton *button : {cmdSelectAll, cmdSelectNone, cmdClear, cmdCancel})
        button->setAutoDefault(false);

    connect(lstColumns, &QListWidget::itemSelectionChanged, this, &frmTableCriteria::lstColumns_Click);
    connect(cmdSelectAll, &QPushButton::clicked, this, &frmTableCriteria::cmdSelectAll_Click);
    connect(cmdSelectNone, &QPushButton::clicked, this, &frmTableCriteria::cmdSelectNone_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmTableCriteria::cmdClear_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTableCriteria::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTableCriteria::cmdCancel_Click);

    Form_Load();
}

void frmTableCriteria::Form_Load()
{
    lblWarning->setText(QStringLiteral("Please Note:\r\nCriteria which return a large amount of data may take some "
                                       "time to retrieve over a slow connection."));
}

QString frmTableCriteria::GetCriteria(const QString &Datasource, const QString &Database, const QString &Table)
{
    const CConnections::Ptr connection = gConnections().Item(Datasource);
    if (!connection)
        qnerr::raise(qnerr::ObjectNotSet);
    const dao::DatabasePtr db = connection->db;
    if (!db)
        return {};
    const QString tableName = DefaultDatabase(Datasource).isEmpty() ? Database + QLatin1Char('_') + Table : Table;
    const auto rs = db->OpenRecordset(QStringLiteral("SELECT COLUMN_NAME, SQL_TYPE_NAME FROM QN_COLUMN WHERE "
                                                     "DATABASE_NAME = '%1' AND TABLE_NAME = '%2' ORDER BY COLUMN_NAME")
                                          .arg(modDatabase::EscapeQuotes(Database), modDatabase::EscapeQuotes(Table)));
    QStringList names, types;
    for (; !rs->Eof(); rs->MoveNext()) {
        names << rs->Value(QStringLiteral("COLUMN_NAME")).toString();
        types << rs->Value(QStringLiteral("SQL_TYPE_NAME")).toString();
    }

    frmTableCriteria dialog;
    dialog.fill(tableName, names, types);
    dialog.cmdClear_Click();
    dialog.m_answerOK = false;
    Ui().RunModal(dialog);
    return dialog.m_answerOK ? dialog.BuildSQL() : QString();
}

void frmTableCriteria::fill(const QString &tableName, const QStringList &names, const QStringList &types)
{
    m_tableName = tableName;
    lstColumns->clear();
    for (QComboBox *box : cboColumn)
        box->clear();
    m_types.clear();
    for (qsizetype i = 0; i < names.size(); ++i) {
        lstColumns->addItem(names[i]);
        m_types << types.value(i);
        for (QComboBox *box : cboColumn)
            box->addItem(names[i]);
    }
    lblTable->setText(QStringLiteral("From ") + tableName);
    cmdSelectNone->setEnabled(false);
}

QString frmTableCriteria::WrapCriteria(const QString &Datatype, const QString &Value)
{
    const QString type = Datatype.toUpper();
    if (type == QLatin1String("CHAR") || type == QLatin1String("VARCHAR"))
        return modDatabase::Quoted(Value);
    if (type == QLatin1String("DATE") || type == QLatin1String("TIME") || type == QLatin1String("TIMESTAMP"))
        return isDateText(Value) ? QLatin1Char('#') + Value + QLatin1Char('#') : modDatabase::Quoted(Value);
    return !Value.isEmpty() && modDatabase::IsNumber(Value) ? Value : modDatabase::Quoted(Value);
}

void frmTableCriteria::lstColumns_Click() { cmdSelectNone->setEnabled(!lstColumns->selectedItems().isEmpty()); }

void frmTableCriteria::cmdSelectAll_Click() { lstColumns->selectAll(); }

void frmTableCriteria::cmdSelectNone_Click() { lstColumns->clearSelection(); }

void frmTableCriteria::cmdClear_Click()
{
    cmdSelectNone_Click();
    for (int i = 0; i < Rows; ++i) {
        const QSignalBlocker quiet(cboAndOr[i]); // the row handler runs once, below
        cboAndOr[i]->setCurrentIndex(0);
        cboColumn[i]->setCurrentIndex(-1);
        cboCriteria[i]->setCurrentIndex(0);
        txtCriteria[i]->clear();
    }
    for (int i = 0; i < Rows; ++i)
        cboAndOr_Click(i);
}

void frmTableCriteria::cmdOK_Click()
{
    if (lstColumns->selectedItems().isEmpty()) {
        Ui().MsgBox(QStringLiteral("You must select at least one column to return."), ui::vbInformation);
        lstColumns->setFocus();
        return;
    }
    m_answerOK = true;
    accept();
}

void frmTableCriteria::cmdCancel_Click() { reject(); }

void frmTableCriteria::cboAndOr_Click(int Index)
{
    // A first box holds a choice when its entry is not the first, empty one.
    auto holdsChoice = [this](int row) { return cboAndOr[row]->currentIndex() > 0; };
    if (Index == 0) {
        if (cboAndOr[0]->currentText() == kWhere) {
            for (int i = 1; i < Rows; ++i) {
                cboAndOr[i]->setEnabled(true);
                cboAndOr_Click(i);
            }
        } else {
            for (int i = 1; i < Rows; ++i)
                for (QWidget *w : std::initializer_list<QWidget *>{cboAndOr[i], cboColumn[i], cboCriteria[i], txtCriteria[i]})
                    w->setEnabled(false);
        }
    }
    const bool usable = holdsChoice(Index);
    for (QWidget *w : std::initializer_list<QWidget *>{cboColumn[Index], cboCriteria[Index], txtCriteria[Index]})
        w->setEnabled(usable);
}

QString frmTableCriteria::condition(int row) const
{
    const int column = cboColumn[row]->currentIndex();
    const QString type = column >= 0 ? m_types.value(column) : QString();
    return BracketedName(cboColumn[row]->currentText()) + QLatin1Char(' ') + cboCriteria[row]->currentText() +
           QLatin1Char(' ') + WrapCriteria(type, txtCriteria[row]->text()) + QLatin1Char(' ');
}

QString frmTableCriteria::BuildSQL() const
{
    QString columns;
    int marked = 0;
    for (int i = 0; i < lstColumns->count(); ++i) {
        if (lstColumns->item(i)->isSelected()) {
            columns += BracketedName(lstColumns->item(i)->text()) + QStringLiteral(", ");
            ++marked;
        }
    }
    if (marked == lstColumns->count()) { // an empty list counts as every entry marked
        columns = QStringLiteral("* ");
    } else {
        columns.chop(2);
        columns += QLatin1Char(' ');
    }
    QString sql = QStringLiteral("SELECT ") + columns + QStringLiteral("FROM ") + BracketedName(m_tableName) +
                  QLatin1Char(' ');
    if (cboAndOr[0]->currentText() != kWhere)
        return sql;
    sql += kWhere + QLatin1Char(' ') + condition(0);
    for (int i = 1; i < Rows; ++i) {
        const QString word = cboAndOr[i]->currentText();
        if (word == kAnd || word == kOr)
            sql += word + QLatin1Char(' ') + condition(i);
    }
    return sql;
}
