#include "gridpane.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimer>

#include "appinfo.h"
#include "core/boundcontrols.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/modapimisc.h"
#include "core/moddatabase.h"
#include "core/modstring.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panes/ctltextlookup.h"
#include "tree/explorerwindow.h"
#include "tree/refreshnodepath.h"
#include "ui.h"

using panelook::Twips;

const QString GridPane::kMask = QStringLiteral("**********");

namespace {

const QString kCommitRoutine = QStringLiteral("frmColumns.EnterCell");
constexpr int kTitleHeight = 615;  // twips
constexpr int kEditorHeight = 315; // twips

// Holds a flag (or counter) raised for its lifetime.
class Raise
{
public:
    explicit Raise(bool &flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~Raise() { m_flag = m_was; }
    Raise(const Raise &) = delete;
    Raise &operator=(const Raise &) = delete;

private:
    bool &m_flag;
    bool m_was;
};

class Count
{
public:
    explicit Count(int &counter) : m_counter(counter) { ++m_counter; }
    ~Count() { --m_counter; }
    Count(const Count &) = delete;
    Count &operator=(const Count &) = delete;

private:
    int &m_counter;
};

// Screen updates of a form off for a while.
class RedrawOff
{
public:
    explicit RedrawOff(QWidget *form) : m_form(form), m_was(form->updatesEnabled()) { form->setUpdatesEnabled(false); }
    ~RedrawOff()
    {
        if (m_form)
            m_form->setUpdatesEnabled(m_was);
    }
    RedrawOff(const RedrawOff &) = delete;
    RedrawOff &operator=(const RedrawOff &) = delete;

private:
    QPointer<QWidget> m_form;
    bool m_was;
};

// A list editor that tells when it is about to drop down.
class ListEditor : public QComboBox
{
public:
    std::function<void()> aboutToDropDown;

    using QComboBox::QComboBox;
    void showPopup() override
    {
        if (aboutToDropDown)
            aboutToDropDown();
        QComboBox::showPopup();
    }
};

} // namespace

GridPane::GridPane(QWidget *parent) : QWidget(parent)
{
    picTitlebar = panelook::TitleStrip(this, kTitleHeight);
    lblTitle = panelook::MakeTitle(picTitlebar, QStringLiteral("lblTitle"), QString(), panelook::Font(14.25),
                                   Twips(600, 120, 1455, 330), true);
    grd = new GridView(this);
    m_numberValidator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), this);

    connect(grd, &GridView::cellEntered, this, &GridPane::grd_EnterCell);
    connect(grd, &GridView::keyTyped, this, &GridPane::grd_KeyPress);
    connect(grd, &GridView::scrolled, this, &GridPane::grd_Scroll);
    connect(grd, &QAbstractItemView::doubleClicked, this, [this] { grd_DblClick(); });
}

