#include "frmoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>

#include "core/errortrace.h"
#include "panehost/forms.h"
#include "frmwelcome.h"
#include "mdimain.h"
#include "core/modgui.h"
#include "settings.h"

using panelook::Twips;

namespace {

// A check box's value: 0 unticked, 1 ticked, 2 greyed.
int value(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setValue(QCheckBox *box, int value)
{
    if (value < 0 || value > 2)
        qnerr::raise(qnerr::ValidationFailed);
    box->setTristate(value == 2);
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

QLabel *prompt(QWidget *parent, int index, const QString &text, const QRect &at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
    label->setFont(panelook::Font(8.25));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setGeometry(at);
    label->adjustSize();
    return label;
}

QLabel *heading(QWidget *parent, int index, const QString &text, const QRect &at)
{
    QLabel *label = prompt(parent, index, text, at);
    label->setFont(panelook::Font(9.75, true, true));
    panelook::SetTextColour(label, panelook::System(QPalette::Highlight));
    label->adjustSize();
    return label;
}

} // namespace

[[maybe_unused]] static const bool declared = forms::Declare<frmOptions>(QStringLiteral("frmOptions"));

frmOptions::frmOptions()
{
    setObjectName(QStringLiteral("frmOptions"));
    panelook::SetBackground(this, Qt::white);
    resize(Twips(0, 0, 6930, 4920).size());

    imgCorner = panelook::CornerImage(this);

    picTitlebar = panelook::TitleStrip(this, 615);
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), QStringLiteral("Options"),
                                   panelook::Font(13.5), Twips(600, 120, 975, 360), true);

    heading(this, 0, QStringLiteral("Display Options..."), Twips(120, 780, 1635, 240));
    QLabel *webStyle = prompt(this, 2, QStringLiteral("&Web Style:"), Twips(360, 1200, 780, 195));
    chkWin98 = new QCheckBox(this);
    chkWin98->setObjectName(QStringLiteral("chkWin98"));
    chkWin98->move(Twips(1860, 1200, 195, 195).topLeft());
    webStyle->setBuddy(chkWin98);

    QLabel *defaultView = prompt(this, 1, QStringLiteral("&Default View:"), Twips(360, 1560, 945, 195));
    cboItems = new QComboBox(this);
    cboItems->setObjectName(QStringLiteral("cboItems"));
    cboItems->addItems({QStringLiteral("Display"), QStringLiteral("Edit")});
    cboItems->setGeometry(Twips(1860, 1560, 1755, 315).adjusted(0, -2, 0, 2));
    defaultView->setBuddy(cboItems);

    QLabel *fieldOrder = prompt(this, 5, QStringLiteral("Field &Order"), Twips(360, 1920, 765, 195));
    const QString orders[2] = {QStringLiteral("Alphabetically"), QStringLiteral("Offset Order")};
    for (int i = 0; i < 2; ++i) {
        optFieldOrder[i] = new QRadioButton(orders[i], this);
        optFieldOrder[i]->setObjectName(QStringLiteral("optFieldOrder_%1").arg(i));
        optFieldOrder[i]->setGeometry(Twips(1860, 1920 + 240 * i, 1635, 255));
        optFieldOrder[i]->setAttribute(Qt::WA_TranslucentBackground);
    }
    fieldOrder->setBuddy(optFieldOrder[0]);

    heading(this, 3, QStringLiteral("Catalog Options..."), Twips(120, 2580, 1665, 240));
    QLabel *sysTables = prompt(this, 4, QStringLiteral("View &System Tables:"), Twips(360, 3000, 1470, 195));
    chkSysTable = new QCheckBox(this);
    chkSysTable->setObjectName(QStringLiteral("chkSysTable"));
    chkSysTable->move(Twips(1860, 3000, 195, 195).topLeft());
    sysTables->setBuddy(chkSysTable);
    for (QCheckBox *box : {chkWin98, chkSysTable})
        box->setAttribute(Qt::WA_TranslucentBackground);

