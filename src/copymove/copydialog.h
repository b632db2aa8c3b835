#pragma once

// The frame the three copy dialogs (database, table, file definition) share:
// a name box that takes name characters only, a free name proposed, OK's test
// of the name, the copy as one unit with its progress in the status bar, and
// the dialog's remembered position.
//
// A dialog holds its data source by name and reads through the registry's
// connection each time, so a connection lost meanwhile is made again. OK asks
// every question before the copy starts; the copy itself only reads the
// source rows and writes (modUpdate::RunUnit, UnitOpen, UnitInsert): a
// failure undoes the whole copy and shows the error dialog with the
// statement, Retry copies again, Ignore closes the dialog with nothing copied.

#include <QDialog>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

#include "dao.h"
#include "panehost/forms.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CopyDialog : public QDialog
{
    Q_OBJECT
public:
    // The status bar's text.
    static void Status(const QString &text);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void cmdCancel_Click();

protected:
    // `name`: the form's name, also its settings section; `title`: its caption.
    CopyDialog(const QString &name, const QString &title);

    // The data source's open database through the registry; false when it has
    // none (the registry has reported why). Remembers the data source by name.
    bool Connect(const QString &Datasource);
    const QString &Datasource() const { return m_ds; }
    // The open database of the data source (connecting again when it was lost); 91 when there is none.
    // Held by the caller while it reads: a read that loses the link drops the registry's hold.
    dao::DatabasePtr Db() const;

    // The layout, in twips: a prompt label, a bordered value label, the name
    // box, the sunken frame lin3D_0 to lin3D_3 and the two buttons (Cancel,
    // then "&Ok" right of it; OK the default button only when `okDefault`).
    // FilterNameBox gives the name box the key filter of its catalog column.
    QLabel *AddPrompt(int index, const QString &text, const QRect &twips);
    QLabel *AddValue(const QString &name, const QRect &twips);
    QLineEdit *AddNameBox(const QString &name, const QRect &twips);
    void FilterNameBox(QLineEdit *box, const QString &catalogTable, const QString &column);
    void AddFrame(const QRect &twips);
    void AddButtons(int top, bool okDefault);
    // Last: the dialog's size, widened where the prompts need more room than given.
    void SetClientSize(int widthTwips, int heightTwips);

    // Moves the dialog to its remembered position.
    void Form_Load();

    // A free name: modDatabase::CalcUniqueName on the data source, or "" when
    // no candidate fits the column.
    QString Proposal(const QString &queryTemplate, const QString &base) const;

    // OK's test of the name in `box`, as each dialog words it.
    struct NameTest
    {
        std::function<QString(const QString &)> lookupSQL;   // finds the name taken
        std::function<QString(const QString &)> takenQuestion;
        std::function<QString(const QString &)> takenProposal; // its answer Yes
    };
    enum class Verdict { Copy, Stay, Close };
    // A box empty once its blanks are trimmed is refused with "Please enter a
    // Name.", the focus put on it. Taken: the question, a Yes proposes a name
    // and the copy starts without a second look-up; a No keeps the dialog open
    // as it is; a Yes that finds no free name is refused as an empty box. A
    // failing query goes to the error dialog as `routine` (Ignore: Close).
    Verdict TestName(QLineEdit *box, const NameTest &test, const QString &routine);
    // The information message `message` with the focus put on `focus`; Stay.
    Verdict Refuse(const QString &message, QWidget *focus);

    // Runs `body` as the copy's one unit, named `routine`, under the busy
    // cursor; after a copy the tree folder `folderKey` (none when empty) is
    // reloaded, every failure of that ignored. Unloads the dialog either way.
    // True when copied.
    bool RunCopy(const QString &routine, const std::function<void()> &body, const QString &folderKey);

    // Display's steps: the loaded form of T takes the data source's connection,
    // moves to its place, is filled by `fill`, shown modally and unloaded once
    // it closed. False, with nothing shown, when the data source has no open
    // database. A failure of `fill` unloads the form and passes on.
    template <class T>
    static bool Show(const QString &Datasource, const std::function<void(T &)> &fill);

    // Form_Unload: "Ready" in the status bar (unless ReadyOnUnload is false)
    // and the position kept; then the form goes.
    void unload();
    bool ReadyOnUnload = true;
    void reject() override; // Esc and the close box: Cancel

private:
    static bool show(CopyDialog &form, const QString &Datasource, const std::function<void()> &fill);

    QString m_ds;
};

template <class T>
bool CopyDialog::Show(const QString &Datasource, const std::function<void(T &)> &fill)
{
    T &form = forms::Get<T>();
    return show(form, Datasource, [&] { fill(form); });
}

namespace copyRows {

// Inside a copy's unit: reads `query` and, for each row, shows its `status`
// text in the status bar and runs its `insert` (modUpdate::UnitInsert) with its `undo`.
using RowText = std::function<QString(const dao::Recordset &)>;
void CopyEach(const QString &query, const RowText &status, const RowText &insert, const RowText &undo);

} // namespace copyRows
