#include "modupdate.h"

#include <QSet>
#include <optional>

#include "cconnections.h"
#include "csqldts.h"
#include "errortrace.h"
#include "moddatabase.h"
#include "mousesleeper.h"
#include "qnapplication.h"
#include "ui.h"

namespace modUpdate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr long kDuplicateKey = 3022;

QStringList g_lastStatements;

// A failure inside a writer, as its handler reports it.
struct WriterFailure
{
    QnError error;
    QString routine;
    QString info;
};

// One rename (or RunUnit) in progress on one data source: its database, its
// transaction, the statements run.
struct Unit
{
    QString ds;
    int eventDepth = 0; // event deliveries under way when it began
    dao::DatabasePtr db;
    bool ownsTransaction = false;
    int depth = 0;       // writer frames open
    QString outerInfo;   // the additional information of the outermost writer when it ended
    QString bodyStatement; // the body's own statement built last (UnitExecute)
    QStringList statements;
    // Without a transaction of its own: the statements that undo what the body
    // wrote (UnitInsert's DELETEs, UnitDelete's INSERTs), and whether it wrote
    // anything else.
    struct UndoStep
    {
        QString sql;
        bool removesInsert; // a DELETE of rows the body inserted
    };
    QList<UndoStep> undo;
    bool wroteWithoutUndo = false;
    bool deletedAgain = false; // the failure's rows were deleted again (deleteInserted)

    Unit(QString dataSource, int events) : ds(std::move(dataSource)), eventDepth(events) {}
    Unit(const Unit &) = delete;
    Unit &operator=(const Unit &) = delete;
    ~Unit()
    {
        if (ownsTransaction && db && db->InTransaction()) {
            try {
                db->Rollback();
            } catch (...) {
            }
        }
    }

    // The data source's open database (connecting it on first use); the first
    // take begins the unit's transaction where the data source has transactions.
    dao::Database &take()
    {
        if (!db) {
            db = gConnections().Db(ds);
            if (db->SupportsTransactions() && !db->InTransaction()) {
                db->BeginTrans();
                ownsTransaction = true;
            }
        }
        return *db;
    }
    // Without a transaction of its own a failure part-way cannot be undone.
    bool undoable() const { return ownsTransaction; }
    // A failed commit closed the connection (see dao::Database) and passes up.
    void commit()
    {
        if (ownsTransaction) {
            db->CommitTrans();
            ownsTransaction = false;
        }
    }
    // Undoes the unit before `error` is reported. A connection that closed on
    // its failure was rolled back by the data source. A rollback that fails
    // closes the connection too; `error` then becomes that ODBC failure, its
    // error list holding the first failure, then the rollback's diagnostics.
    // Without a transaction the kept undo statements run, last first; the
    // error list stays the first failure's. True when nothing written stays.
    bool rollback(QnError &error)
    {
        if (!ownsTransaction)
            return deleteInserted(error);
        ownsTransaction = false;
        const QList<dao::Error> first = dao::Errors::list();
        if (!db->InTransaction())
            return true;
        try {
            db->Rollback();
            dao::Errors::Set(first);
        } catch (const QnError &) {
            QList<dao::Error> list;
            if (error.Number() == qnerr::OdbcCallFailed) {
                list = first;
                if (!list.isEmpty() && list.last().Number == qnerr::OdbcCallFailed)
                    list.removeLast();
            } else {
                list << dao::Error{error.Number(), error.Description(), QStringLiteral("qnadmin"), {}};
            }
            list += dao::Errors::list();
            dao::Errors::Set(list);
            error = QnError(qnerr::OdbcCallFailed, qnerr::standardDescription(qnerr::OdbcCallFailed));
        }
        return true;
    }
    // Without a transaction: deletes again the rows the unit inserted and puts
    // back the rows it deleted, newest first, before `error` is reported (on a
    // new connection when the failure closed the unit's). Every undo statement
    // is tried; those that fail add their diagnostics to the error list and
    // `error` becomes that ODBC failure. True when nothing the body wrote
    // stays; `deletedAgain` when there were inserted rows and every undo ran.
    bool deleteInserted(QnError &error)
    {
        deletedAgain = false;
        if (undo.isEmpty())
            return !wroteWithoutUndo;
        const QList<dao::Error> first = dao::Errors::list();
        QList<dao::Error> failed;
        bool inserted = false;
        for (auto it = undo.crbegin(); it != undo.crend(); ++it) {
            statements << it->sql;
            inserted = inserted || it->removesInsert;
            try {
                gConnections().Hold(db, ds).Execute(it->sql);
            } catch (const QnError &e) {
                QList<dao::Error> list = dao::Errors::list();
                if (list.isEmpty())
                    list << dao::Error{e.Number(), e.Description(), QStringLiteral("qnadmin"), {}};
                failed += list;
            }
        }
        undo.clear();
        if (failed.isEmpty()) {
            dao::Errors::Set(first);
            deletedAgain = inserted;
            return !wroteWithoutUndo;
        }
        QList<dao::Error> list = first;
        if (!list.isEmpty() && list.last().Number == qnerr::OdbcCallFailed)
            list.removeLast();
        if (error.Number() != qnerr::OdbcCallFailed)
            list << dao::Error{error.Number(), error.Description(), QStringLiteral("qnadmin"), {}};
        dao::Errors::Set(list + failed);
        error = QnError(qnerr::OdbcCallFailed, qnerr::standardDescription(qnerr::OdbcCallFailed));
        return false;
    }
};