void GridPane::SetParticulars(Particulars particulars)
{
    m_spec = std::move(particulars);
    auto hookUp = [this](QWidget *editor) {
        editor->setParent(grd->viewport());
        editor->hide();
        editor->installEventFilter(this);
    };
    bool password = false;
    for (const Column &c : std::as_const(m_spec.columns))
        password = password || c.editor == Editor::Password;
    // The text editors: txtCell, or txtCell_0 and the password box txtCell_1.
    for (int i = 0; i < (password ? 2 : 1); ++i) {
        auto *text = new QLineEdit;
        text->setObjectName(password ? QStringLiteral("txtCell_%1").arg(i) : QStringLiteral("txtCell"));
        if (i == 1) {
            text->setEchoMode(QLineEdit::Password);
            text->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // each character as "*"
        }
        hookUp(text);
        connect(text, &QLineEdit::textChanged, this, [this] { m_cellDirty = true; });
        modGUI::InstallKeyPress(text, [this](int key) { return Cell_Keypress(key); }, true);
        txtCell << text;
    }
    for (int i = 0; i < m_spec.lists.size(); ++i) {
        auto *list = new ListEditor;
        list->setObjectName(QStringLiteral("cboCell_%1").arg(i));
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr);
        list->addItems(m_spec.lists[i]);
        hookUp(list);
        list->lineEdit()->installEventFilter(this);
        list->aboutToDropDown = [this, i] { ListDropDown(i); };
        connect(list, &QComboBox::editTextChanged, this, [this, i](const QString &text) {
            m_cellDirty = true;
            if (!m_opening)
                ListChanged(i, text);
        });
        // A pick from the list, even of the item it shows, applies the item.
        connect(list, &QComboBox::activated, this, [this, i, list](int index) {
            m_cellDirty = true;
            if (!m_opening)
                ListChanged(i, list->itemText(index));
        });
        modGUI::InstallKeyPress(list, [this](int key) { return Cell_Keypress(key); }, true);
        cboCell << list;
    }
    for (int i = 0; i < m_spec.lookups; ++i) {
        auto *lookup = new ctlTextLookup(QStringLiteral("ctlLUCell_%1").arg(i));
        lookup->ReadProperties({{QStringLiteral("Text"), QString()}, {QStringLiteral("Caption"), QStringLiteral("=")}});
        hookUp(lookup);
        lookup->txt->installEventFilter(this);
        connect(lookup, &ctlTextLookup::Changed, this, [this] { m_cellDirty = true; });
        connect(lookup, &ctlTextLookup::KeyPress, this, [this](int &key) { key = Cell_Keypress(key); });
        connect(lookup, &ctlTextLookup::ButtonClick, this, [this, i] { lookupClicked(i); });
        ctlLUCell << lookup;
    }
    m_editor = txtCell.value(0);
}

// ---------------------------------------------------------------------------
// Display

int GridPane::Display(const QStringList &keys)
{
    CMouseSleeper sleeper;
    RedrawOff redraw(this);
    if (!m_spec.titleAfterConnect)
        lblTitle.setText(Title(keys));
    const auto connection = gConnections().Item(keys.value(0));
    if (!connection || !connection->db)
        return -1;
    m_keys = keys;
    m_ds = connection->db->Name();
    if (m_spec.titleAfterConnect)
        lblTitle.setText(Title(keys));
    clearEditState();
    PopulateCombos();
    m_catalogFields = modDatabase::FetchFieldInfo(*connection->db, m_spec.catalogTable);
    {
        Count quiet(m_suppress);
        modGrid::PopulateGrid(*grd, *connection->db, Query());
        if (grd->Cols() != m_spec.columns.size()) {
            // No query result to take the columns from: the captions of the particulars.
            QStringList captions;
            for (const Column &c : std::as_const(m_spec.columns))
                captions << modGrid::Caption(c.name);
            grd->Model().Reset(captions, QList<Qt::Alignment>(captions.size(), Qt::AlignLeft), {});
        }
        showWords();
        m_readOnly = IsReadOnly();
        if (!m_readOnly)
            AddNewRow(false);
        grd->SetCurrent(0, 0);
        grd->horizontalScrollBar()->setValue(0);
        grd->verticalScrollBar()->setValue(0);
    }
    show();
    return 0;
}

// Hides the editor; the focus it held goes to the grid first, so that hiding
// it passes the focus to no other control. Before the change that closes it
// (m_change), so that this loss of focus moves nothing.
void GridPane::closeEditor()
{
    if (!m_editor)
        return;
    if (auto *list = qobject_cast<QComboBox *>(m_editor))
        list->hidePopup();
    if (holdsFocus(QApplication::focusWidget()))
        grd->setFocus();
    m_editor->hide();
}

// The editor's own windows (a list's popup) count as part of it.
bool GridPane::holdsFocus(const QWidget *widget) const
{
    for (; widget && m_editor; widget = widget->parentWidget())
        if (widget == m_editor)
            return true;
    return false;
}

