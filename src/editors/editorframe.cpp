#include "editorframe.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStandardItem>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/cconnections.h"
#include "core/controls.h"
#include "core/errortrace.h"
#include "core/modapimisc.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modstring.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panehost/panehost.h"
#include "tree/cnodes.h"
#include "tree/explorer.h"
#include "tree/explorerwindow.h"
#include "tree/nodekey.h"
#include "ui.h"

namespace {

QWidget *firstOf(const QWidget *form, const char *array)
{
    return controls::ArrayElements(form, QLatin1String(array)).value(0);
}

// A combo showing `text`: its item of that text selected; otherwise no
// selection, and in an editable combo the text in its edit portion (a list
// without an edit portion keeps what it shows when no item has the text).
void showText(QComboBox *combo, const QString &text)
{
    const int found = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0) {
        combo->setCurrentIndex(found);
    } else if (text.isEmpty()) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(QString());
    } else if (combo->isEditable()) {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

Qt::CheckState checkState(const QString &value)
{
    const long number = value.toLong();
    return number == 1 ? Qt::Checked : number == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

QString checkValue(const QCheckBox *check)
{
    return QString::number(check->checkState() == Qt::Checked ? 1 : check->checkState() == Qt::PartiallyChecked ? 2 : 0);
}

void setTip(QWidget *w, const QString &tip)
{
    if (!tip.isEmpty())
        w->setToolTip(tip);
}

// What a password box takes, typed or pasted: [0-9A-Z_-], letters upper-cased.
// Blanks are never part of a password: they are dropped as soon as anything
// else is in the box, so the first character typed into the blanks of a shown
// password replaces them. A box of blanks only is the shown password itself
// (kept as it is while the box's property "storedPassword" is set), or nothing
// at all for a new row.
class PasswordValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const bool stored = parent() && parent()->property("storedPassword").toBool();
        if (stored && input.count(QLatin1Char(' ')) == input.size())
            return Acceptable;
        QString kept;
        int keptPos = 0;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c == QLatin1Char(' '))
                continue;
            const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                                 (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                                 (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_') ||
                                 c == QLatin1Char('-');
            if (!allowed)
                return Invalid;
            if (i < pos)
                ++keptPos;
            kept += c.toUpper();
        }
        input = kept;
        pos = keptPos;
        return Acceptable;
    }
};

// Selects the whole text of a box when it gets the focus (again once the
// mouse press that gave the focus has placed the cursor).
class SelectAllOnFocus : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            if (auto *box = qobject_cast<QLineEdit *>(watched)) {
                box->selectAll();
                QTimer::singleShot(0, box, [box, text = box->text()] {
                    if (box->hasFocus() && box->text() == text)
                        box->selectAll();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

void makePasswordBox(QLineEdit *box)
{
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    box->setValidator(new PasswordValidator(box));
    box->installEventFilter(new SelectAllOnFocus(box));
}

} // namespace

// ---------------------------------------------------------------------------
// UpDown

UpDown::UpDown(QWidget *parent, QLineEdit *buddy, int min, int max)
    : QWidget(parent), Min(min), Max(max), m_buddy(buddy)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        column->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::step(int by)
{
    const std::optional<long> value = EditorFrame::WholeNumber(m_buddy->text());
    long next = value ? *value + by : Min;
    next = qBound(long(Min), next, long(Max));
    m_buddy->setText(QString::number(next));
}

// ---------------------------------------------------------------------------
// Building

EditorFrame::EditorFrame(Setup setup) : EditorPane(setup.form), m_setup(std::move(setup))
{
    if (m_setup.keyChangeColumns.isEmpty())
        m_setup.keyChangeColumns = m_setup.keyColumns;
}

QLabel *EditorFrame::AddPrompt(int index, const QString &caption, const QRect &at, QWidget *buddy, bool bold)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
    label->setFont(panelook::Font(8.25, bold));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setGeometry(at);
    if (buddy) {
        label->setBuddy(buddy);
        label->setToolTip(buddy->toolTip());
    }
    return label;
}

QLineEdit *EditorFrame::AddText(int index, const QString &column, const QRect &at, const QString &tip)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txtProperty_%1").arg(index));
    box->setProperty("Tag", column);
    box->setGeometry(at.adjusted(0, -1, 0, 2));
    setTip(box, tip);
    connect(box, &QLineEdit::textChanged, this, [this, box] { txtProperty_Change(box); });
    return box;
}