bool g_lastUnitUndone = true;
bool g_lastUnitDeletedAgain = false;

// The units open, innermost last: one per data source.
std::vector<Unit *> g_units;

class CurrentUnit
{
public:
    explicit CurrentUnit(Unit &unit) { g_units.push_back(&unit); }
    ~CurrentUnit() { g_units.pop_back(); }
    CurrentUnit(const CurrentUnit &) = delete;
    CurrentUnit &operator=(const CurrentUnit &) = delete;
};

// The frame every writer shares: its trace entry, its three statement texts
// (the additional information of its handler), its database.
class Frame
{
public:
    Frame(Unit &unit, const QString &traceName, QString routine, int breaks)
        : m_trace(traceName), m_unit(unit), m_routine(std::move(routine)), m_breaks(breaks)
    {
        ++m_unit.depth;
    }
    ~Frame()
    {
        if (--m_unit.depth == 0)
            m_unit.outerInfo = info();
    }
    Frame(const Frame &) = delete;
    Frame &operator=(const Frame &) = delete;

    QString query, insert, del;

    QString info() const
    {
        const QString breaks = kCrLf.repeated(m_breaks);
        return query + breaks + insert + breaks + del;
    }
    void take() { m_db = &m_unit.take(); }
    std::unique_ptr<dao::Recordset> open(const QString &sql)
    {
        m_unit.statements << sql;
        return m_db->OpenRecordset(sql, dao::dbOpenSnapshot);
    }
    void execute(const QString &sql)
    {
        m_unit.statements << sql;
        m_db->Execute(sql);
        m_unit.wroteWithoutUndo = m_unit.wroteWithoutUndo || !m_unit.undoable();
    }
    // Runs the DELETE and the INSERT. Inside the unit's transaction they run in
    // that order. Without one, a changed key must be free (a driver need not
    // refuse a duplicate key), and the INSERT runs first, so that a failure
    // leaves the row under its old key, its new key or both, never neither; an
    // unchanged key can only be deleted first.
    void rekey(const QString &table, const QString &newCondition, bool changed)
    {
        if (!changed || m_unit.undoable()) {
            execute(del);
            execute(insert);
            return;
        }
        if (!open(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + newCondition)->Eof())
            throw QnError(kDuplicateKey,
                          QStringLiteral("The changes you requested to the table were not successful because they "
                                         "would create duplicate values in the index, primary key, or relationship. "
                                         "Change the data in the field or fields that contain duplicate data, remove "
                                         "the index, or redefine the index to permit duplicate entries and try again."));
        execute(insert);
        execute(del);
    }
    // Runs the writer's steps; a failure leaves as this writer's failure (a
    // failure of a writer it called passes through as that writer's).
    template <class Steps>
    void run(Steps &&steps)
    {
        try {
            steps();
        } catch (const std::exception &) {
            throw WriterFailure{currentFailure(std::current_exception()), m_routine, info()};
        }
    }

private:
    TraceScope m_trace; // pushed first, popped last
    Unit &m_unit;
    QString m_routine;
    int m_breaks;
    dao::Database *m_db = nullptr;
};

// Value forms of the statement texts.
QString text(const QVariant &value) { return modDatabase::Quoted(value); }
// A number argument: "0" and its digits.
QString number(qint32 value) { return vb::ZeroText(value); }
// A number of the row read, checked before it goes into the statement.
using modDatabase::NumberForm;
QString stored(const dao::Recordset &rs, const QString &column, NumberForm form = NumberForm::ZeroPrefixed)
{
    return modDatabase::StoredNumberSQL(rs.Value(column), column, form);
}

