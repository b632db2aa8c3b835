#pragma once

// The SQL data types of a data source, read once from its QN_SQLDT when the
// data source opens.

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

#include "keyedcollection.h"

// Number conversions as catalog numbers are read: "0" put in front of
// the value's text and converted (CLng/CInt): a Null reads as 0, a decimal is
// rounded half to even, a text that is not a number (so also a negative value,
// "0-5") fails with 13, a value out of range with 6.
namespace vb {
qint32 CLng(const QString &text);
qint16 CInt(const QString &text);
// The value's text behind a "0": "0" for Null, "012" for 12, "0-3" for -3.
QString ZeroText(const QVariant &value);
} // namespace vb

// One SQL data type: one field per column of QN_SQLDT, as stored.
struct CSQLDT
{
    QString SQL_TYPE_NAME;
    QString SQL_DATA_TYPE; // the column's value as text
    qint32 Length = 0;
    qint32 PRECISION = 0;
    QString LITERAL_PREFIX;
    QString LITERAL_SUFFIX;
    QString CREATE_PARAMS;
    qint16 NULLABLE = 0;
    qint16 CASE_SENSITIVE = 0;
    qint16 SEARCHABLE = 0;
    qint16 UNSIGNED_ATTRIBUTE = 0;
    qint16 MONEY = 0;
    qint16 AUTO_INCREMENT = 0;
    qint16 RADIX = 0;
    QString LOCAL_TYPE_NAME;
    QString REMARKS;
};

// The cache: one CSQLDT per row, keyed by SQL_TYPE_NAME (any letter case), in
// the order of the query's rows.
class CSQLDTs
{
public:
    using Ptr = std::shared_ptr<CSQLDT>;

    // Replaces the cache by the rows of "SELECT * FROM QN_SQLDT" of the data
    // source (looked up with gConnections().Item). Stops at the first failure
    // (query, conversion, duplicate name), which passes up; rows stored before stay.
    void FetchDTs(const QString &Datasource);
    // Stores a copy under its SQL_TYPE_NAME; 457 when the name is there already.
    Ptr Add(const CSQLDT &type);
    // Fails with 5 for a name that is not stored, 9 for a position out of range.
    Ptr Item(const QString &name) const { return m_items.Item(name); }
    // Never fails: nothing for a name that is not stored.
    Ptr Find(const QString &name) const { return m_items.Find(name); }
    Ptr Item(int position) const { return m_items.Item(position); }
    qint32 Count() const { return m_items.Count(); }
    void Remove(const QString &name) { m_items.Remove(name); }
    void Remove(int position) { m_items.Remove(position); }
    // The types in stored order.
    QList<Ptr> NewEnum() const { return m_items.Items(); }

private:
    KeyedCollection<CSQLDT> m_items;
};
