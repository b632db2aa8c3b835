#include "forms.h"

#include <QHash>
#include <QPointer>

#include "core/frmqnerr.h"

namespace forms {

namespace {
QList<QPointer<QWidget>> &registry()
{
    static QList<QPointer<QWidget>> list;
    list.removeIf([](const QPointer<QWidget> &p) { return p.isNull(); });
    return list;
}
QHash<QString, std::function<QWidget *()>> &factories()
{
    static QHash<QString, std::function<QWidget *()>> map;
    return map;
}
} // namespace

QList<QWidget *> Loaded()
{
    QList<QWidget *> list;
    for (const QPointer<QWidget> &p : registry())
        list.append(p.data());
    return list;
}

QWidget *Find(const QString &name)
{
    for (const QPointer<QWidget> &p : registry())
        if (p->objectName() == name)
            return p.data();
    return nullptr;
}

bool IsLoaded(const QWidget *form)
{
    if (!form)
        return false;
    for (const QPointer<QWidget> &p : registry())
        if (p.data() == form)
            return true;
    return false;
}

void Register(QWidget *form, std::function<QWidget *()> factory)
{
    if (!form)
        return;
    if (factory)
        factories().insert(form->objectName(), std::move(factory));
    if (!IsLoaded(form))
        registry().append(form);
}

QWidget *Reload(const QPointer<QWidget> &form, const QString &name)
{
    if (form && IsLoaded(form))
        return form;
    QWidget *loaded = Load(name);
    return loaded ? loaded : form.data();
}

void Unload(QWidget *form)
{
    if (!form)
        return;
    registry().removeIf([form](const QPointer<QWidget> &p) { return p.data() == form; });
    form->hide();
    form->deleteLater();
}

void SetFactory(const QString &name, std::function<QWidget *()> factory)
{
    factories().insert(name, std::move(factory));
}

std::function<QWidget *()> Factory(const QString &name) { return factories().value(name); }

QWidget *Load(const QString &name)
{
    if (QWidget *loaded = Find(name))
        return loaded;
    const auto factory = factories().value(name);
    if (!factory)
        return nullptr;
    QWidget *fresh = factory();
    Register(fresh);
    return fresh;
}

void UnloadAllExcept(const QStringList &keep)
{
    for (QWidget *form : Loaded())
        if (!keep.contains(form->objectName()))
            Unload(form);
    if (!keep.contains(QStringLiteral("frmQNErr")))
        frmQNErr::Unload();
}

} // namespace forms
