#include "modgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "core/errortrace.h"
#include "core/modstring.h"
#include "dao.h"

// ---------------------------------------------------------------------------
// GridModel

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_captions.size()); }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole: return Text(index.row(), index.column());
    case Qt::TextAlignmentRole: return QVariant::fromValue(Alignment(index.column()) | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return Caption(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignment(section) | Qt::AlignVCenter);
    return {};
}

void GridModel::Reset(const QStringList &captions, const QList<Qt::Alignment> &alignments, std::vector<QString> cells,
                      std::vector<bool> nulls)
{
    beginResetModel();
    m_captions = captions;
    m_alignments = alignments;
    m_cells = std::move(cells);
    m_nulls = std::move(nulls);
    m_nulls.resize(m_cells.size());
    m_rows = captions.isEmpty() ? 0 : int(m_cells.size() / size_t(captions.size()));
    endResetModel();
}

void GridModel::ClearRows()
{
    Reset(m_captions, m_alignments, {});
}

int GridModel::AddRow()
{
    beginInsertRows({}, m_rows, m_rows);
    m_cells.resize(m_cells.size() + size_t(m_captions.size()));
    m_nulls.resize(m_cells.size());
    ++m_rows;
    endInsertRows();
    return m_rows - 1;
}

QString GridModel::Text(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_captions.size())
        return {};
    return m_cells[size_t(row) * size_t(m_captions.size()) + size_t(col)];
}

bool GridModel::IsNull(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_captions.size())
        return false;
    return m_nulls[size_t(row) * size_t(m_captions.size()) + size_t(col)];
}

void GridModel::SetNull(int row, int col, bool null)
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_captions.size())
        return;
    m_nulls[size_t(row) * size_t(m_captions.size()) + size_t(col)] = null;
}

void GridModel::SetText(int row, int col, const QString &text)
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_captions.size())
        return;
    QString &cell = m_cells[size_t(row) * size_t(m_captions.size()) + size_t(col)];
    if (cell == text)
        return;
    cell = text;
    const QModelIndex at = index(row, col);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

// ---------------------------------------------------------------------------
// GridView

namespace {

// Draws the current cell as selected, whatever the selection holds.
class CurrentCellDelegate : public QStyledItemDelegate
{
public:
    explicit CurrentCellDelegate(QAbstractItemView *view) : QStyledItemDelegate(view), m_view(view) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
        if (index == m_view->currentIndex())
            option->state |= QStyle::State_Selected;
        else
            option->state &= ~QStyle::State_Selected;
    }

private:
    QAbstractItemView *m_view;
};

} // namespace

GridView::GridView(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("grd"));
    setModel(&m_model);
    setItemDelegate(new CurrentCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(19);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    auto followed = [this] {
        if (!m_following)
            emit scrolled();
    };
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, followed);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, followed);
}

int GridView::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int GridView::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

void GridView::SetCurrent(int row, int col)
{
    const QModelIndex at = m_model.index(row, col);
    if (!at.isValid())
        return;
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
}

bool GridView::event(QEvent *event)
{
    // Tab moves between cells (the pane decides how), never to another control.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            bool handled = false;
            emit keyTyped(key, handled);
            if (handled)
                return true;
        }
    }
    return QTableView::event(event);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    bool handled = false;
    emit keyTyped(event, handled);
    if (handled)
        return;
    // A character the pane did not take types nothing (no search by first letter).
    if (!event->text().isEmpty() && event->text()[0].isPrint() && !(event->modifiers() & Qt::ControlModifier))
        return;
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    m_clicking = true;
    QTableView::mousePressEvent(event);
    m_clicking = false;
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    ++m_following;
    QTableView::currentChanged(current, previous); // scrolls the new current cell into view
    --m_following;
    viewport()->update();
    emit cellEntered(current.isValid() ? current.row() : -1, current.isValid() ? current.column() : -1);
}

// ---------------------------------------------------------------------------
// modGrid