// A value of a walked row passed to a writer's argument. A Null fails (and the
// unit is undone); where nothing can be undone it reads as '' or 0, so that the
// cascade completes instead of leaving children under the old key.
QString textArg(const Unit &u, const QVariant &value)
{
    if (value.isNull() && u.undoable())
        qnerr::raise(qnerr::InvalidUseOfNull);
    return value.toString();
}
qint32 longArg(const Unit &u, const QVariant &value)
{
    if (value.isNull()) {
        if (u.undoable())
            qnerr::raise(qnerr::InvalidUseOfNull);
        return 0;
    }
    return vb::CLng(vb::ZeroText(value).mid(1));
}

// ------------------------------------------------------------------ the writers

void doUpdateField(Unit &u, const QString &OldFile, const QString &NewFile,
                   const QString &OldField, const QString &NewField, qint32 Offset)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateField"), QStringLiteral("modUpdate.UpdateField"), 2);
    CMouseSleeper sleeper;
    f.run([&] {
        f.take();
        auto key = [](const QString &file, const QString &field) {
            return QStringLiteral("FILE_NAME = ") + text(file) + QStringLiteral(" AND FIELD_NAME = ") + text(field);
        };
        f.query = QStringLiteral("SELECT * FROM QN_FIELD WHERE ") + key(OldFile, OldField);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_FIELD WHERE ") + key(OldFile, OldField);
        f.insert = QStringLiteral("INSERT INTO QN_FIELD (FILE_NAME, FIELD_NUMBER, FIELD_NAME, LOCAL_TYPE_NAME, OFFSET, "
                                  "LENGTH, PRECISION, SCALE, ENCRYPTED, FORMAT, DEFAULT_VALUE, REMARKS) VALUES (") +
                   text(NewFile) + QStringLiteral(", ") + stored(*rs, QStringLiteral("FIELD_NUMBER")) +
                   QStringLiteral(", ") + text(NewField) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("LOCAL_TYPE_NAME"))) + QStringLiteral(", ") + number(Offset) +
                   QStringLiteral(", ") + stored(*rs, QStringLiteral("LENGTH")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("PRECISION")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("SCALE")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ENCRYPTED")) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("FORMAT"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("DEFAULT_VALUE"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_FIELD"), key(NewFile, NewField), OldFile != NewFile || OldField != NewField);
        // The tables over the file, each with its database: only their columns follow.
        f.query = QStringLiteral("SELECT DATABASE_NAME, TABLE_NAME FROM QN_TABLE WHERE FILE_NAME=") + text(NewFile);
        const auto tables = f.open(f.query);
        while (!tables->Eof()) {
            f.query = QStringLiteral("UPDATE QN_COLUMN SET FIELD_NAME = ") + text(NewField) +
                      QStringLiteral(" WHERE FIELD_NAME = ") + text(OldField) + QStringLiteral(" AND TABLE_NAME = ") +
                      text(tables->Value(QStringLiteral("TABLE_NAME"))) + QStringLiteral(" AND DATABASE_NAME = ") +
                      text(tables->Value(QStringLiteral("DATABASE_NAME")));
            f.execute(f.query);
            tables->MoveNext();
        }
    });
}

void doUpdateFile(Unit &u, const QString &OldFile, const QString &NewFile)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateFile"), QStringLiteral("modUpdate.UpdateFile"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &file) { return QStringLiteral("FILE_NAME = ") + text(file); };
        f.query = QStringLiteral("SELECT * FROM QN_FILE WHERE ") + key(OldFile);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_FILE WHERE ") + key(OldFile);
        f.insert = QStringLiteral("INSERT INTO QN_FILE (FILE_NAME, OPEN_STRING, RECORD_SIZE, FILE_ORGANISATION, "
                                  "RECORD_TYPE, REMARKS) VALUES (") +
                   text(NewFile) + QStringLiteral(", ") + text(rs->Value(QStringLiteral("OPEN_STRING"))) +
                   QStringLiteral(", ") + stored(*rs, QStringLiteral("RECORD_SIZE")) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("FILE_ORGANISATION"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("RECORD_TYPE"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_FILE"), key(NewFile), OldFile != NewFile);
        f.query = QStringLiteral("UPDATE QN_TABLE SET FILE_NAME = ") + text(NewFile) +
                  QStringLiteral(" WHERE FILE_NAME = ") + text(OldFile);
        f.execute(f.query);
        f.query = QStringLiteral("SELECT FIELD_NAME, OFFSET FROM QN_FIELD WHERE FILE_NAME = ") + text(OldFile);
        const auto fields = f.open(f.query);
        while (!fields->Eof()) {
            const QString field = textArg(u, fields->Value(QStringLiteral("FIELD_NAME")));
            const qint32 offset = longArg(u, fields->Value(QStringLiteral("OFFSET")));
            doUpdateField(u, OldFile, NewFile, field, field, offset);
            fields->MoveNext();
        }
    });
}

