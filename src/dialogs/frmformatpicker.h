#pragma once

// The date and time format pickers: modal dialogs that build a field's FORMAT
// text from component and separator buttons, appended at its end and deleted
// from its end, with a live example. They are twins: one design (FormatPicker)
// with each its title, components, example values and delete lengths. The
// field editor's format button and the Fields grid open them through
// PickFormat, by the field's local type.

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QToolButton;

// The text rules of one picker, apart from its window.
class FormatBuilder
{
public:
    enum class Kind { Date, Time };
    // The most characters the buttons build; a press that reaches 255 deletes again.
    static constexpr int MaxLength = 254;

    explicit FormatBuilder(Kind kind) : m_kind(kind) {}

    // The components recognised in a text, in matching order.
    QStringList Components() const;
    // `format` with `piece` appended; one that reaches 255 characters loses its
    // last component again (the Delete rule).
    QString Append(const QString &format, const QString &piece) const;
    // `format` without its trailing component, or its last character when it
    // ends in none and is longer than one character.
    QString Delete(const QString &format) const;
    // The example: each component, matched left to right, replaced by its value
    // at `now` (MMM the month's short name in `locale`), any other character as it is.
    QString Example(const QString &format, const QDateTime &now, const QLocale &locale = QLocale()) const;

    // The clock the pickers' examples read (tests set a fixed one; empty: the system's).
    static std::function<QDateTime()> &Clock();
    static QDateTime Now();

private:
    Kind m_kind;
};

class FormatPicker : public QDialog
{
    Q_OBJECT
public:
    // The picker's buttons: index, caption, appended text, tooltip.
    struct Button
    {
        int index;
        const char *caption;
        const char *tag;
        const char *tip;
    };

    // Rebuilds the example from `FormatDesc`.
    void MakeExample(const QString &FormatDesc);
    QString Format() const { return m_format; }

    QLabel *lblFormat = nullptr;
    QLabel *lblExample = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdComp(int index) const;

public slots:
    void cmdComp_Click(int Index);
    void cmdDelete_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    FormatPicker(const QString &name, const QString &title, FormatBuilder::Kind kind, const QList<Button> &buttons,
                 const QString &cancelTrace);
    // Shows the picker modally with `Default`: the built text on OK, `Default` otherwise.
    QString getFormat(const QString &Default);
    // The window system's close is a Cancel.
    void closeEvent(QCloseEvent *event) override;

public:
    // Escape does nothing: only OK and Cancel end the picker.
    void reject() override {}

private:
    void setFormat(const QString &format);
    QString trace(const char *procedure) const;

    FormatBuilder m_builder;
    QString m_cancelTrace;
    QString m_format;
    bool m_ok = false;
    QList<QPushButton *> m_buttons; // by index; null where the picker has none
};

class frmDateFormat : public FormatPicker
{
    Q_OBJECT
public:
    frmDateFormat();
    static QString GetFormat(const QString &Default);
};

class frmTimeFormat : public FormatPicker
{
    Q_OBJECT
public:
    frmTimeFormat();
    static QString GetFormat(const QString &Default);
};

// The picker a local type's format is built with, opened on `format`: the date
// picker for a type whose name holds "DATE", else the time picker for one
// holding "TIME"; the text it returns. nullopt (no picker) for any other type.
std::optional<QString> PickFormat(const QString &localType, const QString &format);