void GridPane::clearEditState()
{
    closeEditor();
    ++m_change;
    m_editor = txtCell.value(0);
    m_editRow = m_editCol = -1;
    m_origText.clear();
    m_origKeys.clear();
    m_origRow.clear();
    m_origNull.clear();
    m_touched.clear();
    m_editNewRow = false;
    m_cellDirty = m_rowDirty = m_keyChanged = false;
    m_busy = false;
    m_newPassword.clear();
}

// Stored flags and codes as their words, passwords as the mask.
void GridPane::showWords()
{
    GridModel &model = grd->Model();
    for (int col = 0; col < m_spec.columns.size(); ++col) {
        const Column &c = column(col);
        if (c.shown == Shown::Stored)
            continue;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString stored = model.Text(row, col);
            switch (c.shown) {
            case Shown::YesNo: model.SetText(row, col, modGrid::YesNoText(stored)); break;
            case Shown::Words: model.SetText(row, col, modGrid::CodeWord(stored, c.words)); break;
            case Shown::Mask: model.SetText(row, col, kMask); break;
            case Shown::Stored: break;
            }
        }
    }
}

void GridPane::AddNewRow(bool makeCurrent)
{
    const int row = grd->Model().AddRow();
    for (int col = 0; col < m_spec.columns.size(); ++col)
        if (!column(col).newRow.isEmpty())
            grd->SetTextMatrix(row, col, column(col).newRow);
    NewRow(row);
    if (makeCurrent) {
        Count quiet(m_suppress);
        grd->SetCurrent(row, 0);
    }
}

// ---------------------------------------------------------------------------
// Opening a cell editor

QWidget *GridPane::editorFor(int col) const
{
    const Column &c = column(col);
    switch (c.editor) {
    case Editor::List: return cboCell.value(c.element);
    case Editor::Lookup: return ctlLUCell.value(c.element);
    case Editor::Password: return txtCell.value(1);
    case Editor::Text: break;
    }
    return txtCell.value(0);
}

QLineEdit *GridPane::editorLine() const
{
    if (auto *text = qobject_cast<QLineEdit *>(m_editor))
        return text;
    if (auto *list = qobject_cast<QComboBox *>(m_editor))
        return list->lineEdit();
    if (auto *lookup = qobject_cast<ctlTextLookup *>(m_editor))
        return lookup->txt;
    return nullptr;
}

bool GridPane::EditorVisible() const { return m_editor && m_editor->isVisible(); }

void GridPane::takeKeys(int row)
{
    m_editNewRow = !m_readOnly && row == grd->Rows() - 1;
    m_origRow.clear();
    m_origKeys.clear();
    m_origNull.clear();
    for (int col = 0; col < m_spec.columns.size(); ++col) {
        m_origRow << grd->TextMatrix(row, col);
        m_origKeys << (column(col).kept && !m_editNewRow ? grd->TextMatrix(row, col) : QString());
        m_origNull << grd->Model().IsNull(row, col);
    }
    m_touched = QList<bool>(m_spec.columns.size(), false);
    m_newPassword.clear();
}

void GridPane::setEditorTextOpening(const QString &text)
{
    Raise opening(m_opening);
    if (auto *list = qobject_cast<QComboBox *>(m_editor))
        list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    SetEditorText(text);
}

bool GridPane::grd_DblClick()
{
    const int row = grd->Row(), col = grd->Col();
    if (row < 0 || col < 0 || col >= m_spec.columns.size() || m_readOnly || m_busy)
        return false;
    Raise busy(m_busy);
    m_editRow = row;
    m_editCol = col;
    if (!m_rowDirty)
        takeKeys(row);
    if (RefuseCell(row, col))
        return false;
    m_editor = editorFor(col);
    if (!m_editor)
        return false;
    ++m_change;
    if (column(col).editor != Editor::List)
        editorLine()->setValidator(column(col).number ? m_numberValidator : nullptr);
    grd->scrollTo(grd->Model().index(row, col));
    const QRect cell = grd->CellRect(row, col);
    m_editor->setGeometry(cell.left() - 1, cell.top() - 1, cell.width() + 2, modGUI::TwipsToPixels(kEditorHeight));
    // A password box opens empty (its cell shows the mask): only what is typed is a new password.
    setEditorTextOpening(column(col).editor == Editor::Password ? QString() : grd->TextMatrix(row, col));
    m_cellDirty = false;
    m_editor->show();
    m_editor->raise();
    m_editor->setFocus();
    if (QLineEdit *line = editorLine())
        line->setCursorPosition(int(line->text().size()));
    m_origText = EditorText();
    return true;
}