void doUpdateTBLPRV(Unit &u, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                    const QString &NewTable, const QString &OldUser, const QString &NewUser)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateTBLPRV"), QStringLiteral("modUpdate.UpdateTBLPRV"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &user, const QString &db, const QString &table) {
            return QStringLiteral("USER_NAME = ") + text(user) + QStringLiteral(" AND DATABASE_NAME = ") + text(db) +
                   QStringLiteral(" AND TABLE_NAME = ") + text(table);
        };
        f.query = QStringLiteral("SELECT * FROM QN_TBLPRV WHERE ") + key(OldUser, OldDb, OldTable);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_TBLPRV WHERE ") + key(OldUser, OldDb, OldTable);
        f.insert = QStringLiteral("INSERT INTO QN_TBLPRV (DATABASE_NAME, TABLE_NAME, USER_NAME, ALLOW_SELECT, "
                                  "ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, REMARKS) VALUES (") +
                   text(NewDb) + QStringLiteral(", ") + text(NewTable) + QStringLiteral(", ") + text(NewUser) +
                   QStringLiteral(", ") + stored(*rs, QStringLiteral("ALLOW_SELECT")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_INSERT")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_UPDATE")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_DELETE")) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_TBLPRV"), key(NewUser, NewDb, NewTable),
                    OldUser != NewUser || OldDb != NewDb || OldTable != NewTable);
    });
}

void doUpdateDBPRV(Unit &u, const QString &OldDb, const QString &NewDb, const QString &OldUser,
                   const QString &NewUser)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateDBPRV"), QStringLiteral("modUpdate.UpdateDB"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &db, const QString &user) {
            return QStringLiteral("DATABASE_NAME = ") + text(db) + QStringLiteral(" AND USER_NAME = ") + text(user) +
                   QLatin1Char(' ');
        };
        f.query = QStringLiteral("SELECT * FROM QN_DBPRV WHERE ") + key(OldDb, OldUser);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_DBPRV WHERE ") + key(OldDb, OldUser);
        f.insert = QStringLiteral("INSERT INTO QN_DBPRV (USER_NAME, DATABASE_NAME, DATABASE_USERNAME, "
                                  "DATABASE_PASSWORD, ALLOW_SELECT, ALLOW_INSERT, ALLOW_UPDATE, ALLOW_DELETE, "
                                  "SECURITY_LEVEL, REMARKS) VALUES (") +
                   text(NewUser) + QStringLiteral(", ") + text(NewDb) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("DATABASE_USERNAME"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("DATABASE_PASSWORD"))) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_SELECT")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_INSERT")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_UPDATE")) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("ALLOW_DELETE")) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("SECURITY_LEVEL"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_DBPRV"), key(NewDb, NewUser), OldDb != NewDb || OldUser != NewUser);
        // The same user's table privileges in the old database only.
        f.query = QStringLiteral("SELECT TABLE_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = ") + text(OldDb) +
                  QStringLiteral(" AND USER_NAME = ") + text(OldUser);
        const auto privileges = f.open(f.query);
        while (!privileges->Eof()) {
            const QString table = textArg(u, privileges->Value(QStringLiteral("TABLE_NAME")));
            doUpdateTBLPRV(u, OldDb, NewDb, table, table, OldUser, NewUser);
            privileges->MoveNext();
        }
    });
}