namespace modGrid {

QString Caption(const QString &column)
{
    QString caption = column;
    caption.replace(QLatin1Char('_'), QLatin1Char(' '));
    bool wordStart = true;
    for (QChar &c : caption) {
        if (c.isSpace()) {
            wordStart = true;
            continue;
        }
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return caption;
}

QString ColumnName(const QString &caption)
{
    QString name = caption;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    return name.toUpper();
}

namespace {

bool isTextType(int type) { return type == dao::dbText || type == dao::dbMemo || type == dao::dbChar; }

} // namespace

bool PopulateGrid(GridView &grid, dao::Database &db, const QString &SQL)
{
    ErrorHandler handler(QStringLiteral("modGrid.PopulateGrid"), SQL);
    const bool filled = handler.step([&] {
        const auto rs = db.OpenRecordset(SQL, dao::dbOpenSnapshot);
        const QList<dao::FieldInfo> fields = rs->GetFields().Info();
        QStringList captions;
        QList<Qt::Alignment> alignments;
        for (const dao::FieldInfo &field : fields) {
            captions << Caption(field.Name);
            alignments << (isTextType(field.Type) ? Qt::AlignLeft : Qt::AlignRight);
        }
        const long rows = rs->RecordCount();
        const int cols = int(fields.size());
        std::vector<QString> cells;
        std::vector<bool> nulls;
        cells.reserve(size_t(rows) * size_t(cols));
        nulls.reserve(size_t(rows) * size_t(cols));
        for (long row = 0; row < rows; ++row)
            for (int col = 0; col < cols; ++col) {
                const QVariant &value = rs->Cell(row, col);
                cells.push_back(value.toString());
                nulls.push_back(value.isNull());
            }
        grid.Model().Reset(captions, alignments, std::move(cells), std::move(nulls));
        // Each column as wide as its caption.
        const QFontMetrics metrics(grid.horizontalHeader()->font());
        for (int col = 0; col < cols; ++col)
            grid.setColumnWidth(col, metrics.horizontalAdvance(captions[col]) + 16);
    });
    if (!filled)
        grid.Model().ClearRows();
    return filled;
}

void NextCell(GridView &grid)
{
    int row = grid.Row(), col = grid.Col();
    if (col < grid.Cols() - 1) {
        ++col;
    } else {
        col = 0;
        row = row >= grid.Rows() - 1 ? 0 : row + 1;
    }
    grid.SetCurrent(row, col);
}

QString YesNo(int value) { return value == 1 ? QStringLiteral("Yes") : QStringLiteral("No"); }

QString YesNoText(const QString &stored)
{
    const auto value = modString::WholeNumber(stored);
    return YesNo(value && *value == 1 ? 1 : 0);
}

int ToBoolean(const QString &text)
{
    const QString upper = text.toUpper();
    return upper == QLatin1String("YES") || upper == QLatin1String("TRUE") || upper == QLatin1String("ON") ? 1 : 0;
}

const QStringList &SearchableWords()
{
    static const QStringList words = {QStringLiteral("Unsearchable"), QStringLiteral("LIKE only"),
                                      QStringLiteral("All except LIKE"), QStringLiteral("Searchable")};
    return words;
}

int ToSearchable(const QString &text) { return WordCode(text, SearchableWords()); }

const QStringList &EncryptedWords()
{
    static const QStringList words = {QStringLiteral("No"), QStringLiteral("Yes - Read/Write"),
                                      QStringLiteral("Yes - Read Only")};
    return words;
}

int ToEncrypted(const QString &text) { return WordCode(text, EncryptedWords()); }

int WordCode(const QString &text, const QStringList &words)
{
    const int position = int(words.indexOf(text));
    return position < 0 ? 0 : position;
}

QString CodeWord(const QString &stored, const QStringList &words)
{
    const auto value = modString::WholeNumber(stored);
    if (!value || *value < 0 || *value >= words.size())
        return stored;
    return words[int(*value)];
}

} // namespace modGrid
