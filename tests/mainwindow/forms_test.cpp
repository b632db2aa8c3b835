// The loaded forms: a form reloaded after it is gone.
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <gtest/gtest.h>

#include "panehost/forms.h"

TEST(Forms, ReloadHoldsItsFormWeaklyAndMakesAFreshOneWhenItIsGone)
{
    const QString name = QStringLiteral("frmProbe");
    auto make = [name] {
        auto *form = new QWidget;
        form->setObjectName(name);
        return form;
    };
    QWidget *first = make();
    forms::Register(first, make);
    const QPointer<QWidget> held(first);
    EXPECT_EQ(forms::Reload(held, name), first);

    // Unloaded and destroyed while a handler still held it.
    forms::Unload(first);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(held.isNull());
    QWidget *fresh = forms::Reload(held, name);
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(forms::IsLoaded(fresh));
    EXPECT_EQ(fresh->objectName(), name);
    EXPECT_EQ(forms::Reload(held, name), fresh); // the loaded one, not another

    // Nothing can be made of a name without a factory.
    EXPECT_EQ(forms::Reload(QPointer<QWidget>(), QStringLiteral("frmUnknown")), nullptr);

    forms::Unload(fresh);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
