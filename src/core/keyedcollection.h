#pragma once

// The keyed collection behind CConnections, CSQLDTs and CLOCDTs: members kept
// in the order of adding, each under a text key compared without regard to
// letter case, and addressable by position counted from 1.

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

#include "qnerror.h"

template <class T>
class KeyedCollection
{
public:
    using Ptr = std::shared_ptr<T>;

    // Fails with 457 when the key is already there.
    void Add(const QString &key, Ptr item)
    {
        QString folded = key.toCaseFolded();
        if (m_index.contains(folded))
            qnerr::raise(qnerr::KeyAlreadyAssociated);
        m_index.insert(std::move(folded), qsizetype(m_entries.size()));
        m_entries.push_back({key, std::move(item)});
    }
    // Fails with 5 when the key is not there.
    const Ptr &Item(const QString &key) const
    {
        const qsizetype i = indexOf(key);
        if (i < 0)
            qnerr::raise(qnerr::InvalidProcedureCall);
        return m_entries[size_t(i)].item;
    }
    // Fails with 9 when the position (from 1) is out of range.
    const Ptr &Item(int position) const { return m_entries[size_t(checked(position))].item; }
    // Nothing when the key is not there.
    Ptr Find(const QString &key) const
    {
        const qsizetype i = indexOf(key);
        return i < 0 ? Ptr() : m_entries[size_t(i)].item;
    }
    bool Contains(const QString &key) const { return indexOf(key) >= 0; }
    const QString &Key(int position) const { return m_entries[size_t(checked(position))].key; }
    qint32 Count() const { return qint32(m_entries.size()); }
    void Remove(const QString &key)
    {
        const qsizetype i = indexOf(key);
        if (i < 0)
            qnerr::raise(qnerr::InvalidProcedureCall);
        erase(i);
    }
    void Remove(int position) { erase(checked(position)); }
    void Clear()
    {
        m_entries.clear();
        m_index.clear();
    }
    // The members in the order of adding.
    QList<Ptr> Items() const
    {
        QList<Ptr> list;
        list.reserve(qsizetype(m_entries.size()));
        for (const Entry &e : m_entries)
            list.append(e.item);
        return list;
    }

private:
    struct Entry
    {
        QString key;
        Ptr item;
    };
    qsizetype indexOf(const QString &key) const { return m_index.value(key.toCaseFolded(), -1); }
    void erase(qsizetype i)
    {
        m_index.remove(m_entries[size_t(i)].key.toCaseFolded());
        m_entries.erase(m_entries.begin() + i);
        for (size_t j = size_t(i); j < m_entries.size(); ++j)
            m_index[m_entries[j].key.toCaseFolded()] = qsizetype(j);
    }
    qsizetype checked(int position) const
    {
        if (position < 1 || size_t(position) > m_entries.size())
            qnerr::raise(qnerr::SubscriptOutOfRange);
        return qsizetype(position - 1);
    }
    std::vector<Entry> m_entries;
    QHash<QString, qsizetype> m_index; // case-folded key -> index into m_entries
};