QPlainTextEdit *EditorFrame::AddMemo(int index, const QString &column, const QRect &at, const QString &tip)
{
    auto *box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("txtProperty_%1").arg(index));
    box->setProperty("Tag", column);
    box->setGeometry(at);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);
    setTip(box, tip);
    connect(box, &QPlainTextEdit::textChanged, this, [this, box] { txtProperty_Change(box); });
    return box;
}

QLineEdit *EditorFrame::AddTwin(int index, const QString &column, const QRect &at)
{
    QLineEdit *twin = AddText(index, column, at);
    QPalette palette = twin->palette();
    palette.setColor(QPalette::Base, QColor(0x00, 0x80, 0x80));
    palette.setColor(QPalette::Text, Qt::white);
    twin->setPalette(palette);
    twin->setFocusPolicy(Qt::NoFocus);
    twin->hide();
    return twin;
}

QComboBox *EditorFrame::AddCombo(int index, const QString &column, const QRect &at, const QString &tip, bool editable)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("cboDropdown_%1").arg(index));
    combo->setProperty("Tag", column);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setGeometry(at.adjusted(0, -1, 0, 2));
    setTip(combo, tip);
    modAPIMisc::InstallAutoComplete(combo);
    connect(combo, &QComboBox::currentTextChanged, this, [this, combo] { cboDropdown_Change(combo); });
    connect(combo, &QComboBox::activated, this, [this, combo] { cboDropdown_Change(combo); });
    return combo;
}

QCheckBox *EditorFrame::AddCheck(int index, const QString &column, const QString &caption, const QRect &at,
                                 const QString &tip)
{
    auto *check = new QCheckBox(caption, this);
    check->setObjectName(QStringLiteral("chkProperty_%1").arg(index));
    check->setProperty("Tag", column);
    check->setGeometry(at);
    setTip(check, tip);
    connect(check, &QCheckBox::clicked, this, [this, check] { chkProperty_Click(check); });
    return check;
}

UpDown *EditorFrame::AddUpDown(int index, QLineEdit *buddy, int min, int max, const QRect &at)
{
    auto *spinner = new UpDown(this, buddy, min, max);
    spinner->setObjectName(QStringLiteral("spnUpDn_%1").arg(index));
    spinner->setGeometry(at);
    return spinner;
}

QLineEdit *EditorFrame::AddPassword(int index, const QString &column, const QRect &at, const QString &tip)
{
    QLineEdit *box = AddText(index, column, at, tip);
    makePasswordBox(box);
    m_passwords.append({column, box, nullptr});
    return box;
}

QLineEdit *EditorFrame::AddConfirm(const QString &column, const QRect &at)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("txtConfirm"));
    box->setGeometry(at.adjusted(0, -1, 0, 2));
    makePasswordBox(box);
    for (Password &password : m_passwords)
        if (password.column == column)
            password.confirm = box;
    return box;
}

// ---------------------------------------------------------------------------
// Services

// A connection lost meanwhile (it closed itself and left the registry) is
// taken again from the registry, which connects anew.
dao::Database &EditorFrame::db() const
{
    if (!m_db)
        qnerr::raise(qnerr::ObjectNotSet);
    return gConnections().Hold(m_db, m_db->Name());
}

QString EditorFrame::DataSource() const
{
    if (!m_db)
        qnerr::raise(qnerr::ObjectNotSet);
    return m_db->Name();
}

QWidget *EditorFrame::Box(const QString &column) const { return mTextCtrls.Item(column); }

