#include "controls.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include "qnerror.h"

namespace controls {

namespace {
// Position of the "_<digits>" suffix, or -1.
qsizetype suffixAt(const QString &name)
{
    const qsizetype at = name.lastIndexOf(QLatin1Char('_'));
    if (at <= 0 || at == name.size() - 1)
        return -1;
    for (qsizetype i = at + 1; i < name.size(); ++i)
        if (!name[i].isDigit())
            return -1;
    return at;
}

const QWidget *required(const QWidget *control)
{
    if (!control)
        qnerr::raise(qnerr::ObjectNotSet);
    return control;
}
} // namespace

QString ArrayName(const QWidget *control)
{
    const QString name = required(control)->objectName();
    const qsizetype at = suffixAt(name);
    return at < 0 ? name : name.left(at);
}

int ArrayIndex(const QWidget *control)
{
    const QString name = required(control)->objectName();
    const qsizetype at = suffixAt(name);
    return at < 0 ? -1 : name.mid(at + 1).toInt();
}

QString Tag(const QWidget *control) { return required(control)->property("Tag").toString(); }

QList<QWidget *> ArrayElements(const QWidget *form, const QString &name)
{
    QList<QWidget *> elements;
    for (QWidget *w : required(form)->findChildren<QWidget *>())
        if (ArrayName(w) == name && (w->objectName() == name || ArrayIndex(w) >= 0))
            elements << w;
    return elements;
}

QString Text(const QWidget *control)
{
    if (auto *e = qobject_cast<const QLineEdit *>(control))
        return e->text();
    if (auto *c = qobject_cast<const QComboBox *>(control))
        return c->currentText();
    if (auto *c = qobject_cast<const QCheckBox *>(control)) // 0 unchecked, 1 checked, 2 greyed
        return QString::number(c->checkState() == Qt::Checked ? 1 : c->checkState() == Qt::PartiallyChecked ? 2 : 0);
    if (auto *t = qobject_cast<const QPlainTextEdit *>(control))
        return t->toPlainText();
    if (auto *t = qobject_cast<const QTextEdit *>(control))
        return t->toPlainText();
    if (auto *s = qobject_cast<const QAbstractSpinBox *>(control))
        return s->text();
    if (auto *l = qobject_cast<const QLabel *>(control))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(control))
        return b->text();
    return {};
}

void SetText(QWidget *control, const QString &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(control))
        e->setText(text);
    else if (auto *t = qobject_cast<QPlainTextEdit *>(control))
        t->setPlainText(text);
    else if (auto *t = qobject_cast<QTextEdit *>(control))
        t->setPlainText(text);
    else if (auto *c = qobject_cast<QComboBox *>(control); c && c->isEditable())
        c->setEditText(text);
    else if (auto *l = qobject_cast<QLabel *>(control))
        l->setText(text);
    else
        qnerr::raise(qnerr::ObjectDoesntSupport);
}

} // namespace controls