// Every editor edits its text in a line edit (a list's own, a lookup's `txt`).
QString GridPane::EditorText() const
{
    const QLineEdit *line = editorLine();
    return line ? line->text() : QString();
}

void GridPane::SetEditorText(const QString &text)
{
    if (QLineEdit *line = editorLine())
        line->setText(text);
}

// ---------------------------------------------------------------------------
// Keys

void GridPane::grd_KeyPress(QKeyEvent *event, bool &handled)
{
    int code = 0;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: code = 9; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: code = 13; break;
    case Qt::Key_Escape: code = 27; break;
    case Qt::Key_Backspace: code = 8; break;
    default: {
        const QString text = event->text();
        const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (text.size() == 1 && text[0].unicode() >= 32 && text[0] != QChar(127) && !command)
            code = text[0].unicode();
    }
    }
    if (!code)
        return; // arrows and the like move the current cell as usual
    handled = true;
    switch (code) {
    case 27:
        if (m_rowDirty)
            revertRow();
        return;
    case 8:
    case 46:
        if (grd_DblClick())
            SetEditorText(QString());
        return;
    case 9: tab(); return;
    case 13: grd_DblClick(); return;
    default: break;
    }
    if (!grd_DblClick())
        return;
    if (auto *list = qobject_cast<QComboBox *>(m_editor)) {
        SetEditorText(QString());
        modAPIMisc::AutoCompleteCombo(list, code);
        QLineEdit *line = list->lineEdit();
        const int length = int(line->text().size());
        const int start = length == 0 ? 0 : 1;
        line->setSelection(start, length - start);
    } else if (auto *lookup = qobject_cast<ctlTextLookup *>(m_editor); lookup && !lookup->TextEnabled()) {
        return; // its text is only set by its button
    } else {
        const int key = Cell_Keypress(code);
        SetEditorText(key ? QString(QChar(key)) : QString());
        if (QLineEdit *line = editorLine())
            line->setCursorPosition(int(line->text().size()));
    }
}

void GridPane::tab()
{
    if (grd->Row() == grd->Rows() - 1 && grd->Col() == grd->Cols() - 1) {
        // Leaving the last cell: the row is left (and written) as if the header were entered.
        grd_EnterCell(-1, grd->Col());
        if (!EditorVisible())
            grd->SetCurrent(grd->Rows() - 1, 0);
    } else {
        modGrid::NextCell(*grd);
    }
}

int GridPane::Cell_Keypress(int KeyAscii)
{
    if (KeyAscii == 13) {
        grd->setFocus();
        return 0;
    }
    if (KeyAscii == 27) {
        // The edit and the row's changes are given up on this cell: the
        // editor's loss of focus moves nothing.
        closeEditor();
        ++m_change;
        m_cellDirty = false;
        if (m_rowDirty)
            revertRow();
        grd->setFocus();
        return 0;
    }
    if (auto *list = qobject_cast<QComboBox *>(m_editor))
        return modAPIMisc::AutoCompleteCombo(list, KeyAscii);
    if (KeyAscii < 32 || m_editCol < 0)
        return KeyAscii;
    const auto field = CatalogField(column(m_editCol).name);
    if (!field)
        return KeyAscii;
    return modGUI::ControlKeyPress(editorLine(), KeyAscii, *field);
}