void doUpdateColumn(Unit &u, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                    const QString &NewTable, const QString &OldColumn, const QString &NewColumn, qint32 COLUMN_TYPE,
                    qint32 COLUMN_NUMBER, const QString &FIELD_NAME)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateColumn"), QStringLiteral("modUpdate.UpdateColumn"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &db, const QString &table, const QString &column) {
            return QStringLiteral("DATABASE_NAME = ") + text(db) + QStringLiteral(" AND TABLE_NAME = ") + text(table) +
                   QStringLiteral(" AND COLUMN_NAME = ") + text(column);
        };
        f.query = QStringLiteral("SELECT * FROM QN_COLUMN WHERE ") + key(OldDb, OldTable, OldColumn);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_COLUMN WHERE ") + key(OldDb, OldTable, OldColumn);
        QString values = text(NewDb) + QStringLiteral(", ") + text(NewTable) + QStringLiteral(", ") +
                         number(COLUMN_NUMBER) + QStringLiteral(", ") + text(NewColumn) + QStringLiteral(", ") +
                         text(FIELD_NAME) + QStringLiteral(", ") + text(rs->Value(QStringLiteral("SQL_TYPE_NAME")));
        for (const char *column : {"LENGTH", "PRECISION", "SCALE", "NULLABLE", "UNSIGNED_ATTRIBUTE", "UPDATABLE",
                                   "VISIBLE", "MONEY", "AUTO_INCREMENT", "CASE_SENSITIVE", "SEARCHABLE", "RADIX"})
            values += QStringLiteral(", ") + stored(*rs, QLatin1String(column), NumberForm::Bare);
        values += QStringLiteral(", ") + text(rs->Value(QStringLiteral("DEFAULT_VALUE"))) + QStringLiteral(", ") +
                  text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(", ") +
                  stored(*rs, QStringLiteral("SETFILEPARAMETER"), NumberForm::Bare) + QStringLiteral(", ") +
                  QString::number(COLUMN_TYPE) + QStringLiteral(", ") +
                  text(rs->Value(QStringLiteral("DISPLAY_NAME")));
        f.insert = QStringLiteral("INSERT INTO QN_COLUMN (DATABASE_NAME, TABLE_NAME, COLUMN_NUMBER, COLUMN_NAME, "
                                  "FIELD_NAME, SQL_TYPE_NAME, LENGTH, PRECISION, SCALE, NULLABLE, UNSIGNED_ATTRIBUTE, "
                                  "UPDATABLE, VISIBLE, MONEY, AUTO_INCREMENT, CASE_SENSITIVE, SEARCHABLE, RADIX, "
                                  "DEFAULT_VALUE, REMARKS, SETFILEPARAMETER, COLUMN_TYPE, DISPLAY_NAME) VALUES (") +
                   values + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_COLUMN"), key(NewDb, NewTable, NewColumn),
                    OldDb != NewDb || OldTable != NewTable || OldColumn != NewColumn);
    });
}

void doUpdateTable(Unit &u, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                   const QString &NewTable)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateTable"), QStringLiteral("modUpdate.UpdateTable"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &db, const QString &table) {
            return QStringLiteral("DATABASE_NAME = ") + text(db) + QStringLiteral(" AND TABLE_NAME = ") + text(table);
        };
        f.query = QStringLiteral("SELECT * FROM QN_TABLE WHERE ") + key(OldDb, OldTable);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_TABLE WHERE ") + key(OldDb, OldTable);
        f.insert = QStringLiteral("INSERT INTO QN_TABLE (DATABASE_NAME, TABLE_NAME, TABLE_TYPE, FILE_NAME, "
                                  "FILE_SPECIFICATION, NUMBER_COLUMNS, CRITERIA, REMARKS, DISPLAY_NAME) VALUES (") +
                   text(NewDb) + QStringLiteral(", ") + text(NewTable) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("TABLE_TYPE"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("FILE_NAME"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("FILE_SPECIFICATION"))) + QStringLiteral(", ") +
                   stored(*rs, QStringLiteral("NUMBER_COLUMNS")) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("CRITERIA"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(", ") + text(NewTable) +
                   QStringLiteral(")");
        f.rekey(QStringLiteral("QN_TABLE"), key(NewDb, NewTable), OldDb != NewDb || OldTable != NewTable);
        f.query = QStringLiteral("SELECT COLUMN_TYPE, COLUMN_NUMBER, COLUMN_NAME, FIELD_NAME FROM QN_COLUMN WHERE "
                                 "DATABASE_NAME = ") +
                  text(OldDb) + QStringLiteral(" AND TABLE_NAME = ") + text(OldTable);
        const auto columns = f.open(f.query);
        while (!columns->Eof()) {
            const qint32 type = longArg(u, columns->Value(QStringLiteral("COLUMN_TYPE")));
            const qint32 columnNumber = longArg(u, columns->Value(QStringLiteral("COLUMN_NUMBER")));
            const QString column = textArg(u, columns->Value(QStringLiteral("COLUMN_NAME")));
            const QString field = textArg(u, columns->Value(QStringLiteral("FIELD_NAME")));
            doUpdateColumn(u, OldDb, NewDb, OldTable, NewTable, column, column, type, columnNumber, field);
            columns->MoveNext();
        }
        f.query = QStringLiteral("SELECT USER_NAME FROM QN_TBLPRV WHERE DATABASE_NAME = ") + text(OldDb) +
                  QStringLiteral(" AND TABLE_NAME = ") + text(OldTable);
        const auto privileges = f.open(f.query);
        while (!privileges->Eof()) {
            const QString user = textArg(u, privileges->Value(QStringLiteral("USER_NAME")));
            doUpdateTBLPRV(u, OldDb, NewDb, OldTable, NewTable, user, user);
            privileges->MoveNext();
        }
    });
}