QComboBox *EditorFrame::Combo(const QString &column) const
{
    auto *combo = qobject_cast<QComboBox *>(mComboCtrls.Item(column));
    if (!combo)
        qnerr::raise(qnerr::ObjectDoesntSupport);
    return combo;
}

QString EditorFrame::Text(const QString &column) const { return controls::Text(Box(column)); }

void EditorFrame::SetText(const QString &column, const QString &text) { controls::SetText(Box(column), text); }

QStringList EditorFrame::ParentKeys() const { return QStringList{DataSource()} + m_parents; }

QStringList EditorFrame::RowKeys() const { return ParentKeys() << m_shownKey; }

QString EditorFrame::NodeKeyOf(const QString &name) const
{
    return NodeKey::Child(CalcParentKey(), m_setup.nodeTag, name);
}

QString EditorFrame::Quote(const QString &value) { return modDatabase::Quoted(value); }

QString EditorFrame::UpdateStatement(const QStringList &columns, const QString &where) const
{
    QStringList assignments;
    for (const QString &column : columns) {
        const int type = m_fields(column).Type();
        const QString text = Text(column);
        const QString value = modBoundControls::ShowsStoredNull(Box(column)) ? QStringLiteral("NULL")
                              : type == dao::dbText || type == dao::dbMemo || type == dao::dbChar
                                  ? Quote(text)
                                  : modDatabase::NumberSQL(text, QStringLiteral("%1 must be a number.").arg(column));
        assignments << column + QStringLiteral(" = ") + value;
    }
    return QStringLiteral("UPDATE ") + m_setup.table + QStringLiteral(" SET ") + assignments.join(QStringLiteral(", ")) +
           QStringLiteral(" WHERE ") + where;
}

QString EditorFrame::InsertSQL() const
{
    return modDatabase::BuildInsertSQL(this, firstOf(this, "txtProperty"), m_fields, m_setup.table);
}

bool EditorFrame::Rename(const QString &, const QString &) { return true; }

void EditorFrame::FillRow(const dao::Recordset *rs)
{
    if (rs)
        modBoundControls::PopulateFields(this, firstOf(this, "txtProperty"), *rs, passwordColumns());
}

bool EditorFrame::RefuseDelete(bool) { return false; }

bool EditorFrame::ConfirmSave(Entry) { return true; }

void EditorFrame::PopulateCombo(const QString &column, const QString &sql)
{
    QComboBox *combo = Combo(column);
    const QString text = combo->currentText();
    const QSignalBlocker blocker(combo);
    modBoundControls::PopulateList(combo, db(), sql);
    showText(combo, text);
}

QString EditorFrame::ComboValue(const QComboBox *combo) const { return combo->currentText(); }

void EditorFrame::ShowComboValue(QComboBox *combo, const QString &value)
{
    if (ComboValue(combo) == value)
        return;
    showText(combo, value);
}

bool EditorFrame::Refuse(const QString &message, QWidget *focus)
{
    Ui().MsgBox(message, ui::vbInformation);
    if (focus)
        focus->setFocus();
    return false;
}

std::unique_ptr<dao::Recordset> EditorFrame::Query(const QString &sql)
{
    if (m_click)
        m_click->info = sql;
    return db().OpenRecordset(sql, dao::dbOpenSnapshot);
}

bool EditorFrame::RowExists(const QString &sql) { return !Query(sql)->Eof(); }

QString EditorFrame::Total(const QString &sql) const
{
    const auto rs = db().OpenRecordset(sql, dao::dbOpenSnapshot);
    const QString total = rs->Eof() ? QString() : (*rs)(0).Text();
    return total.isEmpty() ? QStringLiteral("0") : total;
}

bool EditorFrame::PasswordGiven(const QString &column) const
{
    return !modString::TrimBlanks(Text(column)).isEmpty();
}

