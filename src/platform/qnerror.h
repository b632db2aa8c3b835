#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one failure type of the program: the platform's error number and description.
class QnError : public std::exception
{
public:
    QnError(long number, QString description, QString source = {})
        : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
          m_what(QString::number(m_number).toUtf8() + ": " + m_description.toUtf8())
    {
    }
    const char *what() const noexcept override { return m_what.constData(); }
    long Number() const { return m_number; }
    const QString &Description() const { return m_description; }
    const QString &Source() const { return m_source; }

private:
    long m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};

// Error numbers the program treats by name.
namespace qnerr {
constexpr long InvalidProcedureCall = 5;
constexpr long Overflow = 6;
constexpr long OutOfMemory = 7;
constexpr long SubscriptOutOfRange = 9;
constexpr long TypeMismatch = 13;
constexpr long InternalError = 51;
constexpr long ObjectNotSet = 91;
constexpr long InvalidUseOfNull = 94;
constexpr long ObjectDoesntSupport = 438;
constexpr long KeyAlreadyAssociated = 457;
constexpr long NoCurrentRecord = 3021;
constexpr long ConnectCancelled = 3059;
constexpr long OdbcCallFailed = 3146;
constexpr long FileDialogCancelled = 32755;
// A value that failed its input check before any statement ran.
constexpr long ValidationFailed = 380;

[[noreturn]] void raise(long number, const QString &description = {});
QString standardDescription(long number);
} // namespace qnerr