    lblWarning = new QLabel(QStringLiteral("WARNING"), this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setFont(panelook::Font(9.75, true, true));
    panelook::SetTextColour(lblWarning, Qt::red);
    lblWarning->move(Twips(780, 3360, 945, 240).topLeft());
    lblWarning->adjustSize();
    lblSysTable = new QLabel(
        QStringLiteral("Changing the system tables manually can make them unreadable and is not recommended."), this);
    lblSysTable->setObjectName(QStringLiteral("lblSysTable"));
    lblSysTable->setFont(panelook::Font(8.25));
    lblSysTable->setWordWrap(true);
    lblSysTable->setGeometry(Twips(1860, 3360, 4815, 555));
    lblWarning->hide();
    lblSysTable->hide();

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(4380, 3960, 1095, 315).adjusted(0, -2, 0, 4));
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(5520, 3960, 1095, 315).adjusted(0, -2, 0, 4));
    // Enter on a focused button presses that button; elsewhere it presses OK.
    cmdOK->setAutoDefault(true);
    cmdCancel->setAutoDefault(true);
    imgCorner->lower();

    // The inputs stand right of the widest prompt (the prompts' font may be wider than designed).
    int column = Twips(1860, 0, 0, 0).x();
    for (QLabel *label : {webStyle, defaultView, fieldOrder, sysTables})
        column = qMax(column, label->geometry().right() + 8);
    const int shift = column - Twips(1860, 0, 0, 0).x();
    for (QWidget *input : std::initializer_list<QWidget *>{chkWin98, cboItems, optFieldOrder[0], optFieldOrder[1],
                                                           chkSysTable, lblSysTable})
        input->move(input->x() + shift, input->y());

    // A click on a choice (also one made from code, and re-choosing the same
    // value) enables OK.
    auto enableOK = [this] { cmdOK->setEnabled(true); };
    connect(chkWin98, &QCheckBox::toggled, this, enableOK);
    connect(chkWin98, &QCheckBox::clicked, this, enableOK);
    connect(chkSysTable, &QCheckBox::toggled, this, &frmOptions::chkSysTable_Click);
    connect(chkSysTable, &QCheckBox::clicked, this, &frmOptions::chkSysTable_Click);
    connect(cboItems, &QComboBox::currentIndexChanged, this, enableOK);
    connect(cboItems, &QComboBox::activated, this, enableOK);
    for (QRadioButton *option : optFieldOrder) {
        connect(option, &QRadioButton::toggled, this, enableOK);
        connect(option, &QRadioButton::clicked, this, enableOK);
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
}

void frmOptions::Form_Load()
{
    TraceScope trace(QStringLiteral("frmOptions.Form_Load"));
    modGUI::ApplyFormStyle(this);
    const int win98 = options::Win98();
    setValue(chkWin98, win98);
    chkWin98->setProperty("Tag", QString::number(win98));
    const int sysTables = options::SysTables();
    setValue(chkSysTable, sysTables);
    chkSysTable->setProperty("Tag", QString::number(sysTables));
    lblWarning->setVisible(value(chkSysTable) == 1);
    lblSysTable->setVisible(lblWarning->isVisibleTo(this));
    const int fieldOrder = options::FieldOrder();
    if (fieldOrder < 0 || fieldOrder > 1)
        qnerr::raise(340, QStringLiteral("Control array element '%1' doesn't exist").arg(fieldOrder));
    optFieldOrder[fieldOrder]->setChecked(true);
    const int items = options::Items();
    if (items < 0 || items > 1)
        qnerr::raise(qnerr::ValidationFailed);
    cboItems->setCurrentIndex(items);
    m_loaded = true;
}

int frmOptions::Display(const QStringList &)
{
    TraceScope trace(QStringLiteral("frmOptions.Display"));
    if (!m_loaded)
        Form_Load();
    cmdOK->setEnabled(false);
    show();
    return 0;
}

void frmOptions::chkSysTable_Click()
{
    cmdOK->setEnabled(true);
    lblWarning->setVisible(value(chkSysTable) == 1);
    lblSysTable->setVisible(lblWarning->isVisibleTo(this));
}

void frmOptions::cmdOK_Click()
{
    const bool lookChanged = QString::number(value(chkWin98)) != chkWin98->property("Tag").toString();
    const bool sysTablesChanged = QString::number(value(chkSysTable)) != chkSysTable->property("Tag").toString();
    options::Save(options::kWin98, value(chkWin98));
    options::Save(options::kSysTables, value(chkSysTable));
    options::Save(options::kFieldOrder, optFieldOrder[0]->isChecked() ? 0 : 1);
    options::Save(options::kItems, cboItems->currentIndex());
    mdiMain &main = mdiMain::instance();
    if (sysTablesChanged)
        main.FetchTreeviewRoot(); // unloads this pane (later, not inside this handler)
    if (lookChanged)
        forms::UnloadAllExcept({}); // every form but the main window comes back in the new look
    main.PaneDisplay(&forms::Get<frmWelcome>(), {});
}

void frmOptions::cmdCancel_Click()
{
    forms::Unload(forms::LoadedForm<frmWelcome>());
    mdiMain::instance().PaneDisplay(&forms::Get<frmWelcome>(), {});
}

// Enter presses OK (the default button), Esc presses Cancel, while they are
// visible and enabled.
void frmOptions::keyPressEvent(QKeyEvent *event)
{
    QPushButton *button = nullptr;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        button = cmdOK;
    else if (event->key() == Qt::Key_Escape)
        button = cmdCancel;
    if (!button) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (button->isVisible() && button->isEnabled())
        button->click();
}

void frmOptions::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorHandler handler(QStringLiteral("frmOptions.Form_Resize"));
    handler.step([this] {
        modGUI::EnforceMinSize(this);
        picTitlebar->resize(width(), picTitlebar->height());
    });
}