bool EditorFrame::KeepBlankPassword(const QString &column)
{
    if (Ui().MsgBox(QStringLiteral("The password will be re-set to blank unless you specify a new one.\r\n"
                                   "Do you wish to specify a new password now?"),
                    ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return true;
    Box(column)->setFocus();
    return false;
}

bool EditorFrame::PasswordConfirmed(const QString &column)
{
    if (!PasswordGiven(column))
        return true;
    for (const Password &password : std::as_const(m_passwords))
        if (password.column == column && password.confirm && password.confirm->text() == Text(column))
            return true;
    return Refuse(QStringLiteral("Password and Confirmation do not match!  Please re-enter the password."), Box(column));
}

QStringList EditorFrame::passwordColumns() const
{
    QStringList columns;
    for (const Password &password : m_passwords)
        columns << password.column;
    return columns;
}

// A shown row: Size-1 blanks in both boxes (the stored password stays where it
// is); a new row: both empty. The confirmation takes at most Size characters.
void EditorFrame::showPasswords(bool stored)
{
    for (const Password &password : std::as_const(m_passwords)) {
        const int at = m_fields.IndexOf(password.column);
        const int size = at >= 0 ? int(m_fields(at).Size()) : 0;
        const QString shown = stored ? QString(qMax(size - 1, 0), QLatin1Char(' ')) : QString();
        for (QLineEdit *box : {password.box.data(), password.confirm.data()}) {
            if (!box)
                continue;
            box->setProperty("storedPassword", stored);
            box->setText(shown);
        }
        if (password.confirm && size > 0)
            password.confirm->setMaxLength(size);
    }
}

std::optional<long> EditorFrame::WholeNumber(const QString &text, long emptyValue)
{
    if (text.isEmpty())
        return emptyValue;
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!whole.match(text).hasMatch())
        return std::nullopt;
    return text.toLong();
}

void EditorFrame::NumbersOnly(QLineEdit *box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), box));
}

void EditorFrame::ShowParentGrid() { PaneHost::Get().PaneDisplay(m_setup.parentGrid, ParentKeys()); }

void EditorFrame::TreeStep(const std::function<void()> &step)
{
    try {
        step();
    } catch (const std::exception &) {
        // The tree reports its own failures; the catalog write stands.
    }
}

void EditorFrame::RemoveNode(const QString &key) { gNodes().Remove(key); }

void EditorFrame::ReKeyNode(const QString &oldKey, const QString &newKey, const QString &name)
{
    gNodes().ChangeKey(oldKey, newKey);
    if (const CNodePtr node = gNodes().Item(newKey))
        node->NodeData = name;
    if (QStandardItem *item = gNodes().Node(newKey))
        item->setText(name);
}

void EditorFrame::SelectNode(const QString &key)
{
    const CNodePtr node = gNodes().Item(key);
    if (node && gNodes().Node(key))
        gNodes().setSelectedItem(node);
}

QString EditorFrame::EditorMode() const { return modGUI::EditorMode(m_band); }

QString EditorFrame::word() const { return m_band ? m_band->property("Tag").toString() : QString(); }

void EditorFrame::setMode(int mode, const QString &action) { modGUI::SetToolbarMode(m_band, mode, action); }

void EditorFrame::emptyBoxes()
{
    if (QWidget *first = firstOf(this, "txtProperty"))
        modBoundControls::SetControls(this, first, QString());
}

void EditorFrame::EnableEdit(bool State)
{
    TraceScope trace(TraceName("EnableEdit"));
    for (const char *array : {"txtProperty", "cboDropdown", "chkProperty", "spnUpDn"})
        if (QWidget *first = firstOf(this, array))
            modBoundControls::EnableControls(this, first, State);
    for (const Password &password : std::as_const(m_passwords))
        if (password.confirm)
            password.confirm->setEnabled(State);
}

// ---------------------------------------------------------------------------
// Loading

