#include "clocdts.h"

#include "cconnections.h"
#include "csqldts.h"
#include "dao.h"
#include "localtyperules.h"
#include "modstring.h"

namespace {

// The number of an item: "0" followed by its value, converted to 32 bits.
qint32 number(const QString &key, const QString &attributes)
{
    return vb::CLng(QStringLiteral("0") + modString::ExtractAttr(key, attributes));
}

} // namespace

qint32 CLOCDT::DEFAULT_LENGTH() const
{
    const qint32 length = number(QStringLiteral(";DEFAULT_LENGTH="), ATTRIBUTES);
    return length != 0 ? length : number(QStringLiteral(";LENGTH="), ATTRIBUTES);
}

QString CLOCDT::DEFAULT_FORMAT() const
{
    const QString format = modString::ExtractAttr(QStringLiteral(";DEFAULT_FORMAT="), ATTRIBUTES);
    return !format.isEmpty() ? format : modString::ExtractAttr(QStringLiteral(";FORMAT="), ATTRIBUTES);
}

qint32 CLOCDT::DEFAULT_PRECISION() const
{
    const qint32 p = number(QStringLiteral(";DEFAULT_PRECISION="), ATTRIBUTES);
    if (p == 0) {
        const qint32 precision = number(QStringLiteral(";PRECISION="), ATTRIBUTES);
        return precision != 0 ? precision : DEFAULT_LENGTH();
    }
    const QString first = ATTRIBUTES.left(7);
    if (first == QLatin1String(";BINARY")) {
        if (!ATTRIBUTES.contains(QLatin1String(";INTEGER;")))
            return p;
        const qint32 digits =
            localtype::IntegerDigits(DEFAULT_LENGTH(), ATTRIBUTES.contains(QLatin1String(";UNSIGNED;")));
        return digits != 0 ? digits : p;
    }
    if (first == QLatin1String(";PACKED"))
        return 2 * DEFAULT_LENGTH();
    return DEFAULT_LENGTH();
}

void CLOCDTs::FetchDTs(const QString &Datasource)
{
    m_items.Clear();
    const auto connection = gConnections().Item(Datasource);
    if (!connection)
        return;
    const auto rs = connection->db->OpenRecordset(QStringLiteral("SELECT * FROM QN_LOCDT"), dao::dbOpenSnapshot);
    auto text = [&](const char *column) { return rs->Value(QLatin1String(column)).toString(); };
    while (!rs->Eof()) {
        Add(text("LOCAL_TYPE_NAME"), text("SQL_TYPE_NAME"), text("ATTRIBUTES"), text("REMARKS"));
        rs->MoveNext();
    }
}

CLOCDTs::Ptr CLOCDTs::Add(const QString &LOCAL_TYPE_NAME, const QString &SQL_TYPE_NAME, const QString &ATTRIBUTES,
                          const QString &REMARKS)
{
    auto item = std::make_shared<CLOCDT>();
    item->LOCAL_TYPE_NAME = LOCAL_TYPE_NAME;
    item->SQL_TYPE_NAME = SQL_TYPE_NAME;
    item->ATTRIBUTES = ATTRIBUTES;
    item->REMARKS = REMARKS;
    m_items.Add(LOCAL_TYPE_NAME, item);
    return item;
}

CLOCDTs::Ptr CLOCDTs::Item(int position) const
{
    if (position < 1 || position > m_items.Count())
        return {};
    return m_items.Item(position);
}
