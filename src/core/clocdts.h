#pragma once

// The local (storage) data types of a data source, read once from its
// QN_LOCDT when the data source opens, with the defaults derived from their
// attribute strings.

#include <QList>
#include <QString>
#include <memory>

#include "keyedcollection.h"

// One local data type: the four columns of QN_LOCDT as stored, and three
// defaults computed from ATTRIBUTES at every read (read as stored: no ";" is
// added at its ends). A value that is not a number fails with 13.
class CLOCDT
{
public:
    QString LOCAL_TYPE_NAME;
    QString SQL_TYPE_NAME;
    QString ATTRIBUTES;
    QString REMARKS;

    // DEFAULT_PRECISION if nonzero (then BINARY INTEGER digits, PACKED twice
    // the length, or the length), else PRECISION, else DEFAULT_LENGTH.
    qint32 DEFAULT_PRECISION() const;
    // DEFAULT_LENGTH, else LENGTH, else 0.
    qint32 DEFAULT_LENGTH() const;
    // DEFAULT_FORMAT, else FORMAT, else empty.
    QString DEFAULT_FORMAT() const;
};

// The cache: one CLOCDT per row, keyed by LOCAL_TYPE_NAME (any letter case), in
// the order of the query's rows.
class CLOCDTs
{
public:
    using Ptr = std::shared_ptr<CLOCDT>;

    // Replaces the cache by the rows of "SELECT * FROM QN_LOCDT" of the data
    // source (looked up with gConnections().Item). Stops at the first failure
    // (query, duplicate name), which passes up; rows stored before stay.
    void FetchDTs(const QString &Datasource);
    // Stores a new type under LOCAL_TYPE_NAME; 457 when the name is there already.
    Ptr Add(const QString &LOCAL_TYPE_NAME, const QString &SQL_TYPE_NAME, const QString &ATTRIBUTES,
            const QString &REMARKS);
    // Never fails: nothing for a name that is not stored or a position out of range.
    Ptr Item(const QString &name) const { return m_items.Find(name); }
    Ptr Item(int position) const;
    qint32 Count() const { return m_items.Count(); }
    void Remove(const QString &name) { m_items.Remove(name); }
    void Remove(int position) { m_items.Remove(position); }
    // The types in stored order.
    QList<Ptr> NewEnum() const { return m_items.Items(); }

private:
    KeyedCollection<CLOCDT> m_items;
};