void EditorFrame::Form_Load()
{
    TraceScope trace(TraceName("Form_Load"));
    if (QWidget *first = firstOf(this, "txtProperty"))
        mTextCtrls.BindControls(this, first);
    if (QWidget *first = firstOf(this, "cboDropdown"))
        mComboCtrls.BindControls(this, first);
    if (QWidget *first = firstOf(this, "chkProperty"))
        mCheckCtrls.BindControls(this, first);
    m_shownKey.clear();
    m_keyAsRead.clear();
    LoadLook();
    m_loaded = true;
}

// The start of Display and AddNew: the form loaded, the data source's open
// database and the field list held; false when there is no open database or
// a failure was ignored.
bool EditorFrame::open(ErrorHandler &handler, const QString &dataSource)
{
    if (!m_loaded && !handler.step([&] { Form_Load(); }))
        return false;
    bool connected = false;
    if (!handler.step([&] {
            const auto connection = gConnections().Item(dataSource);
            connected = connection && connection->db;
            if (connected)
                m_db = connection->db;
        }) ||
        !connected)
        return false;
    return handler.step([&] { fetchFieldInfo(); });
}

void EditorFrame::fetchFieldInfo()
{
    if (m_fields.IsEmpty())
        m_fields = modDatabase::FetchFieldInfo(*m_db, m_setup.table);
    if (m_filtersInstalled || m_fields.IsEmpty())
        return;
    for (const auto &entry : mTextCtrls.NewEnum()) {
        QWidget *box = entry->Control();
        const int at = box ? m_fields.IndexOf(controls::Tag(box)) : -1;
        if (at >= 0 && box->isVisibleTo(this))
            modGUI::InstallKeyFilter(box, m_fields(at));
    }
    for (const Password &password : std::as_const(m_passwords)) {
        const int at = m_fields.IndexOf(password.column);
        if (at >= 0 && password.confirm)
            modGUI::InstallKeyFilter(password.confirm, m_fields(at));
    }
    m_filtersInstalled = true;
}

// ---------------------------------------------------------------------------
// The entries

int EditorFrame::Display(const QStringList &keys)
{
    const QString routine = TraceName("Display");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    int result = -1;
    RedrawOff redraw(this);
    const Filling filling(this);
    if (!open(handler, keys.value(0)))
        return result;
    const qsizetype parents = m_setup.keyColumns.size() - 1;
    bool found = false;
    bool gone = false;
    handler.step([&] {
            m_parents = keys.mid(1, parents);
            m_shownKey = keys.value(parents + 1);
            lblTitle.setText(Title(Entry::Display));
            if (m_setup.emptyBeforeRead)
                emptyBoxes();
            EnableEdit(false);
        }) && handler.step([&] {
            const QString sql = SelectSQL();
            handler.info = sql;
            const auto rs = db().OpenRecordset(sql, dao::dbOpenSnapshot);
            found = !rs->Eof();
            if (!found) {
                gone = RowGone();
                if (gone)
                    return;
                if (m_setup.missingRowShowsEmpty) {
                    FillRow(nullptr);
                    return;
                }
                qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
            }
            // A shown row lists only its own value in these combos.
            for (const QString &column : std::as_const(m_setup.rowListColumns)) {
                QComboBox *combo = Combo(column);
                const QSignalBlocker blocker(combo);
                combo->clear();
                combo->addItem(rs->Value(column).toString());
            }
            FillRow(rs.get());
            // The stored password never reaches a control: its boxes show blanks.
            showPasswords(true);
        }) && !gone && handler.step([&] {
            m_keyAsRead = found ? Text(nameColumn()) : m_shownKey;
            if (IsSystemObject())
                setMode(modGUI::ToolbarPending, QString());
            else
                setMode(modGUI::ToolbarBrowse, QString());
            m_keyChanged = false;
            HideAction();
            show();
            result = 0;
        });
    return result;
}

