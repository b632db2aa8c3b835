#pragma once

// The loaded forms of the program: every pane and dialog that lives beyond one
// call is loaded through Get<T>() and known here by its name (objectName), so
// that "unload every form but ..." reaches all of them. Unloading hides a form
// and destroys it later (never inside one of its own handlers); the next Get
// loads a fresh one.

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace forms {

// The loaded forms, oldest first.
QList<QWidget *> Loaded();
// The loaded form named `name`; nullptr when none.
QWidget *Find(const QString &name);
bool IsLoaded(const QWidget *form);
// Adds a form to the loaded forms; `factory` makes a fresh one of its kind for Reload.
void Register(QWidget *form, std::function<QWidget *()> factory = {});
// `form` when it is loaded; otherwise the loaded form named `name`, or a fresh
// one (a form unloaded, or already destroyed, while a handler still held it),
// or `form` itself (null when it is gone) when none can be made. The caller
// takes `name` while the form is certainly there.
QWidget *Reload(const QPointer<QWidget> &form, const QString &name);
// Hides the form, forgets it and destroys it later. Null does nothing.
void Unload(QWidget *form);
// Makes `factory` the way to load a fresh form named `name` (an empty one: none).
void SetFactory(const QString &name, std::function<QWidget *()> factory);
// The way to load a fresh form named `name`; empty when there is none.
std::function<QWidget *()> Factory(const QString &name);
// The loaded form named `name`; otherwise a fresh one from its factory, now
// loaded; nullptr when no factory has that name.
QWidget *Load(const QString &name);
// Unloads every loaded form whose name is not in `keep` (names compared
// exactly), the hidden error dialog included (which empties the error trace)
// unless "frmQNErr" is kept. The main window is never among the loaded forms.
void UnloadAllExcept(const QStringList &keep);

// The loaded form of type T; nullptr when none.
template <class T> T *LoadedForm()
{
    for (QWidget *form : Loaded())
        if (T *t = dynamic_cast<T *>(form))
            return t;
    return nullptr;
}

// Makes T the form loaded by Load(name). A pane's own file declares it once,
// so that a pane is shown by name without its class being known:
//   [[maybe_unused]] const bool declared = forms::Declare<frmAbout>(QStringLiteral("frmAbout"));
template <class T> bool Declare(const QString &name)
{
    SetFactory(name, [] { return static_cast<QWidget *>(new T()); });
    return true;
}

// The loaded form of type T; loads (creates) it when none is loaded.
template <class T> T &Get()
{
    if (T *t = LoadedForm<T>())
        return *t;
    T *t = new T();
    Register(t, [] { return static_cast<QWidget *>(new T()); });
    return *t;
}

} // namespace forms