void doUpdateDatabase(Unit &u, const QString &OldDb, const QString &NewDb)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateDatabase"), QStringLiteral("modUpdate.UpdateDB"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &db) { return QStringLiteral("DATABASE_NAME = ") + text(db) + QLatin1Char(' '); };
        f.query = QStringLiteral("SELECT * FROM QN_DB WHERE ") + key(OldDb);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_DB WHERE ") + key(OldDb);
        f.insert = QStringLiteral("INSERT INTO QN_DB (DATABASE_NAME, DEFAULT_DIRECTORY, DRIVER_NAME, SETUP_PROCEDURE, "
                                  "CONNECT_STRING, REMARKS, DISPLAY_NAME) VALUES (") +
                   text(NewDb) + QStringLiteral(", ") + text(rs->Value(QStringLiteral("DEFAULT_DIRECTORY"))) +
                   QStringLiteral(", ") + text(rs->Value(QStringLiteral("DRIVER_NAME"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("SETUP_PROCEDURE"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("CONNECT_STRING"))) + QStringLiteral(", ") +
                   text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(", ") + text(NewDb) +
                   QStringLiteral(")");
        f.rekey(QStringLiteral("QN_DB"), key(NewDb), OldDb != NewDb);
        f.query = QStringLiteral("SELECT TABLE_NAME FROM QN_TABLE WHERE DATABASE_NAME = ") + text(OldDb);
        const auto tables = f.open(f.query);
        while (!tables->Eof()) {
            const QString table = textArg(u, tables->Value(QStringLiteral("TABLE_NAME")));
            doUpdateTable(u, OldDb, NewDb, table, table);
            tables->MoveNext();
        }
        f.query = QStringLiteral("SELECT USER_NAME FROM QN_DBPRV WHERE DATABASE_NAME = ") + text(OldDb) +
                  QLatin1Char(' ');
        const auto privileges = f.open(f.query);
        while (!privileges->Eof()) {
            const QString user = textArg(u, privileges->Value(QStringLiteral("USER_NAME")));
            doUpdateDBPRV(u, OldDb, NewDb, user, user);
            privileges->MoveNext();
        }
    });
}

void doUpdateUser(Unit &u, const QString &OldUser, const QString &NewUser)
{
    Frame f(u, QStringLiteral("modUpdate.UpdateUser"), QStringLiteral("modUpdate.UpdateUser"), 1);
    f.run([&] {
        f.take();
        auto key = [](const QString &user) { return QStringLiteral("USER_NAME = ") + text(user); };
        f.query = QStringLiteral("SELECT * FROM QN_USER WHERE ") + key(OldUser);
        const auto rs = f.open(f.query);
        f.del = QStringLiteral("DELETE FROM QN_USER WHERE ") + key(OldUser);
        f.insert = QStringLiteral("INSERT INTO QN_USER (USER_NAME, USER_PASSWORD, REMARKS) VALUES (") + text(NewUser) +
                   QStringLiteral(", '', ") + text(rs->Value(QStringLiteral("REMARKS"))) + QStringLiteral(")");
        f.rekey(QStringLiteral("QN_USER"), key(NewUser), OldUser != NewUser);
        f.query = QStringLiteral("SELECT DATABASE_NAME FROM QN_DBPRV WHERE USER_NAME = ") + text(OldUser);
        const auto privileges = f.open(f.query);
        while (!privileges->Eof()) {
            const QString db = textArg(u, privileges->Value(QStringLiteral("DATABASE_NAME")));
            doUpdateDBPRV(u, db, db, OldUser, NewUser);
            privileges->MoveNext();
        }
    });
}

// ------------------------------------------------------------------ the unit