int EditorFrame::AddNewRow(const QStringList &parentKeys)
{
    const QString routine = TraceName("AddNew");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    int result = -1;
    RedrawOff redraw(this);
    const Filling filling(this);
    if (!open(handler, parentKeys.value(0)))
        return result;
    handler.step([&] {
        m_parents = parentKeys.mid(1, m_setup.keyColumns.size() - 1);
        m_shownKey.clear();
        m_keyAsRead.clear();
        lblTitle.setText(Title(Entry::Add));
        emptyBoxes();
        showPasswords(false);
        if (QWidget *first = firstOf(this, "cboDropdown"))
            modBoundControls::SetControls(this, first, -1);
    }) && handler.step([&] { PopulateCombos(); }) && handler.step([&] {
        EnableEdit(true);
        PrepareNew();
        m_keyChanged = false;
        setMode(modGUI::ToolbarPending, word() + QStringLiteral(" Add"));
        ShowAction(QStringLiteral("&Add"));
        show();
        result = 0;
    });
    return result;
}

int EditorFrame::EditRow(const QStringList &keys)
{
    const QString routine = TraceName("Edit");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    const int r = Display(keys);
    bool system = true;
    if (!handler.step([&] { system = IsSystemObject(); }) || system)
        return r;
    if (r != 0)
        return r;
    const Filling filling(this);
    if (!handler.step([&] { PopulateCombos(); }))
        return r;
    handler.step([&] {
        lblTitle.setText(Title(Entry::Edit));
        EnableEdit(true);
        PrepareEdit();
        setMode(modGUI::ToolbarPending, word() + QStringLiteral(" Edit"));
        ShowAction(QStringLiteral("&Update"));
        show();
    });
    return r;
}

int EditorFrame::DeleteRow(const QStringList &keys)
{
    const QString routine = TraceName("Delete");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    const int r = Display(keys);
    if (r != 0)
        return r;
    bool confirmed = false;
    handler.step([&] {
        lblTitle.setText(Title(Entry::Delete));
        setMode(modGUI::ToolbarPending, word() + QStringLiteral(" Delete"));
        show();
    }) && handler.step([&] { confirmed = !RefuseDelete(false) && ConfirmDelete(); });
    if (confirmed)
        tbr_ButtonClick(QStringLiteral("OK"));
    return r;
}

// ---------------------------------------------------------------------------
// The band

void EditorFrame::tbr_ButtonClick(const QString &key)
{
    const QString routine = TraceName("tbr_ButtonClick");
    TraceScope trace(routine);
    ErrorHandler handler(routine, QString());
    ErrorHandler *const outer = m_click;
    m_click = &handler;
    struct Restore
    {
        ErrorHandler *&slot;
        ErrorHandler *value;
        ~Restore() { slot = value; }
    } restore{m_click, outer};
    std::optional<CMouseSleeper> sleeper;
    if (m_setup.busyCursor)
        sleeper.emplace();

    const QString w = word();
    if (key == QLatin1String("Up1")) {
        // An editor that stayed (its changes kept) keeps the tree's selection too.
        if (!handler.step([&] { ShowParentGrid(); }) || gCurrentPane() == this)
            return;
        QCoreApplication::processEvents();
        TreeStep([&] {
            SelectNode(CalcParentKey());
            if (ExplorerWindow *window = ExplorerWindow::Current())
                window->Treeview()->setFocus();
        });
    } else if (key == w + QStringLiteral(" Add")) {
        handler.step([&] { AddNewRow(ParentKeys()); });
    } else if (key == w + QStringLiteral(" Edit")) {
        handler.step([&] { EditRow(RowKeys()); });
    } else if (key == w + QStringLiteral(" Delete")) {
        handler.step([&] { DeleteRow(RowKeys()); });
    } else if (key == QLatin1String("OK")) {
        const QString mode = EditorMode();
        if (mode == w + QStringLiteral(" Add"))
            addCommit();
        else if (mode == w + QStringLiteral(" Edit"))
            editCommit();
        else if (mode == w + QStringLiteral(" Delete"))
            deleteCommit();
    } else if (key == QLatin1String("Cancel")) {
        ChangesDone();
        handler.step([&] {
            if (m_shownKey.isEmpty())
                ShowParentGrid();
            else
                Display(RowKeys());
        });
    } else if (key == QLatin1String("Undo")) {
        handler.step([&] {
            const Filling filling(this);
            Undo();
        });
        SetButton(QStringLiteral("Undo"), false);
    } else {
        handler.step([&] { OtherButton(key); });
    }
}

