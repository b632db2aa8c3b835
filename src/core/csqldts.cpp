#include "csqldts.h"

#include <QRegularExpression>
#include <cmath>

#include "cconnections.h"
#include "dao.h"

namespace vb {

namespace {

// The number a text stands for, as CLng/CInt read it: blanks around it, an
// optional sign, digits with an optional decimal part and exponent.
double parse(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        qnerr::raise(qnerr::TypeMismatch);
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        qnerr::raise(qnerr::TypeMismatch);
    return value;
}

qint64 rounded(double value, qint64 min, qint64 max)
{
    if (!std::isfinite(value))
        qnerr::raise(qnerr::Overflow);
    const double r = std::nearbyint(value); // half to even in the default rounding mode
    if (r < double(min) || r > double(max))
        qnerr::raise(qnerr::Overflow);
    return qint64(r);
}

QString valueText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

} // namespace

qint32 CLng(const QString &text) { return qint32(rounded(parse(text), INT32_MIN, INT32_MAX)); }

qint16 CInt(const QString &text) { return qint16(rounded(parse(text), INT16_MIN, INT16_MAX)); }

QString ZeroText(const QVariant &value)
{
    return QStringLiteral("0") + (value.isNull() ? QString() : valueText(value));
}

} // namespace vb

void CSQLDTs::FetchDTs(const QString &Datasource)
{
    m_items.Clear();
    const auto connection = gConnections().Item(Datasource);
    if (!connection)
        return;
    const auto rs = connection->db->OpenRecordset(QStringLiteral("SELECT * FROM QN_SQLDT"), dao::dbOpenSnapshot);
    auto text = [&](const char *column) { return rs->Value(QLatin1String(column)).toString(); };
    auto lng = [&](const char *column) { return vb::CLng(vb::ZeroText(rs->Value(QLatin1String(column)))); };
    auto integer = [&](const char *column) { return vb::CInt(vb::ZeroText(rs->Value(QLatin1String(column)))); };
    while (!rs->Eof()) {
        CSQLDT type;
        type.SQL_TYPE_NAME = text("SQL_TYPE_NAME");
        type.SQL_DATA_TYPE = text("SQL_DATA_TYPE");
        type.Length = lng("LENGTH");
        type.PRECISION = lng("PRECISION");
        type.LITERAL_PREFIX = text("LITERAL_PREFIX");
        type.LITERAL_SUFFIX = text("LITERAL_SUFFIX");
        type.CREATE_PARAMS = text("CREATE_PARAMS");
        type.NULLABLE = integer("NULLABLE");
        type.CASE_SENSITIVE = integer("CASE_SENSITIVE");
        type.SEARCHABLE = integer("SEARCHABLE");
        type.UNSIGNED_ATTRIBUTE = integer("UNSIGNED_ATTRIBUTE");
        type.MONEY = integer("MONEY");
        type.AUTO_INCREMENT = integer("AUTO_INCREMENT");
        type.RADIX = integer("RADIX");
        type.LOCAL_TYPE_NAME = text("LOCAL_TYPE_NAME");
        type.REMARKS = text("REMARKS");
        Add(type);
        rs->MoveNext();
    }
}

CSQLDTs::Ptr CSQLDTs::Add(const CSQLDT &type)
{
    auto item = std::make_shared<CSQLDT>(type);
    m_items.Add(item->SQL_TYPE_NAME, item);
    return item;
}
