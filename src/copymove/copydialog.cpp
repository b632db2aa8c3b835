#include "copydialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <climits>
#include <optional>

#include "core/cconnections.h"
#include "core/copyrows.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modgui.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "panehost/forms.h"
#include "panehost/panelook.h"
#include "tree/explorer.h"
#include "tree/explorerwindow.h"
#include "ui.h"

using panelook::Twips;

CopyDialog::CopyDialog(const QString &name, const QString &title) : QDialog(ui::dialogParent())
{
    setObjectName(name);
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
}

bool CopyDialog::Connect(const QString &Datasource)
{
    const auto connection = gConnections().Item(Datasource);
    if (!connection || !connection->db)
        return false;
    m_ds = connection->db->Name();
    return true;
}

dao::DatabasePtr CopyDialog::Db() const { return gConnections().Db(m_ds); }

QLabel *CopyDialog::AddPrompt(int index, const QString &text, const QRect &twips)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("lblPrompt_%1").arg(index));
    label->setGeometry(Twips(twips.x(), twips.y(), twips.width(), twips.height()));
    return label;
}

QLabel *CopyDialog::AddValue(const QString &name, const QRect &twips)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Box);
    label->setIndent(2);
    label->setGeometry(Twips(twips.x(), twips.y(), twips.width(), twips.height()));
    return label;
}

QLineEdit *CopyDialog::AddNameBox(const QString &name, const QRect &twips)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setGeometry(Twips(twips.x(), twips.y(), twips.width(), twips.height()));
    return box;
}

void CopyDialog::FilterNameBox(QLineEdit *box, const QString &catalogTable, const QString &column)
{
    const dao::Fields fields = modDatabase::FetchFieldInfo(*Db(), catalogTable);
    if (fields.IndexOf(column) >= 0)
        modGUI::InstallKeyFilter(box, fields(column));
}

void CopyDialog::AddFrame(const QRect &twips)
{
    // Top and left in the button shadow, bottom and right in the highlight: sunken.
    const QRect lines[] = {
        Twips(twips.left(), twips.top(), twips.width(), 15),
        Twips(twips.left(), twips.top(), 15, twips.height()),
        Twips(twips.left(), twips.top() + twips.height() - 15, twips.width(), 15),
        Twips(twips.left() + twips.width() - 15, twips.top(), 15, twips.height()),
    };
    for (int i = 0; i < 4; ++i) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("lin3D_%1").arg(i));
        line->setFrameShape(QFrame::NoFrame);
        panelook::SetBackground(line, panelook::System(i < 2 ? QPalette::Mid : QPalette::Light));
        line->setGeometry(lines[i]);
    }
}

void CopyDialog::AddButtons(int top, bool okDefault)
{
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(1860, top, 1095, 315));
    cmdCancel->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(3060, top, 1095, 315));
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(okDefault);
    connect(cmdCancel, &QPushButton::clicked, this, &CopyDialog::cmdCancel_Click);
}

// The prompts take the width their text needs in the font shown; what lies
// right of them (values, boxes, buttons, the frame's right edge) moves along.
void CopyDialog::SetClientSize(int widthTwips, int heightTwips)
{
    int promptsEnd = 0;
    int valuesStart = INT_MAX;
    for (QLabel *prompt : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (!prompt->objectName().startsWith(QLatin1String("lblPrompt_"))) {
            valuesStart = qMin(valuesStart, prompt->x());
            continue;
        }
        prompt->resize(qMax(prompt->width(), prompt->sizeHint().width()), prompt->height());
        promptsEnd = qMax(promptsEnd, prompt->x() + prompt->width());
    }
    const int shift = qMax(0, promptsEnd + 6 - valuesStart);
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->x() >= valuesStart)
            w->move(w->x() + shift, w->y());
        else if (w->objectName().startsWith(QLatin1String("lin3D_")) && w->width() > w->height())
            w->resize(w->width() + shift, w->height());
    }
    const QSize size = Twips(0, 0, widthTwips, heightTwips).size();
    setFixedSize(size.width() + shift, size.height());
}