void EditorFrame::Undo()
{
    const QString mode = EditorMode();
    if (mode == word() + QStringLiteral(" Add"))
        AddNewRow(ParentKeys());
    else if (mode == word() + QStringLiteral(" Edit"))
        EditRow(RowKeys());
}

bool EditorFrame::ConfirmDelete()
{
    return Ui().MsgBox(m_setup.deleteQuestion, ui::vbYesNo + ui::vbQuestion) == ui::vbYes;
}

bool EditorFrame::NameChanged() const
{
    return m_keyChanged && (!m_setup.renameOnlyNewName || Text(nameColumn()) != m_keyAsRead);
}

void EditorFrame::RefreshFolder() { ::ReloadFolder(CalcParentKey()); }

void EditorFrame::ReKeyTree(const QString &oldName, const QString &newName)
{
    ReKeyNode(NodeKeyOf(oldName), NodeKeyOf(newName), newName);
}

void EditorFrame::RemoveFromTree() { RemoveNode(CalcNodeKey()); }

void EditorFrame::returnToPane()
{
    if (gCurrentPane() != this && PaneHost::Current())
        PaneHost::Current()->PaneShow(this);
}

void EditorFrame::addCommit()
{
    ErrorHandler &handler = *m_click;
    bool valid = false;
    if (!handler.step([&] { valid = ValidateFields() && ConfirmSave(Entry::Add); }) || !valid)
        return;
    QString sql;
    QStringList parents;
    if (!handler.step([&] {
            PrepareInsert();
            sql = InsertSQL();
            for (const ParentRow &parent : std::as_const(m_setup.parentRows)) {
                QStringList values;
                for (const QString &column : parent.columns)
                    values << Text(column);
                parents << modDatabase::RowSQL(parent.table, parent.columns, values);
            }
        }))
        return;
    handler.info = sql;
    QString ds;
    if (!handler.step([&] { ds = DataSource(); }))
        return;
    if (!modUpdate::RunUnit(
            ds, handler.routine,
            [&] {
                // Nothing goes under a parent deleted meanwhile.
                for (const QString &parent : std::as_const(parents))
                    modUpdate::UnitRequireRow(parent);
                modUpdate::UnitExecute(sql);
                SaveStatements(Entry::Add);
            },
            sql))
        return;
    ChangesDone();
    handler.step([&] { Saved(Entry::Add); });
    m_shownKey = Text(nameColumn());
    // The tree's handlers may show panes, this one included: the keys are taken first.
    const QStringList parentKeys = ParentKeys();
    TreeStep([&] { RefreshFolder(); });
    AddNewRow(parentKeys);
    returnToPane();
}

void EditorFrame::editCommit()
{
    ErrorHandler &handler = *m_click;
    bool valid = false;
    if (!handler.step([&] { valid = ValidateFields() && ConfirmSave(Entry::Edit); }) || !valid)
        return;
    const QString before = m_shownKey;
    QString newName, sql, ds;
    bool rename = false;
    if (!handler.step([&] {
            rename = NameChanged();
            newName = Text(nameColumn());
            m_shownKey = newName;
            sql = UpdateSQL();
            ds = DataSource();
        })) {
        m_shownKey = before;
        return;
    }
    handler.info = sql;
    bool renamed = true;
    const bool written = modUpdate::RunUnit(
        ds, handler.routine,
        [&] {
            renamed = !rename || Rename(m_keyAsRead, newName);
            if (!renamed)
                return;
            // An UPDATE that changes no row finds the row gone: no success.
            modUpdate::UnitExecuteFound(sql);
            SaveStatements(Entry::Edit);
        },
        sql);
    if (!written || !renamed) {
        // Nothing was written: the editor stays on the row it had.
        m_shownKey = before;
        return;
    }
    ChangesDone();
    handler.step([&] { Saved(Entry::Edit); });
    // The tree's handlers may show panes, this one included: the keys are taken first.
    const QStringList rowKeys = RowKeys();
    if (m_keyAsRead != newName)
        TreeStep([&] { ReKeyTree(m_keyAsRead, newName); });
    TreeStep([&] { RefreshFolder(); });
    Display(rowKeys);
    returnToPane();
}

