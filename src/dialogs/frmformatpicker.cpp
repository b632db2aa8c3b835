#include "frmformatpicker.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "core/errortrace.h"
#include "panehost/forms.h"
#include "panehost/panelook.h"
#include "ui.h"

using panelook::Twips;

// ---------------------------------------------------------------------------
// FormatBuilder

QStringList FormatBuilder::Components() const
{
    if (m_kind == Kind::Time)
        return {QStringLiteral("hh"), QStringLiteral("mm"), QStringLiteral("ss"), QStringLiteral("cc")};
    return {QStringLiteral("YYYY"), QStringLiteral("MMM"), QStringLiteral("YY"), QStringLiteral("MM"),
            QStringLiteral("DD")};
}

QString FormatBuilder::Append(const QString &format, const QString &piece) const
{
    const QString text = format + piece;
    return text.size() > MaxLength ? Delete(text) : text;
}

QString FormatBuilder::Delete(const QString &format) const
{
    qsizetype n = 0;
    // Components are read from the end, the longest first.
    for (const QString &component : Components()) {
        if (format.endsWith(component)) {
            n = component.size();
            break;
        }
    }
    if (n == 0 && format.size() > 1)
        n = 1;
    return format.left(format.size() - n);
}

QString FormatBuilder::Example(const QString &format, const QDateTime &now, const QLocale &locale) const
{
    const QStringList components = Components();
    auto two = [](int value) { return QStringLiteral("%1").arg(value % 100, 2, 10, QLatin1Char('0')); };
    auto valueOf = [&](const QString &component) -> QString {
        const QDate date = now.date();
        const QTime time = now.time();
        if (component == QLatin1String("hh"))
            return two(time.hour());
        if (component == QLatin1String("mm"))
            return two(time.minute());
        if (component == QLatin1String("ss"))
            return two(time.second());
        if (component == QLatin1String("cc"))
            return QStringLiteral("00");
        if (component == QLatin1String("YYYY"))
            return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        if (component == QLatin1String("MMM"))
            return locale.monthName(date.month(), QLocale::ShortFormat);
        if (component == QLatin1String("YY"))
            return two(date.year());
        if (component == QLatin1String("MM"))
            return two(date.month());
        return two(date.day()); // DD
    };
    QString example;
    for (qsizetype i = 0; i < format.size();) {
        bool matched = false;
        for (const QString &component : components) {
            if (QStringView(format).mid(i, component.size()) == component) {
                example += valueOf(component);
                i += component.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            example += format.at(i++);
    }
    return example;
}

std::function<QDateTime()> &FormatBuilder::Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

QDateTime FormatBuilder::Now() { return Clock() ? Clock()() : QDateTime::currentDateTime(); }

// ---------------------------------------------------------------------------
// FormatPicker

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    return l;
}

// A read-only text in a sunken box of the window's colours.
QLabel *textBox(QWidget *parent, const QString &name, const QRect &at)
{
    QLabel *l = label(parent, name, QString(), at);
    l->setTextFormat(Qt::PlainText);
    l->setFrameShape(QFrame::Box);
    l->setAutoFillBackground(true);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    l->setPalette(palette);
    l->setIndent(3);
    return l;
}

} // namespace

FormatPicker::FormatPicker(const QString &name, const QString &title, FormatBuilder::Kind kind,
                           const QList<Button> &buttons, const QString &cancelTrace)
    : QDialog(ui::dialogParent(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_builder(kind),
      m_cancelTrace(cancelTrace)
{
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
    const bool date = kind == FormatBuilder::Kind::Date;

    label(this, QStringLiteral("lblPrompts_0"), QStringLiteral(" Components: "), Twips(120, 120, 1500, 255));
    // Components: one row (time), or two with the second row under the month and year buttons (date).
    // Separators: the wide space button, then eight small ones.
    const int separatorTop = date ? 1320 : 900;
    m_buttons.resize(14);
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QStringLiteral("cmdComp_%1").arg(b.index));
        button->setProperty("Tag", QString::fromUtf8(b.tag));
        if (b.tip)
            button->setToolTip(QString::fromUtf8(b.tip));
        m_buttons[b.index] = button;
        connect(button, &QPushButton::clicked, this, [this, index = b.index] { cmdComp_Click(index); });
    }
    const QList<int> components = date ? QList<int>{0, 1, 2, 3, 4} : QList<int>{0, 1, 3};
    for (int i = 0; i < components.size(); ++i) {
        const int row = date && i >= 3 ? 1 : 0;
        const int column = row == 1 ? i - 2 : i;
        m_buttons[components[i]]->setGeometry(Twips(120 + column * 1215, 420 + row * 435, 1155, 375));
    }
    const QList<int> separators = date ? QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 13}
                                       : QList<int>{8, 5, 6, 7, 9, 10, 11, 12, 13};
    m_buttons[separators[0]]->setGeometry(Twips(120, separatorTop, 1155, 375));
    for (int i = 1; i < separators.size(); ++i)
        m_buttons[separators[i]]->setGeometry(Twips(1335 + (i - 1) * 420, separatorTop, 375, 375));

    const int formatTop = separatorTop + 555;
    label(this, QStringLiteral("lblPrompts_1"), QStringLiteral("Format:"), Twips(120, formatTop + 30, 900, 255));
    lblFormat = textBox(this, QStringLiteral("lblFormat"), Twips(1020, formatTop, 3135, 315));
    cmdDelete = new QPushButton(this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    cmdDelete->setGeometry(Twips(4215, formatTop, 465, 315));
    connect(cmdDelete, &QPushButton::clicked, this, &FormatPicker::cmdDelete_Click);

    const int exampleTop = formatTop + 420;
    label(this, QStringLiteral("lblPrompts_2"), QStringLiteral("Example:"), Twips(120, exampleTop + 30, 900, 255));
    lblExample = textBox(this, QStringLiteral("lblExample"), Twips(1020, exampleTop, 3660, 315));

    const int buttonsTop = exampleTop + 555;
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips(2340, buttonsTop, 1095, 375));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips(3585, buttonsTop, 1095, 375));
    connect(cmdCancel, &QPushButton::clicked, this, &FormatPicker::cmdCancel_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FormatPicker::cmdOK_Click);

    // Rules framing the groups: under the components, under the separators, above the buttons.
    const int rules[4] = {separatorTop - 90, formatTop - 90, buttonsTop - 90, 0};
    for (int i = 0; i < 8; ++i) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("linSep_%1").arg(i + 1));
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        panelook::SetBackground(line, panelook::System(i % 2 ? QPalette::Light : QPalette::Mid));
        const int rule = i / 2;
        if (rule < 3)
            line->setGeometry(Twips(120, rules[rule] + (i % 2) * 15, 4560, 15));
        else
            line->setGeometry(Twips(60 + (i % 2) * 15, 60, 15, 15)); // the corner of the frame
    }
    // Enter presses the button that has the focus; none is the default.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setDefault(false);
    setFixedSize(Twips(0, 0, 4800, buttonsTop + 495).size());
}