// Runs `body` as one unit on `ds`, or inside the unit of `ds` already running.
// A failure rolls back and asks the error dialog: Retry runs the body again,
// Ignore gives false. A failure outside any writer is reported as `routine`
// with `info`, or, when `info` is null, with the additional information of the
// outermost writer.
//
// While a unit runs, a unit started from an event (the body yields to the event
// loop) is refused with a beep and nothing written. A unit of another data
// source started by the body itself runs as a unit of its own and commits on
// its own.
bool runUnit(const QString &ds, const QString &routine, const QString &info, bool connectFirst,
             const std::function<void(Unit &)> &body)
{
    if (!g_units.empty()) {
        Unit &current = *g_units.back();
        if (QnApplication::EventDepth() > current.eventDepth) {
            Ui().Beep();
            return false;
        }
        if (CConnections::SameName(current.ds, ds)) {
            body(current);
            return true;
        }
        for (const Unit *open : g_units)
            if (CConnections::SameName(open->ds, ds))
                qnerr::raise(qnerr::InvalidProcedureCall,
                             QStringLiteral("%1 is already being changed by an outer unit, which a unit of another "
                                            "data source cannot join.")
                                 .arg(ds));
    }
    // Until it returns, its error dialog and every Retry included, the unit
    // holds the work that a close of the main window waits for.
    const WorkInProgress running;
    const qsizetype depth = gErrorTrace().Count();
    for (;;) {
        Unit unit(ds, QnApplication::EventDepth());
        std::optional<WriterFailure> failure;
        {
            CurrentUnit current(unit);
            try {
                if (connectFirst) {
                    const auto connection = gConnections().Item(ds);
                    if (!connection || !connection->db)
                        return false;
                    unit.take();
                }
                body(unit);
                unit.commit();
                g_lastStatements = unit.statements;
                g_lastUnitUndone = true;
                g_lastUnitDeletedAgain = false;
                return true;
            } catch (const WriterFailure &f) {
                failure = f;
            } catch (const std::exception &) {
                failure = WriterFailure{currentFailure(std::current_exception()), routine,
                                        !unit.bodyStatement.isEmpty() ? unit.bodyStatement
                                        : info.isNull()               ? unit.outerInfo
                                                                      : info};
            }
        }
        g_lastUnitUndone = unit.rollback(failure->error);
        g_lastUnitDeletedAgain = unit.deletedAgain;
        g_lastStatements = unit.statements;
        const int answer = ReportFailure(failure->error, failure->routine, failure->info);
        while (gErrorTrace().Count() > depth)
            gErrorTrace().Pop();
        if (answer == ui::vbRetry)
            continue;
        if (answer == ui::vbIgnore)
            return false;
        AbortProgram();
    }
}

} // namespace

bool UpdateFile(const QString &ds, const QString &OldFile, const QString &NewFile)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateFile"), QString(), false,
                   [&](Unit &u) { doUpdateFile(u, OldFile, NewFile); });
}

bool UpdateField(const QString &ds, const QString &OldFile, const QString &NewFile, const QString &OldField,
                 const QString &NewField, qint32 Offset)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateField"), QString(), false,
                   [&](Unit &u) { doUpdateField(u, OldFile, NewFile, OldField, NewField, Offset); });
}

bool UpdateDatabase(const QString &ds, const QString &OldDb, const QString &NewDb)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateDB"), QString(), false,
                   [&](Unit &u) { doUpdateDatabase(u, OldDb, NewDb); });
}

bool UpdateTable(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                 const QString &NewTable)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateTable"), QString(), false,
                   [&](Unit &u) { doUpdateTable(u, OldDb, NewDb, OldTable, NewTable); });
}

bool UpdateColumn(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                  const QString &NewTable, const QString &OldColumn, const QString &NewColumn, qint32 COLUMN_TYPE,
                  qint32 COLUMN_NUMBER, const QString &FIELD_NAME)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateColumn"), QString(), false, [&](Unit &u) {
        doUpdateColumn(u, OldDb, NewDb, OldTable, NewTable, OldColumn, NewColumn, COLUMN_TYPE, COLUMN_NUMBER,
                       FIELD_NAME);
    });
}

bool UpdateUser(const QString &ds, const QString &OldUser, const QString &NewUser)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateUser"), QString(), false,
                   [&](Unit &u) { doUpdateUser(u, OldUser, NewUser); });
}

