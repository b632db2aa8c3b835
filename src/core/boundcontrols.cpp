#include "boundcontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QWidget>

#include "controls.h"
#include "dao.h"
#include "errortrace.h"

void CCtrls::BindControls(QWidget *Form, QWidget *ControlArray, bool Clear)
{
    if (Clear)
        m_items = KeyedCollection<CCtrl>();
    for (QWidget *element : controls::ArrayElements(Form, controls::ArrayName(ControlArray))) {
        const QString tag = controls::Tag(element);
        Add(tag.isEmpty() ? QStringLiteral("%1(%2)").arg(controls::ArrayName(element)).arg(controls::ArrayIndex(element))
                          : tag,
            element);
    }
}

CCtrl &CCtrls::Add(const QString &Key, QWidget *Control)
{
    auto entry = std::make_shared<CCtrl>();
    entry->Key = Key;
    entry->SetControl(Control);
    m_items.Add(Key, entry);
    return *entry;
}

QWidget *CCtrls::Item(const QString &key) const { return m_items.Item(key)->Control(); }

QWidget *CCtrls::Find(const QString &key) const
{
    const auto entry = m_items.Find(key);
    return entry ? entry->Control() : nullptr;
}

QWidget *CCtrls::Item(int position) const { return m_items.Item(position)->Control(); }

namespace modBoundControls {

namespace {

void clearList(QWidget *ctl)
{
    if (auto *c = qobject_cast<QComboBox *>(ctl))
        c->clear();
    else if (auto *l = qobject_cast<QListWidget *>(ctl))
        l->clear();
    else
        qnerr::raise(qnerr::ObjectDoesntSupport);
}

// The items added; a combo box chooses none of them (its text stays empty).
void addItems(QWidget *ctl, const QStringList &items)
{
    if (auto *c = qobject_cast<QComboBox *>(ctl)) {
        c->addItems(items);
        c->setCurrentIndex(-1);
        if (c->isEditable())
            c->setEditText(QString());
    }
    else if (auto *l = qobject_cast<QListWidget *>(ctl))
        l->addItems(items);
    else
        qnerr::raise(qnerr::ObjectDoesntSupport);
}

// The property of an element that shows a stored Null.
const char *const kStoredNull = "StoredNull";

QList<QWidget *> elementsOf(QWidget *frm, QWidget *ctl)
{
    if (!frm || !ctl)
        qnerr::raise(qnerr::ObjectNotSet);
    return controls::ArrayElements(frm, controls::ArrayName(ctl));
}

} // namespace

long PopulateList(QWidget *ctl, dao::Database &db, const QString &SQL)
{
    const QString name = QStringLiteral("modBoundControls_PopulateList");
    TraceScope trace(name);
    ErrorHandler handler(name);
    long result = 0;
    std::unique_ptr<dao::Recordset> rs;
    if (!handler.step([&] { clearList(ctl); }))
        return result;
    if (!handler.step([&] { rs = db.OpenRecordset(SQL, dao::dbOpenSnapshot); }))
        return result;
    if (!handler.step([&] {
            QStringList items;
            items.reserve(rs->RecordCount());
            for (long row = 0; row < rs->RecordCount(); ++row)
                items << rs->Cell(row, 0).toString();
            addItems(ctl, items);
        }))
        return result;
    result = rs->RecordCount();
    return result;
}

void PopulateFields(QWidget *frm, QWidget *ctl, const dao::Recordset &rs, const QStringList &except)
{
    const QString name = QStringLiteral("modBoundControls.PopulateFields");
    TraceScope trace(name);
    ErrorHandler handler(name);
    QList<QWidget *> elements;
    if (!handler.step([&] { elements = elementsOf(frm, ctl); }))
        return;
    for (QWidget *element : elements) {
        const QString tag = controls::Tag(element);
        if (tag.isEmpty() || except.contains(tag, Qt::CaseInsensitive))
            continue;
        if (!handler.step([&] {
                const QVariant value = rs(tag).Value();
                controls::SetText(element, value.toString());
                element->setProperty(kStoredNull, value.isNull());
            }))
            return;
    }
}

bool ShowsStoredNull(const QWidget *ctl) { return ctl && ctl->property(kStoredNull).toBool(); }

void NoteChange(QWidget *ctl)
{
    if (ctl && !controls::Text(ctl).isEmpty())
        ctl->setProperty(kStoredNull, false);
}

void EnableControls(QWidget *frm, QWidget *ctl, bool Enabled)
{
    const QString name = QStringLiteral("modBoundControls.EnableControls");
    TraceScope trace(name);
    ErrorHandler handler(name);
    handler.step([&] {
        for (QWidget *element : elementsOf(frm, ctl))
            element->setEnabled(Enabled);
    });
}

void SetControls(QWidget *frm, QWidget *ctl, const QVariant &Value)
{
    const QString name = QStringLiteral("modBoundControls.SetControls");
    TraceScope trace(name);
    ErrorHandler handler(name);
    QList<QWidget *> elements;
    if (!handler.step([&] { elements = elementsOf(frm, ctl); }))
        return;
    for (QWidget *element : elements) {
        const bool done = handler.step([&] {
            if (auto *combo = qobject_cast<QComboBox *>(element)) {
                bool isNumber = false;
                const int index = Value.toInt(&isNumber);
                if (!isNumber)
                    qnerr::raise(qnerr::TypeMismatch);
                if (index < -1 || index >= combo->count())
                    qnerr::raise(qnerr::ValidationFailed);
                combo->setCurrentIndex(index);
            } else if (auto *check = qobject_cast<QCheckBox *>(element)) {
                bool isNumber = false;
                const int state = Value.toInt(&isNumber);
                if (!isNumber)
                    qnerr::raise(qnerr::TypeMismatch);
                if (state < 0 || state > 2)
                    qnerr::raise(qnerr::ValidationFailed);
                check->setCheckState(state == 0 ? Qt::Unchecked : state == 1 ? Qt::Checked : Qt::PartiallyChecked);
            } else {
                controls::SetText(element, Value.toString());
                element->setProperty(kStoredNull, false);
            }
        });
        if (!done)
            return;
    }
}

} // namespace modBoundControls