void EditorFrame::deleteCommit()
{
    ErrorHandler &handler = *m_click;
    bool confirmed = false;
    if (!handler.step([&] { confirmed = !RefuseDelete(true) && ConfirmSave(Entry::Delete); }) || !confirmed)
        return;
    QList<Statement> statements;
    QString ds;
    if (!handler.step([&] {
            statements = DeleteStatements();
            ds = DataSource();
        }))
        return;
    ExplorerWindow *window = ExplorerWindow::Current();
    const bool written = modUpdate::RunUnit(ds, handler.routine, [&] {
        for (const Statement &s : std::as_const(statements)) {
            if (!s.status.isEmpty() && window)
                window->Status(s.status);
            modUpdate::UnitExecute(s.sql);
        }
        SaveStatements(Entry::Delete);
    });
    if (!written) {
        if (window)
            window->Status();
        return;
    }
    handler.step([&] { Saved(Entry::Delete); });
    TreeStep([&] { RemoveFromTree(); });
    handler.step([&] { ShowParentGrid(); });
}

// ---------------------------------------------------------------------------
// The bound controls' events

void EditorFrame::txtProperty_Change(QWidget *box)
{
    const QString routine = TraceName("txtProperty_Change");
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    handler.step([&] {
        const bool user = !IsFilling();
        if (user)
            SetButton(QStringLiteral("Undo"), true);
        modBoundControls::NoteChange(box);
        const QString tag = controls::Tag(box);
        const QString text = controls::Text(box);
        if (auto *combo = qobject_cast<QComboBox *>(mComboCtrls.Find(tag))) {
            const QSignalBlocker blocker(combo);
            ShowComboValue(combo, text);
        }
        if (auto *check = qobject_cast<QCheckBox *>(mCheckCtrls.Find(tag))) {
            const QSignalBlocker blocker(check);
            check->setCheckState(checkState(text));
        }
        if (user && m_setup.keyChangeColumns.contains(tag))
            m_keyChanged = true;
        const int at = m_fields.IndexOf(tag);
        if (at >= 0) {
            const dao::Field field = m_fields(at);
            if ((field.Type() == dao::dbText || field.Type() == dao::dbChar) && field.Size() > 0 &&
                text.size() > field.Size()) {
                controls::SetText(box, text.left(field.Size())); // runs this handler again for the cut text
                return;
            }
        }
        PropertyChanged(box, tag);
        if (user)
            cmdAction->setEnabled(true);
    });
}

void EditorFrame::cboDropdown_Change(QComboBox *combo)
{
    writeTwin(combo, "cboDropdown_Change", [&] { return ComboValue(combo); });
}

void EditorFrame::chkProperty_Click(QCheckBox *check)
{
    writeTwin(check, "chkProperty_Click", [&] { return checkValue(check); });
}

// A user's choice in a combo or check box goes into its twin.
void EditorFrame::writeTwin(QWidget *control, const char *procedure, const std::function<QString()> &value)
{
    const QString routine = TraceName(procedure);
    TraceScope trace(routine);
    ErrorHandler handler(routine);
    handler.step([&] {
        QWidget *twin = mTextCtrls.Find(controls::Tag(control));
        const QString text = value();
        if (twin && controls::Text(twin) != text)
            controls::SetText(twin, text);
    });
}