bool UpdateDBPRV(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldUser,
                 const QString &NewUser)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateDB"), QString(), false,
                   [&](Unit &u) { doUpdateDBPRV(u, OldDb, NewDb, OldUser, NewUser); });
}

bool UpdateTBLPRV(const QString &ds, const QString &OldDb, const QString &NewDb, const QString &OldTable,
                  const QString &NewTable, const QString &OldUser, const QString &NewUser)
{
    return runUnit(ds, QStringLiteral("modUpdate.UpdateTBLPRV"), QString(), false,
                   [&](Unit &u) { doUpdateTBLPRV(u, OldDb, NewDb, OldTable, NewTable, OldUser, NewUser); });
}

bool RunUnit(const QString &ds, const QString &routine, const std::function<void()> &body,
             const QString &additionalInfo)
{
    return runUnit(ds, routine, additionalInfo.isNull() ? QStringLiteral("None") : additionalInfo, true,
                   [&](Unit &) { body(); });
}

// The database of the innermost unit, for the body's own statement `sql` (recorded).
static dao::Database &bodyDatabase(const QString &sql)
{
    if (g_units.empty())
        qnerr::raise(qnerr::ObjectNotSet);
    Unit &unit = *g_units.back();
    unit.bodyStatement = sql;
    dao::Database &db = unit.take();
    unit.statements << sql;
    return db;
}

// Runs the body's statement `sql`; without a transaction `undo` is kept to
// undo it (`removesInsert`: DELETEs of the rows it inserted), and a statement
// without one leaves the unit unable to undo all it wrote.
static long bodyWrite(const QString &sql, const QStringList *undo, bool removesInsert = false)
{
    dao::Database &db = bodyDatabase(sql);
    db.Execute(sql);
    Unit &unit = *g_units.back();
    if (!undo)
        unit.wroteWithoutUndo = unit.wroteWithoutUndo || !unit.undoable();
    else if (!unit.undoable())
        for (const QString &statement : *undo)
            unit.undo << Unit::UndoStep{statement, removesInsert};
    return db.RecordsAffected();
}

long UnitExecute(const QString &sql) { return bodyWrite(sql, nullptr); }

long UnitInsert(const QString &sql, const QString &undo)
{
    const QStringList undoing{undo};
    return bodyWrite(sql, &undoing, true);
}

long UnitDelete(const QString &sql, const QStringList &undo) { return bodyWrite(sql, &undo); }

std::unique_ptr<dao::Recordset> UnitOpen(const QString &sql)
{
    return bodyDatabase(sql).OpenRecordset(sql, dao::dbOpenSnapshot);
}

long UnitExecuteFound(const QString &sql)
{
    const long changed = UnitExecute(sql);
    if (changed == 0)
        qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
    return changed;
}

void UnitRequireRow(const QString &sql)
{
    if (UnitOpen(sql)->Eof())
        qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
}

void UnitRequireRows(const QString &sql, const QStringList &columns, const QList<QVariantList> &rows)
{
    // A row's values as one text, a Null told from every text.
    const auto signature = [](const auto &valueAt, qsizetype count) {
        QString text;
        for (qsizetype i = 0; i < count; ++i) {
            const QVariant value = valueAt(i);
            if (value.isNull()) {
                text += QLatin1Char('N');
            } else {
                const QString shown = value.toString();
                text += QLatin1Char('V') + QString::number(shown.size()) + QLatin1Char(':') + shown;
            }
        }
        return text;
    };
    const auto rs = UnitOpen(sql);
    QList<int> at;
    for (const QString &column : columns) {
        (void)rs->GetFields()(column); // 3265 when the rows lack it
        at << rs->GetFields().IndexOf(column);
    }
    QSet<QString> found;
    for (long row = 0; row < rs->RecordCount(); ++row)
        found.insert(signature([&](qsizetype i) { return rs->Cell(row, at[i]); }, at.size()));
    for (const QVariantList &row : rows)
        if (!found.contains(signature([&](qsizetype i) { return row.value(i); }, at.size())))
            qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
}

static int g_workInProgress = 0;

WorkInProgress::WorkInProgress() { ++g_workInProgress; }

WorkInProgress::~WorkInProgress() { --g_workInProgress; }

bool UnitRunning() { return !g_units.empty() || g_workInProgress > 0; }

QStringList LastStatements() { return g_lastStatements; }

bool LastUnitUndone() { return g_lastUnitUndone; }

bool LastUnitDeletedAgain() { return g_lastUnitDeletedAgain; }

} // namespace modUpdate
