#pragma once

// The first stage of a catalog import: checks one line of a catalog file
// against the target's catalog (its key sets and data types) and the lines
// accepted before it, reports what it finds, and files the keys of a line
// that passed, so that later lines may refer to it and may not repeat it.

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

#include "catalogkeys.h"

class CConnection;

class CatalogValidator
{
public:
    // Where the reports go; `type` is the record's tag or "?".
    class Report
    {
    public:
        virtual ~Report() = default;
        // Lists an error of the line; false when the run stops at once (nothing
        // more of the line is then checked or filed).
        virtual bool AddError(long line, const QString &type, const QString &description) = 0;
        virtual void AddWarning(long line, const QString &type, const QString &description) = 0;
        virtual void AddPassed(long line, const QString &type, const QString &key) = 0;
        // False when AddPassed keeps nothing (its key text is then not made).
        virtual bool ListsPassed() const { return true; }
    };

    // `connection` gives the data types; `database` the open database of the
    // data source when a query runs.
    CatalogValidator(CatalogKeys &keys, const CConnection &connection, std::function<dao::Database &()> database,
                     Report &report)
        : m_keys(keys), m_connection(connection), m_database(std::move(database)), m_report(report)
    {
    }

    // Checks one line (an empty one is skipped). The only query it may run is
    // the driver check of a DB line, once per driver name and run; a failing
    // query passes up.
    void ValidateLine(long line, const QString &text);

    // The number rule of every number position: empty (a Null), or a whole
    // number from `low` to `high`.
    static bool IsValidNumeric(const QString &value, qint64 low, qint64 high);

private:
    using Set = CatalogKeys::Set;

    void file();
    void field();
    void database();
    void table();
    void column();
    void user();
    void dbprv();
    void tblprv();

    const QString &col(int n) const { return m_fields[n - 1]; }
    // Upper-cases the columns; the line as read stays in m_asRead.
    void upper(std::initializer_list<int> columns);
    // The key parts of the line's row, (column, caption) each, in the order
    // of `set`'s key: an empty one, or one longer than the catalog column it
    // goes into, is the error "Invalid <caption> '<value>' (Col <n>)" (a long
    // value as read); true when there was one.
    bool badKey(Set set, std::initializer_list<std::pair<int, const char *>> parts);
    void error(const QString &description);
    void warning(const QString &description);
    // The passed report, `key()` its key text.
    template <class Key> void passed(const Key &key);
    // When `key` is in `set`: the error `text()` + " in Catalog (Col n)" or
    // " in CSV (Col n)" by the key's mark, and true.
    template <class Text> bool taken(Set set, const QString &key, const Text &text, int column);
    // Each type name is looked up once per run.
    bool isValidLOCDT(const QString &type);
    bool isValidSQLDT(const QString &type);
    bool isValidDriverName(const QString &driver);

    CatalogKeys &m_keys;
    const CConnection &m_connection;
    std::function<dao::Database &()> m_database;
    Report &m_report;
    QHash<QString, bool> m_drivers; // the driver names checked in this run
    QHash<QString, bool> m_localTypes, m_sqlTypes; // the type names checked in this run
    long m_line = 0;
    QString m_type;
    QStringList m_fields;
    QStringList m_asRead; // the fields before the upper-casing
    bool m_erred = false;   // the line has an error
    bool m_stopped = false; // the run stops: nothing more is checked or filed
};