bool GridPane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete &&
        (qobject_cast<QComboBox *>(watched) || qobject_cast<QComboBox *>(watched->parent())))
        return true; // Delete does nothing in a list editor
    if (event->type() == QEvent::KeyPress && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab ||
                                              static_cast<QKeyEvent *>(event)->key() == Qt::Key_Backtab)) {
        // Tab in an editor ends the edit like Enter.
        Cell_Keypress(13);
        return true;
    }
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        // Let the focus land first: a cell change meanwhile (a click on
        // another cell) has closed the editor already. Focus that went into
        // the editor or its list's popup keeps the edit open.
        const unsigned change = m_change;
        QTimer::singleShot(0, this, [this, change] {
            if (change != m_change || !isVisible())
                return;
            QWidget *now = QApplication::focusWidget();
            if (EditorVisible() && holdsFocus(now))
                return;
            if (now && !isAncestorOf(now)) {
                // The focus left the pane (the tree, a menu, a toolbar): the
                // edit ends on its cell. The row's checks wait until the row
                // or the pane is left, so that they do not take the click
                // that leaves the pane.
                if (EditorVisible())
                    writeBack();
                return;
            }
            CellLostFocus();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void GridPane::CellLostFocus() { modGrid::NextCell(*grd); }

void GridPane::grd_Scroll()
{
    if (!m_spec.editorFollowsScroll) {
        if (EditorVisible())
            modGrid::NextCell(*grd);
        return;
    }
    // Over the current cell, two pixels (30 twips) higher than it, open or not.
    if (!m_editor || grd->Row() < 0 || grd->Col() < 0)
        return;
    const QRect cell = grd->CellRect(grd->Row(), grd->Col());
    m_editor->setGeometry(cell.left(), cell.top() - 2, cell.width() + 2, m_editor->height());
}

// ---------------------------------------------------------------------------
// Cell change and row commit

void GridPane::grd_EnterCell(int row, int col)
{
    if (m_suppress || m_busy)
        return;
    {
        Raise busy(m_busy);
        const bool clicked = grd->Clicking();
        writeBack();
        if (m_editRow < 0) {
            m_editRow = row;
            m_editCol = col;
            return;
        }
        if (row == m_editRow || !m_rowDirty)
            return;
        m_routine = kCommitRoutine;
        m_statements.clear();
        int failing = -1;
        if (validateRow(m_editRow, failing)) {
            const bool wasNew = m_editNewRow;
            if (!writeRow()) {
                revertRow();
                return;
            }
            // What the row now holds: its kept Nulls stay Null.
            for (int c = 0; c < m_spec.columns.size(); ++c)
                grd->Model().SetNull(m_editRow, c, KeptNull(c));
            if (wasNew)
                AddNewRow(!clicked && row >= 0);
            // Clean before the tree's refresh, which may show a pane and so ask this one.
            m_rowDirty = m_keyChanged = false;
            m_origKeys.clear();
            m_origRow.clear();
            m_origNull.clear();
            m_touched.clear();
            m_editNewRow = false;
            modGUI::RefreshNodePath(FolderKey());
            grd->setFocus();
            return;
        }
        Count quiet(m_suppress);
        grd->SetCurrent(m_editRow, failing);
    }
    // The failing cell is current: its editor opens there.
    grd_DblClick();
}

// Closes the editor; a text it changed goes into its cell, and the row is changed.
void GridPane::writeBack()
{
    closeEditor();
    ++m_change;
    const QString text = EditorText();
    if (text == m_origText)
        m_cellDirty = false;
    if (m_cellDirty && m_editRow >= 0 && m_editCol >= 0) {
        if (column(m_editCol).key)
            m_keyChanged = true;
        m_rowDirty = true;
        // A typed password is kept; its cell shows the mask.
        if (column(m_editCol).editor == Editor::Password)
            m_newPassword = text;
        grd->SetTextMatrix(m_editRow, m_editCol, column(m_editCol).editor == Editor::Password ? kMask : text);
        touch(m_editCol);
    }
    m_cellDirty = false;
}

bool GridPane::QueryLeave()
{
    if ((!m_editor || m_editor->isHidden()) && !m_rowDirty)
        return true;
    grd_EnterCell(-1, grd->Col());
    if (!m_rowDirty)
        return true;
    // Its checks refused the row (their message shown): the user gives its
    // changes up and goes, or stays on it.
    if (Ui().MsgBox(QStringLiteral("The changes to this row could not be saved. Do you want to discard them?"),
                    ui::vbYesNo + ui::vbQuestion, appinfo::Title()) != ui::vbYes)
        return false;
    closeEditor();
    ++m_change;
    revertRow();
    return true;
}

bool GridPane::validateRow(int row, int &failing)
{
    for (int col = 0; col < m_spec.columns.size(); ++col) {
        const QString message = ValidateCell(row, col);
        if (!message.isEmpty()) {
            Inform(message);
            failing = col;
            return false;
        }
    }
    return true;
}

// The row's statements run as one unit. An UPDATE or a re-key's DELETE that
// finds no row (deleted meanwhile by another connection), or a new row whose
// parent is gone, fails the unit with 3021: nothing is written.
bool GridPane::writeRow()
{
    enum class Run { Execute, Found, Require };
    QList<std::pair<Run, QString>> steps;
    ErrorHandler handler(kCommitRoutine);
    const bool built = handler.step([&] {
        steps.clear();
        if (!m_keyChanged) {
            steps.append({Run::Found, UpdateSQL()});
            return;
        }
        const QString insert = InsertSQL();
        if (m_editNewRow) {
            if (const QString parent = ParentSQL(); !parent.isEmpty())
                steps.append({Run::Require, parent});
            steps.append({Run::Execute, insert});
            return;
        }
        const QString del = DeleteSQL();
        // Without transactions a new identity is inserted before the old one
        // goes, so that a failure leaves one of them; the old row is read
        // first, as nothing would undo the INSERT.
        bool identityChanged = false;
        for (int col = 0; col < m_spec.columns.size(); ++col)
            identityChanged = identityChanged || (column(col).identity && Cell(col) != OrigKey(col));
        if (identityChanged && !Db().SupportsTransactions() && del.startsWith(QLatin1String("DELETE "))) {
            steps.append({Run::Require, QStringLiteral("SELECT * ") + del.mid(7)});
            steps.append({Run::Execute, insert});
            steps.append({Run::Found, del});
        } else {
            steps.append({Run::Found, del});
            steps.append({Run::Execute, insert});
        }
    });
    if (!built)
        return false;
    QStringList statements;
    for (const auto &step : std::as_const(steps))
        statements << step.second;
    m_statements << statements;
    return modUpdate::RunUnit(
        m_ds, kCommitRoutine,
        [&] {
            for (const auto &[run, sql] : std::as_const(steps)) {
                switch (run) {
                case Run::Execute: modUpdate::UnitExecute(sql); break;
                case Run::Found: modUpdate::UnitExecuteFound(sql); break;
                case Run::Require: modUpdate::UnitRequireRow(sql); break;
                }
            }
        },
        statements.join(QStringLiteral("\r\n")));
}

// The change was given up (Esc, Ignore, a discarded refused row): the row
// shows again what it held when its editing began; a new row its defaults.
void GridPane::revertRow()
{
    for (int col = 0; col < m_origRow.size(); ++col)
        grd->SetTextMatrix(m_editRow, col, m_origRow[col]);
    m_touched.fill(false);
    m_newPassword.clear();
    m_rowDirty = m_keyChanged = m_cellDirty = false;
}

void GridPane::SetCell(int col, const QString &text)
{
    if (m_editRow < 0 || grd->TextMatrix(m_editRow, col) == text)
        return;
    grd->SetTextMatrix(m_editRow, col, text);
    touch(col);
    m_rowDirty = true;
}

void GridPane::touch(int col)
{
    if (col >= 0 && col < m_touched.size())
        m_touched[col] = true;
}

// ---------------------------------------------------------------------------
// Lookups and lists

void GridPane::lookupClicked(int element)
{
    ErrorHandler handler(LookupRoutine());
    handler.beforeDialog = [&] { handler.info = m_statements.value(m_statements.size() - 1); };
    m_routine = LookupRoutine();
    m_statements.clear();
    handler.step([&] { LookupClick(element); });
}

void GridPane::RefillList(int element, const QString &sql)
{
    QComboBox *list = cboCell.value(element);
    if (!list)
        return;
    const QString text = list->currentText();
    const bool dirty = m_cellDirty;
    {
        QSignalBlocker quiet(list);
        modBoundControls::PopulateList(list, Db(), sql);
        list->setEditText(text);
    }
    m_cellDirty = dirty;
}

void GridPane::RefillList(int element, const QStringList &items)
{
    QComboBox *list = cboCell.value(element);
    if (!list)
        return;
    const QString text = list->currentText();
    QSignalBlocker quiet(list);
    list->clear();
    list->addItems(items);
    list->setEditText(text);
}

std::unique_ptr<dao::Recordset> GridPane::OpenQuery(const QString &sql)
{
    m_statements << sql;
    return Db().OpenRecordset(sql, dao::dbOpenSnapshot);
}

bool GridPane::Exists(const QString &sql, QString *first)
{
    m_statements << sql;
    bool found = false;
    ErrorHandler handler(m_routine.isEmpty() ? kCommitRoutine : m_routine, sql);
    handler.step([&] {
        const auto rs = Db().OpenRecordset(sql, dao::dbOpenSnapshot);
        found = !rs->Eof();
        if (found && first)
            *first = rs->Cell(0, 0).toString();
    });
    return found;
}

// ---------------------------------------------------------------------------
// Services

dao::Database &GridPane::Db() const { return *Connection().db; }

CConnection &GridPane::Connection() const
{
    const auto connection = gConnections().Item(m_ds);
    if (!connection || !connection->db)
        qnerr::raise(qnerr::ObjectNotSet);
    return *connection;
}

std::optional<dao::Field> GridPane::CatalogField(const QString &column) const
{
    const int index = m_catalogFields.IndexOf(column);
    if (index < 0)
        return std::nullopt;
    return m_catalogFields(index);
}

QString GridPane::Esc(const QString &text) { return modDatabase::EscapeQuotes(text); }

QString GridPane::NumberText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("NULL");
    const auto value = modString::WholeNumber(text);
    if (!value)
        qnerr::raise(qnerr::ValidationFailed, QStringLiteral("'%1' is not a whole number.").arg(text));
    return QString::number(*value);
}

bool GridPane::KeptNull(int col) const { return m_origNull.value(col) && !m_touched.value(col); }

QString GridPane::Quoted(int col) const
{
    return KeptNull(col) ? QStringLiteral("NULL") : modDatabase::Quoted(Cell(col));
}

QString GridPane::Number(int col) const
{
    if (m_editNewRow || m_touched.value(col))
        return NumberText(Cell(col));
    return modDatabase::StoredNumberOrNullSQL(KeptNull(col) ? QVariant() : QVariant(Cell(col)), column(col).name);
}

QString GridPane::Flag(int col) const
{
    return KeptNull(col) ? QStringLiteral("NULL") : QString::number(modGrid::ToBoolean(Cell(col)));
}

QString GridPane::Code(int col) const
{
    return KeptNull(col) ? QStringLiteral("NULL") : QString::number(modGrid::WordCode(Cell(col), column(col).words));
}

void GridPane::Inform(const QString &message) { Ui().MsgBox(message, ui::vbInformation, appinfo::Title()); }

// ---------------------------------------------------------------------------
// Up and layout

void GridPane::tbr_ButtonClick(const QString &)
{
    const auto up = UpTarget();
    if (!up)
        return;
    modGUI::RefreshNodePath(up->nodeKey);
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->PaneDisplay(up->form, up->keys);
}

void GridPane::Form_Resize()
{
    picTitlebar->setGeometry(0, 0, width(), picTitlebar->height());
    if (height() > picTitlebar->height())
        grd->setGeometry(0, picTitlebar->height(), width(), height() - picTitlebar->height());
    else
        grd->setGeometry(0, picTitlebar->height(), width(), grd->height());
}

void GridPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