void CopyDialog::Form_Load() { modGUI::PlaceAtSavedPosition(this, objectName()); }

QString CopyDialog::Proposal(const QString &queryTemplate, const QString &base) const
{
    try {
        return modDatabase::CalcUniqueName(*Db(), queryTemplate, base);
    } catch (const QnError &e) {
        if (e.Number() != qnerr::ValidationFailed)
            throw;
        return QString();
    }
}

CopyDialog::Verdict CopyDialog::Refuse(const QString &message, QWidget *focus)
{
    Ui().MsgBox(message, ui::vbInformation);
    focus->setFocus();
    return Verdict::Stay;
}

CopyDialog::Verdict CopyDialog::TestName(QLineEdit *box, const NameTest &test, const QString &routine)
{
    const QString refusal = QStringLiteral("Please enter a Name.");
    if (box->text().trimmed().isEmpty())
        return Refuse(refusal, box);
    ErrorHandler handler(routine);
    const QString name = box->text();
    bool taken = false;
    handler.info = test.lookupSQL(name);
    if (!handler.step([&] { taken = !Db()->OpenRecordset(handler.info)->Eof(); }))
        return Verdict::Close;
    handler.info = QStringLiteral("None");
    if (!taken)
        return Verdict::Copy;
    if (Ui().MsgBox(test.takenQuestion(name), ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return Verdict::Stay;
    QString proposal;
    if (!handler.step([&] { proposal = test.takenProposal(name); }))
        return Verdict::Close;
    box->setText(proposal);
    box->repaint();
    if (proposal.isEmpty())
        return Refuse(refusal, box);
    return Verdict::Copy;
}

bool CopyDialog::RunCopy(const QString &routine, const std::function<void()> &body, const QString &folderKey)
{
    std::optional<CMouseSleeper> sleeper(std::in_place);
    const bool copied = modUpdate::RunUnit(m_ds, routine, body);
    sleeper.reset();
    if (!copied)
        copyRows::TellIfDeletedAgain();
    if (copied && !folderKey.isEmpty()) {
        try {
            ReloadFolder(folderKey);
        } catch (const std::exception &) {
        }
    }
    unload();
    return copied;
}

bool CopyDialog::show(CopyDialog &form, const QString &Datasource, const std::function<void()> &fill)
{
    const QPointer<CopyDialog> shown(&form);
    // The main window stays while the dialog is on screen and copies.
    const modUpdate::WorkInProgress work;
    try {
        if (!form.Connect(Datasource)) {
            form.unload();
            return false;
        }
        form.Form_Load();
        fill();
    } catch (...) {
        if (shown)
            shown->unload();
        throw;
    }
    Ui().RunModal(form);
    if (shown)
        shown->unload();
    return true;
}

void CopyDialog::Status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

void CopyDialog::unload()
{
    if (!forms::IsLoaded(this))
        return;
    if (ReadyOnUnload)
        Status(QStringLiteral("Ready"));
    ErrorHandler handler(objectName() + QStringLiteral(".Form_Unload"));
    handler.step([&] { modGUI::SavePosition(this, objectName()); });
    done(QDialog::Rejected);
    forms::Unload(this);
}

void CopyDialog::cmdCancel_Click() { unload(); }

void CopyDialog::reject() { cmdCancel_Click(); }

namespace copyRows {

void CopyEach(const QString &query, const RowText &status, const RowText &insert, const RowText &undo)
{
    const auto rs = modUpdate::UnitOpen(query);
    for (; !rs->Eof(); rs->MoveNext()) {
        CopyDialog::Status(status(*rs));
        modUpdate::UnitInsert(insert(*rs), undo(*rs));
    }
}

} // namespace copyRows
