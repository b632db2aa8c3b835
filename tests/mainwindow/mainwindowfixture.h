#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QSettings>
#include <QStringList>
#include <QToolBar>
#include <QWidget>

#include "appinfo.h"
#include "core/cconnections.h"
#include "panehost/forms.h"
#include "mainwindow/mdimain.h"
#include "panehost/paneprotocol.h"
#include "standinfixture.h"
#include "tree/cnodes.h"

// The main window on the stand-in data sources; everything it loaded is
// unloaded after each test.
class MainWindowTest : public StandinTest
{
protected:
    void TearDown() override
    {
        mdiMain::Unload();
        forms::UnloadAllExcept({});
        flush();
        gConnections().RemoveAll();
        gNodes().Clear();
        StandinTest::TearDown();
    }

    mdiMain &main() { return mdiMain::instance(); }

    // Runs the pending deferred deletes (forms unloaded inside handlers).
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static QString setting(const QString &section, const QString &key)
    {
        const QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
        return settings.value(section + QLatin1Char('/') + key).toString();
    }
    static void setSetting(const QString &section, const QString &key, const QString &value)
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, appinfo::Title());
        settings.setValue(section + QLatin1Char('/') + key, value);
    }

    // The names of the visible bands, in coolbar order.
    QStringList visibleBands()
    {
        QStringList names;
        for (QToolBar *band : main().cbrMain->findChildren<QToolBar *>(Qt::FindDirectChildrenOnly))
            if (!band->isHidden())
                names << band->objectName();
        return names;
    }
};

// A pane that records what the host calls on it; its name decides its
// argument counts and band, as a real pane's does.
class TestPane : public QWidget, public PaneProtocol
{
public:
    explicit TestPane(const QString &name) { setObjectName(name); }

    int Display(const QStringList &keys) override { return record(QStringLiteral("Display"), keys); }
    void AddNew(const QStringList &keys) override { record(QStringLiteral("AddNew"), keys); }
    void Edit(const QStringList &keys) override { record(QStringLiteral("Edit"), keys); }
    void Delete(const QStringList &keys) override { record(QStringLiteral("Delete"), keys); }
    void tbr_ButtonClick(const QString &key) override { calls << QStringLiteral("tbr:") + key; }

    QStringList calls;
    long failWith = 0; // a failure number the next call raises
    int result = 7;

private:
    int record(const QString &member, const QStringList &keys)
    {
        if (failWith) {
            const long number = failWith;
            failWith = 0;
            qnerr::raise(number);
        }
        calls << member + QLatin1Char(':') + keys.join(QLatin1Char(','));
        show();
        return result;
    }
};