QPushButton *FormatPicker::cmdComp(int index) const { return m_buttons.value(index); }

QString FormatPicker::trace(const char *procedure) const
{
    return objectName() + QLatin1Char('.') + QLatin1String(procedure);
}

void FormatPicker::setFormat(const QString &format)
{
    m_format = format;
    lblFormat->setText(format);
    MakeExample(format);
}

QString FormatPicker::getFormat(const QString &Default)
{
    TraceScope scope(trace("GetFormat"));
    setFormat(Default); // any text, whatever its length
    m_ok = false;
    Ui().RunModal(*this);
    return m_ok ? m_format : Default;
}

void FormatPicker::MakeExample(const QString &FormatDesc)
{
    TraceScope scope(trace("MakeExample"));
    lblExample->setText(m_builder.Example(FormatDesc, FormatBuilder::Now()));
    lblExample->repaint();
}

void FormatPicker::cmdComp_Click(int Index)
{
    TraceScope scope(trace("cmdComp_Click"));
    const QPushButton *button = cmdComp(Index);
    if (!button)
        return;
    setFormat(m_builder.Append(m_format, button->property("Tag").toString()));
}

void FormatPicker::cmdDelete_Click()
{
    TraceScope scope(trace("cmdDelete_Click"));
    const QString shorter = m_builder.Delete(m_format);
    if (shorter != m_format)
        setFormat(shorter);
}

void FormatPicker::cmdOK_Click()
{
    TraceScope scope(trace("cmdOK_Click"));
    m_ok = true;
    done(Accepted);
}

void FormatPicker::cmdCancel_Click()
{
    TraceScope scope(m_cancelTrace);
    m_ok = false;
    done(Rejected);
}

void FormatPicker::closeEvent(QCloseEvent *event)
{
    m_ok = false;
    done(Rejected);
    event->accept();
}

// ---------------------------------------------------------------------------
// The twins

namespace {

QList<FormatPicker::Button> kSeparators(int space, int first)
{
    return {
        {space, " (Space)", " ", nullptr},      {first, ":", ":", "Collon"},
        {first + 1, "/", "/", "Forward Slash"}, {first + 2, "\\", "\\", "Back Slash"},
        {9, ",", ",", "Comma"},                 {10, ".", ".", "Full Stop"},
        {11, "-", "-", "Hyphen"},               {12, ";", ";", "Semi-Collon"},
        {13, "_", "_", "Underscore"},
    };
}

} // namespace

frmDateFormat::frmDateFormat()
    : FormatPicker(QStringLiteral("frmDateFormat"), QStringLiteral("Date Format"), FormatBuilder::Kind::Date,
                   QList<Button>{{0, "Day", "DD", nullptr},
                                 {1, "Month (Jan)", "MMM", nullptr},
                                 {2, "Year (1998)", "YYYY", nullptr},
                                 {3, "Month (01)", "MM", nullptr},
                                 {4, "Year (98)", "YY", nullptr}} +
                       kSeparators(5, 6),
                   QStringLiteral("frmDateFormat.cmdCancel"))
{
}

QString frmDateFormat::GetFormat(const QString &Default) { return forms::Get<frmDateFormat>().getFormat(Default); }

frmTimeFormat::frmTimeFormat()
    : FormatPicker(QStringLiteral("frmTimeFormat"), QStringLiteral("Time Format"), FormatBuilder::Kind::Time,
                   QList<Button>{{0, "Hours", "hh", nullptr}, {1, "Minutes", "mm", nullptr}, {3, "Seconds", "ss", nullptr}} +
                       kSeparators(8, 5),
                   QStringLiteral("frmTimeFormat.cmdCancel_Click"))
{
}

QString frmTimeFormat::GetFormat(const QString &Default) { return forms::Get<frmTimeFormat>().getFormat(Default); }

std::optional<QString> PickFormat(const QString &localType, const QString &format)
{
    if (localType.contains(QLatin1String("DATE")))
        return frmDateFormat::GetFormat(format);
    if (localType.contains(QLatin1String("TIME")))
        return frmTimeFormat::GetFormat(format);
    return std::nullopt;
}
