#include "dragops.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <functional>
#include <optional>

#include "core/copyrows.h"
#include "core/cconnections.h"
#include "core/errortrace.h"
#include "core/moddatabase.h"
#include "core/modupdate.h"
#include "core/mousesleeper.h"
#include "copydialog.h"
#include "dragkinds.h"
#include "frmmovecopy.h"
#include "frmyestoall.h"
#include "settings.h"
#include "tree/explorer.h"
#include "tree/explorerwindow.h"
#include "ui.h"

using namespace dragkinds;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString quoted(const QVariant &value) { return modDatabase::Quoted(value); }
QString number(const QVariant &value, const QString &column)
{
    return modDatabase::StoredNumberOrNullSQL(value, column, modDatabase::NumberForm::Bare);
}

void status(const QString &text)
{
    if (ExplorerWindow *window = ExplorerWindow::Current())
        window->Status(text);
}

// Sets the status text "Ready" on every way out.
struct ReadyAtEnd
{
    ReadyAtEnd() = default;
    ReadyAtEnd(const ReadyAtEnd &) = delete;
    ReadyAtEnd &operator=(const ReadyAtEnd &) = delete;
    ~ReadyAtEnd() { status(QStringLiteral("Ready")); }
};

// The status text of a collection's members: the status bar repaints on every
// text, so a member's text shows only when the last one has stood a while.
class Progress
{
public:
    void show(const QString &text)
    {
        if (m_shown.isValid() && m_shown.elapsed() < 100)
            return;
        status(text);
        m_shown.restart();
    }

private:
    QElapsedTimer m_shown;
};

void inform(const QString &text) { Ui().MsgBox(text, ui::vbInformation); }

// Key part `index` of both sides is the same: data sources as the registry
// names them (letter case aside), catalog names exactly.
bool samePart(const QStringList &a, const QStringList &b, int index)
{
    if (index >= a.size() || index >= b.size())
        return false;
    return index == 0 ? CConnections::SameName(a[0], b[0]) : a[index] == b[index];
}

// The drop names the item's own parent (or, for a collection, its own folder).
bool samePlace(const Facts &k, const QStringList &source, const QStringList &target)
{
    for (int i = 0; i < k.parents; ++i)
        if (!samePart(source, target, i))
            return false;
    return true;
}

// "COLUMN = 'value' AND ..." for the key parts present in `keys`.
QString condition(const Facts &k, const QStringList &keys)
{
    QStringList columns, values;
    for (const KeyPart &part : k.key)
        if (part.key < keys.size()) {
            columns << QLatin1String(part.column);
            values << keys[part.key];
        }
    return modDatabase::KeyWhere(columns, values);
}

// The rows of a parent's members (`columns`: "*" or a column list). With
// `ownFilesOut` the Files collection leaves the catalog's own files out unless
// they are shown.
QString membersSql(const Facts &k, const QStringList &parents, const QString &columns, bool ownFilesOut = false)
{
    const QString select = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + k.table;
    if (ownFilesOut && k.kind == Kind::File && options::SysTables() == 0)
        return select + QStringLiteral(" WHERE FILE_NAME NOT IN('") + EngineFiles().join(QStringLiteral("', '")) +
               QStringLiteral("')");
    const QString where = condition(k, parents.mid(0, k.parents));
    return where.isEmpty() ? select + QLatin1Char(' ') : select + QStringLiteral(" WHERE ") + where;
}

// The row of one item, by its key.
QString rowSql(const Facts &k, const QStringList &keys)
{
    return QStringLiteral("SELECT * FROM ") + k.table + QStringLiteral(" WHERE ") + condition(k, keys);
}

// The copy of the source `row` under the target's keys.
QString insertSql(const Facts &k, const dao::Recordset &row, const QStringList &target)
{
    QStringList columns, values;
    for (const Value &v : k.values) {
        const QString column = QLatin1String(v.column);
        columns << column;
        switch (v.from) {
        case From::TargetKey: values << quoted(target.value(v.key)); break;
        case From::Text: values << modDatabase::QuotedOrNull(row.Value(column)); break;
        case From::Number: values << number(row.Value(column), column); break;
        case From::QuotedNumber:
            values << modDatabase::StoredNumberOrNullSQL(row.Value(column), column, modDatabase::NumberForm::Quoted);
            break;
        case From::Empty: values << QStringLiteral("''"); break;
        }
    }
    return QStringLiteral("INSERT INTO ") + k.table + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES (") + values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// The data source's connection, connecting it on first use; false when it
// cannot be connected (the registry said why) or the error dialog was ignored.
bool connected(const QString &routine, const QString &ds)
{
    ErrorHandler handler(routine);
    CConnections::Ptr connection;
    return handler.step([&] { connection = gConnections().Item(ds); }) && connection && connection->db;
}

// Reads `sql` on `ds` as a step of `handler`: a failure shows the error dialog,
// Retry reads again. Nothing after Ignore or when the data source cannot be
// connected. With `found`, finding no row fails with 3021: the row is gone.
std::unique_ptr<dao::Recordset> readRows(ErrorHandler &handler, const QString &ds, const QString &sql, bool found = false)
{
    std::unique_ptr<dao::Recordset> rs;
    bool reachable = true;
    const bool done = handler.step([&] {
        const auto connection = gConnections().Item(ds);
        reachable = connection && connection->db;
        if (!reachable)
            return;
        rs = connection->db->OpenRecordset(sql, dao::dbOpenSnapshot);
        if (found && rs->Eof())
            qnerr::raise(qnerr::NoCurrentRecord, qnerr::standardDescription(qnerr::NoCurrentRecord));
    });
    return done && reachable ? std::move(rs) : nullptr;
}

// The text of each row's first column, in order.
QStringList firstColumn(dao::Recordset &rs)
{
    QStringList texts;
    for (long row = 0; row < rs.RecordCount(); ++row)
        texts << rs.Cell(row, 0).toString();
    return texts;
}

// A column's place in its table: its COLUMN_TYPE and COLUMN_NUMBER as written in SQL.
struct Place
{
    QString type, number;
    QString key() const { return type + QLatin1Char(' ') + number; }
};
// The place of the column `row`; none when its type or number is Null (or
// empty): such a column meets no other, so none is overwritten for it.
std::optional<Place> placeOf(const dao::Recordset &row)
{
    Place place{number(row.Value(QStringLiteral("COLUMN_TYPE")), QStringLiteral("COLUMN_TYPE")),
                number(row.Value(QStringLiteral("COLUMN_NUMBER")), QStringLiteral("COLUMN_NUMBER"))};
    const QString null = QStringLiteral("NULL");
    if (place.type == null || place.number == null)
        return std::nullopt;
    return place;
}
std::optional<QString> placeKey(const dao::Recordset &row)
{
    const std::optional<Place> place = placeOf(row);
    return place ? std::optional<QString>(place->key()) : std::nullopt;
}

// What the plans of a collection's members look up instead of reading a row
// each: read once, before the first member.
struct Batch
{
    std::unique_ptr<dao::Recordset> rows; // the members' source rows
    QStringList names;                    // the members, in the order read
    QHash<QString, long> at;              // a member's row
    QSet<QString> existing;               // the members' names the target holds
    QSet<QString> users;                  // the target's users
    std::unique_ptr<dao::Recordset> held; // the target table's columns
    QHash<QString, std::optional<QString>> columns; // ... by name: their places
    QHash<QString, QList<long>> places;   // ... the rows in each place
};

// Reads a collection's batch: the members' rows in the source, then in the
// target the names it holds, its users (privileges), the target table's
// columns (columns). Nothing after Ignore or without a connection.
std::optional<Batch> prepare(const Facts &k, const QStringList &source, const QStringList &target)
{
    ErrorHandler handler(k.collection);
    Batch b;
    QString sql;
    if (!handler.step([&] { sql = membersSql(k, source, QStringLiteral("*"), true); }))
        return std::nullopt;
    b.rows = readRows(handler, source.value(0), sql);
    if (!b.rows)
        return std::nullopt;
    if (!handler.step([&] {
            const dao::Fields &fields = b.rows->GetFields();
            (void)fields(NameColumn(k)); // 3265 when the rows lack it
            const int name = fields.IndexOf(NameColumn(k));
            for (long row = 0; row < b.rows->RecordCount(); ++row) {
                b.names << b.rows->Cell(row, name).toString();
                b.at.insert(b.names.last(), row);
            }
        }))
        return std::nullopt;
    const QString &tds = target.value(0);
    if (k.conflict) {
        const auto held = readRows(handler, tds, membersSql(k, target, NameColumn(k)));
        if (!held)
            return std::nullopt;
        const QStringList names = firstColumn(*held);
        b.existing = QSet<QString>(names.begin(), names.end());
    }
    if (k.userTest) {
        const Facts &user = Of(Kind::User);
        const auto held = readRows(handler, tds, membersSql(user, {tds}, NameColumn(user)));
        if (!held)
            return std::nullopt;
        const QStringList names = firstColumn(*held);
        b.users = QSet<QString>(names.begin(), names.end());
    }
    if (k.kind == Kind::Column) {
        b.held = readRows(handler, tds, membersSql(k, target, QStringLiteral("*")));
        if (!b.held || !handler.step([&] {
                for (long row = 0; row < b.held->RecordCount(); ++row) {
                    b.held->SetAbsolutePosition(row);
                    const std::optional<QString> place = placeKey(*b.held);
                    b.columns.insert(b.held->Value(QStringLiteral("COLUMN_NAME")).toString(), place);
                    if (place)
                        b.places[*place] << row;
                }
            }))
            return std::nullopt;
    }
    return b;
}

// What became of a member of a collection.
enum class Member {
    Done,
    NotDone, // refused, cancelled, or its unit ignored: the continue question follows
    Failed,  // a read of its plan ignored: the collection stops
};

// Walks a collection's members: each is handed to `member`; after one that
// was not done, the continue question, while its answer is Yes. True once a
// member was handled; for users also for a walk that ended or was stopped,
// empty or not. False at once for a member that failed.
bool walk(const Facts &k, const QStringList &names, const std::function<Member(const QString &)> &member)
{
    bool result = false;
    int going = 1; // the continue answer: 1 Yes, 2 Yes to All, 0 No
    for (const QString &name : names) {
        const Member outcome = member(name);
        if (outcome == Member::Failed)
            return false;
        if (outcome == Member::Done) {
            result = true;
            continue;
        }
        if (going == 1)
            going = frmYesToAll::GetAnswer(QStringLiteral("Do you want to continue with the remainder of the ") +
                                           k.noun + QStringLiteral(" in this collection?"));
        if (going == 0)
            break;
        result = true;
    }
    return result || k.walkToEnd;
}

// One item as planned: what its unit writes in the target, and its members'
// plans. Keys are data source first, the item's name last.
struct Planned
{
    const Facts *facts = nullptr;
    QStringList source, target;
    QVariantList copied; // the source row's CopiedColumns as read and copied
    // A column's overwrite: the target columns in its place (their query, their
    // columns and rows as read), their DELETE and the INSERTs that put them back.
    QString inPlace;
    QStringList inPlaceColumns;
    QList<QVariantList> inPlaceRows;
    QString overwrite;
    QStringList putBack;
    QString insert;
    QList<Planned> children;
};

// One drop: its answer, what its plans learned of the target (a table's file,
// the files a data source defines, the fields a file has), and whether the
// plan of the item under way failed.
struct Drop
{
    int answer;
    QHash<QString, QString> tableFiles;
    QHash<QString, QSet<QString>> files;
    QHash<QString, QSet<QString>> fileFields;
    bool failed = false;

    static QString key(const QStringList &parts)
    {
        QStringList folded = parts;
        folded[0] = folded[0].toCaseFolded();
        return folded.join(QLatin1Char('\n'));
    }
};

// The steps of one item's plan through its handler, the statement read last
// being the error dialog's additional information. One that was ignored, or
// whose data source was lost, fails the drop's item.
class Steps
{
public:
    Steps(const QString &routine, Drop &drop) : m_handler(routine, QString()), m_drop(drop) {}

    bool step(const std::function<void()> &fn) { return m_handler.step(fn) || fail(); }
    std::unique_ptr<dao::Recordset> read(const QString &ds, const QString &sql, bool found = false)
    {
        m_handler.info = sql;
        std::unique_ptr<dao::Recordset> rs = readRows(m_handler, ds, sql, found);
        if (!rs)
            fail();
        return rs;
    }
    // A set read once a drop: the first column of `sql` on `ds`, kept under `key`.
    bool lookUp(QHash<QString, QSet<QString>> &cache, const QString &key, const QString &ds, const QString &sql)
    {
        if (cache.contains(key))
            return true;
        const auto rs = read(ds, sql);
        if (!rs)
            return false;
        const QStringList names = firstColumn(*rs);
        cache.insert(key, QSet<QString>(names.begin(), names.end()));
        return true;
    }

private:
    bool fail()
    {
        m_drop.failed = true;
        return false;
    }

    ErrorHandler m_handler;
    Drop &m_drop;
};

std::optional<Planned> plan(Drop &drop, const Facts &k, const QStringList &source, const QStringList &target,
                            Batch *batch);

// Plans the members of the collection `k` of one item into `into`; false when
// the item cannot be planned whole (a read was ignored).
bool planMembers(Drop &drop, const Facts &k, const QStringList &source, const QStringList &target,
                 QList<Planned> &into)
{
    TraceScope trace(k.collection);
    std::optional<Batch> batch = prepare(k, source, target);
    if (!batch) {
        drop.failed = true;
        return false;
    }
    walk(k, batch->names, [&](const QString &name) {
        TraceScope member(k.single);
        std::optional<Planned> p = plan(drop, k, source + QStringList{name}, target + QStringList{name}, &*batch);
        if (!p)
            return drop.failed ? Member::Failed : Member::NotDone;
        into << std::move(*p);
        return Member::Done;
    });
    return !drop.failed;
}

// A table's file in the target: warned about when it is not defined there.
bool planTable(Drop &drop, Steps &steps, const Names &n, const dao::Recordset &row, const Batch *batch)
{
    const QString &ds = n.target[0];
    const QString file = row.Value(QStringLiteral("FILE_NAME")).toString();
    bool defined = false;
    if (batch) {
        const QString key = Drop::key({ds});
        if (!steps.lookUp(drop.files, key, ds, QStringLiteral("SELECT FILE_NAME FROM QN_FILE ")))
            return false;
        defined = drop.files.value(key).contains(file);
    } else {
        const auto rs = steps.read(ds, QStringLiteral("SELECT FILE_NAME FROM QN_FILE WHERE FILE_NAME = ") + quoted(file));
        if (!rs)
            return false;
        defined = !rs->Eof();
    }
    if (!defined)
        inform(QStringLiteral("WARNING - Table '") + n.name() + QStringLiteral(" refrences File '") + file +
               QLatin1Char('\'') + kCrLf + QStringLiteral("which has not been defined in Datasource '") + ds +
               QLatin1Char('\''));
    drop.tableFiles.insert(Drop::key(n.target.mid(0, 3)), file);
    return true;
}

// A column's own tests: the target columns in its place (type and number)
// are overwritten after a question; one of its name elsewhere refuses the
// drop; a field missing from the target table's file is warned about. `p`
// gets the overwrite: the columns in its place as read, their DELETE and the
// INSERTs that put them back.
bool planColumn(Drop &drop, Steps &steps, const Names &n, const dao::Recordset &row, Planned &p, const Batch *batch)
{
    const QString &ds = n.target[0], &db = n.target[1], &table = n.target[2];
    const QString column = n.name();
    std::optional<Place> place;
    if (!steps.step([&] { place = placeOf(row); }))
        return false;
    if (place) {
        p.inPlace = QStringLiteral("SELECT * FROM QN_COLUMN WHERE DATABASE_NAME =") + quoted(db) +
                    QStringLiteral(" AND TABLE_NAME = ") + quoted(table) + QStringLiteral(" AND COLUMN_TYPE = ") +
                    place->type + QStringLiteral(" AND COLUMN_NUMBER = ") + place->number + QLatin1Char(' ');
        // Each column in its place, as read and as put back.
        const auto keep = [&](const dao::Recordset &held) {
            const dao::Fields &fields = held.GetFields();
            if (p.inPlaceColumns.isEmpty())
                for (int i = 0; i < fields.Count(); ++i)
                    p.inPlaceColumns << fields(i).Name();
            QVariantList values;
            for (int i = 0; i < fields.Count(); ++i)
                values << fields(i).Value();
            p.inPlaceRows << values;
            p.putBack << insertSql(Of(Kind::Column), held, n.target);
        };
        if (batch) {
            if (!steps.step([&] {
                    for (const long at : batch->places.value(place->key())) {
                        batch->held->SetAbsolutePosition(at);
                        keep(*batch->held);
                    }
                }))
                return false;
        } else {
            const auto inPlace = steps.read(ds, p.inPlace);
            if (!inPlace || !steps.step([&] {
                    for (; !inPlace->Eof(); inPlace->MoveNext())
                        keep(*inPlace);
                }))
                return false;
        }
    }
    const bool overwrite = !p.inPlaceRows.isEmpty();
    if (overwrite && Ui().MsgBox(QStringLiteral("A column already exists is in Datasource '") + ds +
                                     QStringLiteral("', Database '") + db + QStringLiteral("', Table '") + table +
                                     QStringLiteral(" with a Column Type of ") + place->type +
                                     QStringLiteral(" and a column number of ") + place->number + kCrLf +
                                     QStringLiteral("Do you want to overwrite it?"),
                                 ui::vbYesNo + ui::vbQuestion) != ui::vbYes)
        return false;
    // A column of that name that is not one overwritten refuses the drop.
    bool named = false;
    std::optional<QString> namedPlace;
    if (batch) {
        named = batch->columns.contains(column);
        namedPlace = batch->columns.value(column);
    } else {
        const auto rs = steps.read(ds, rowSql(Of(Kind::Column), n.target));
        if (!rs)
            return false;
        named = !rs->Eof();
        if (named && !steps.step([&] { namedPlace = placeKey(*rs); }))
            return false;
    }
    if (named && (!overwrite || namedPlace != place->key())) {
        inform(QStringLiteral("Datasource '") + ds + QStringLiteral("', Table '") + table +
               QStringLiteral("', already contains a Column called '") + column + QStringLiteral("'."));
        return false;
    }
    // The target table's file: known when this drop copies the table.
    const QString tableKey = Drop::key(n.target.mid(0, 3));
    if (!drop.tableFiles.contains(tableKey)) {
        const auto owner = steps.read(ds,
                                      QStringLiteral("SELECT FILE_NAME FROM QN_TABLE WHERE ") +
                                          modDatabase::TableWhere(db, table) + QLatin1Char(' '),
                                      true);
        if (!owner)
            return false;
        drop.tableFiles.insert(tableKey, owner->Value(QStringLiteral("FILE_NAME")).toString());
    }
    const QString file = drop.tableFiles.value(tableKey);
    const QString field = row.Value(QStringLiteral("FIELD_NAME")).toString();
    const QString fieldsSql = QStringLiteral("SELECT FIELD_NAME FROM QN_FIELD WHERE FILE_NAME = ") + quoted(file);
    bool defined = false;
    if (batch) {
        const QString key = Drop::key({ds, file});
        if (!steps.lookUp(drop.fileFields, key, ds, fieldsSql + QLatin1Char(' ')))
            return false;
        defined = drop.fileFields.value(key).contains(field);
    } else {
        const auto rs = steps.read(ds, fieldsSql + QStringLiteral(" AND FIELD_NAME = ") + quoted(field) +
                                           QLatin1Char(' '));
        if (!rs)
            return false;
        defined = !rs->Eof();
    }
    if (!defined)
        inform(QStringLiteral("WARNING - The Column '") + column + QStringLiteral("' refers Field '") + field +
               QStringLiteral("' which does not exists in ") + kCrLf + QStringLiteral("File '") + file +
               QStringLiteral("' (refered to by Table '") + table + QStringLiteral("')"));
    if (overwrite)
        p.overwrite = QStringLiteral("DELETE FROM QN_COLUMN WHERE DATABASE_NAME = ") + quoted(db) +
                      QStringLiteral("  AND TABLE_NAME = ") + quoted(table) + QStringLiteral("  AND COLUMN_NUMBER = ") +
                      place->number + QStringLiteral("  AND COLUMN_TYPE = ") + place->type;
    return true;
}

// Plans one item: the existence test in the target, the user test, the source
// row, the kind's own tests, the copy, then its collections. A member of a
// collection (`batch`) is looked up in what the collection read; one item
// dropped alone reads its rows one by one. Nothing when it was refused (after
// its message) or a step of it failed (drop.failed).
std::optional<Planned> plan(Drop &drop, const Facts &k, const QStringList &source, const QStringList &target,
                            Batch *batch)
{
    Steps steps(k.single, drop);
    const Names names{source, target};
    const QString &sds = source[0], &tds = target[0], name = names.name();
    if (k.conflict) {
        bool held = false;
        if (batch) {
            held = batch->existing.contains(name);
        } else {
            const auto rs = steps.read(tds, rowSql(k, target));
            if (!rs)
                return std::nullopt;
            held = !rs->Eof();
        }
        if (held) {
            inform(k.conflict(names));
            return std::nullopt;
        }
    }
    if (k.userTest) {
        bool held = false;
        if (batch) {
            held = batch->users.contains(name);
        } else {
            const auto rs = steps.read(tds, rowSql(Of(Kind::User), {tds, name}));
            if (!rs)
                return std::nullopt;
            held = !rs->Eof();
        }
        if (!held) {
            inform(QStringLiteral("Datasource '") + tds + QStringLiteral("' does not contain the User '") + name +
                   QLatin1Char('\''));
            return std::nullopt;
        }
    }
    std::unique_ptr<dao::Recordset> own;
    dao::Recordset *row = nullptr;
    if (batch) {
        row = batch->rows.get();
        row->SetAbsolutePosition(batch->at.value(name));
    } else {
        own = steps.read(sds, rowSql(k, source) + k.sourceSuffix, true);
        row = own.get();
        if (!row)
            return std::nullopt;
    }
    Planned p;
    p.facts = &k;
    p.source = source;
    p.target = target;
    if (!steps.step([&] {
            for (const QString &column : CopiedColumns(k))
                p.copied << row->Value(column);
        }))
        return std::nullopt;
    if (k.kind == Kind::Column && !planColumn(drop, steps, names, *row, p, batch))
        return std::nullopt;
    if (k.kind == Kind::Table && !planTable(drop, steps, names, *row, batch))
        return std::nullopt;
    if (!steps.step([&] { p.insert = insertSql(k, *row, target); }))
        return std::nullopt;
    for (const Kind member : k.children)
        if (!planMembers(drop, Of(member), source, target, p.children))
            return std::nullopt;
    return p;
}

// The users the privileges of an item (its own, its members') name.
void usersOf(const Planned &p, QStringList &users)
{
    if (p.facts->userTest)
        users << p.target.last();
    for (const Planned &member : p.children)
        usersOf(member, users);
}

// Inside a unit, before its first write in the target: the row the item goes
// under and the users its privileges name are still there (3021 when another
// connection deleted one meanwhile).
void requireTargets(const Planned &p)
{
    const Facts &k = *p.facts;
    if (k.parent) {
        const Facts &parent = Of(*k.parent);
        QStringList columns, values;
        for (const KeyPart &part : parent.key) {
            columns << QLatin1String(part.column);
            values << p.target.value(part.key);
        }
        modUpdate::UnitRequireRow(modDatabase::RowSQL(parent.table, columns, values));
    }
    QStringList users;
    usersOf(p, users);
    users.removeDuplicates();
    if (users.isEmpty())
        return;
    QStringList names;
    QList<QVariantList> rows;
    for (const QString &user : users) {
        names << quoted(user);
        rows << QVariantList{user};
    }
    modUpdate::UnitRequireRows(QStringLiteral("SELECT USER_NAME FROM QN_USER WHERE USER_NAME IN (") +
                                   names.join(QStringLiteral(", ")) + QLatin1Char(')'),
                               {QStringLiteral("USER_NAME")}, rows);
}

// The planned rows a move's source unit has deleted itself. Without a
// transaction they stay deleted when a later statement fails: a retried
// attempt counts them as done.
using Deleted = QSet<const Planned *>;

// Inside the unit that deletes a move's source rows, before its first write:
// each row it may delete (the item's, its members') and has not deleted yet is
// still as the plan read and copied it (3021 when another connection deleted
// or changed one meanwhile). One query for the item, one for each collection
// of members.
void requireSources(const Planned &p, const Deleted &deleted, bool item = true)
{
    const Facts &k = *p.facts;
    if (item && !deleted.contains(&p)) {
        const QStringList columns = CopiedColumns(k);
        modUpdate::UnitRequireRows(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                                       QStringLiteral(" FROM ") + k.table + QStringLiteral(" WHERE ") +
                                       condition(k, p.source),
                                   columns, {p.copied});
    }
    for (const Kind kind : k.children) {
        const Facts &member = Of(kind);
        QList<QVariantList> rows;
        for (const Planned &planned : p.children)
            if (planned.facts == &member && !deleted.contains(&planned))
                rows << planned.copied;
        if (rows.isEmpty())
            continue;
        const QStringList columns = CopiedColumns(member);
        modUpdate::UnitRequireRows(membersSql(member, p.source, columns.join(QStringLiteral(", "))), columns, rows);
    }
    for (const Planned &planned : p.children)
        requireSources(planned, deleted, false);
}

// Inside a unit: the item's writes on the target (`targets`) and the move's
// deletes in the source (`sources`), its members' in between. Each insert
// carries the DELETE that removes its row again, and an overwrite the INSERTs
// that put back what it deleted, where the unit has no transaction. A parent
// whose members are not all gone from the source stays, and `kept` says so.
// A source row deleted is added to `deleted`, and one there is not deleted again.
void write(const Planned &p, bool targets, bool sources, bool &kept, Deleted &deleted)
{
    const Facts &k = *p.facts;
    if (targets) {
        if (!p.overwrite.isEmpty()) {
            // The columns overwritten are those the user was asked about.
            modUpdate::UnitRequireRows(p.inPlace, p.inPlaceColumns, p.inPlaceRows);
            modUpdate::UnitDelete(p.overwrite, p.putBack);
        }
        modUpdate::UnitInsert(p.insert, modDatabase::BuildDeleteSQL(k.table, condition(k, p.target)));
    }
    for (const Planned &member : p.children)
        write(member, targets, sources, kept, deleted);
    if (!sources || deleted.contains(&p))
        return;
    for (const Kind member : k.children)
        if (!modUpdate::UnitOpen(membersSql(Of(member), p.source, NameColumn(Of(member))))->Eof()) {
            kept = true;
            return;
        }
    modUpdate::UnitExecute(modDatabase::BuildDeleteSQL(k.table, condition(k, p.source)));
    deleted.insert(&p);
}

// The data source runs its units in transactions (false when that cannot be told).
bool transactions(const QString &ds)
{
    try {
        const auto connection = gConnections().Item(ds);
        return connection && connection->db && connection->db->SupportsTransactions();
    } catch (const std::exception &) {
        return false;
    }
}

// Writes a planned item: one unit within one data source that has
// transactions; otherwise the copy commits on the target before a unit on the
// source deletes what was copied. True once the copy was written.
bool execute(const Planned &p, bool move)
{
    const Facts &k = *p.facts;
    const QString &sds = p.source[0], &tds = p.target[0];
    const QString what = k.word + QStringLiteral(" '") + p.source.last() + QLatin1Char('\'');
    bool kept = false;
    Deleted deleted;
    const auto unit = [&](const QString &ds, bool targets, bool sources) {
        return modUpdate::RunUnit(ds, k.single, [&] {
            kept = false;
            // A transaction's rollback put back what an earlier attempt deleted.
            if (transactions(ds))
                deleted.clear();
            if (targets)
                requireTargets(p);
            if (sources)
                requireSources(p, deleted);
            write(p, targets, sources, kept, deleted);
        });
    };
    if (CConnections::SameName(sds, tds) && transactions(tds)) {
        if (!unit(tds, true, move))
            return false;
    } else {
        if (!unit(tds, true, false)) {
            // Without a transaction the failed copy's rows were deleted again, or not all.
            copyRows::TellIfDeletedAgain();
            if (!modUpdate::LastUnitUndone())
                Ui().MsgBox(QStringLiteral("The copy of ") + what + QStringLiteral(" failed; what it had written in '") + tds +
                                QStringLiteral("' could not all be undone."),
                            ui::vbExclamation);
            return false;
        }
        // An ignored delete leaves the source as it was: the move became a copy.
        if (move && !unit(sds, false, true))
            kept = true;
    }
    if (move && kept)
        inform(QStringLiteral("The move of ") + what +
               QStringLiteral(" was incomplete: what could not be moved is still in '") + sds + QStringLiteral("'."));
    return true;
}

bool carry(Drop &drop, const Facts &k, const QStringList &source, const QStringList &target, Batch *batch = nullptr)
{
    drop.failed = false;
    const std::optional<Planned> p = plan(drop, k, source, target, batch);
    return p && execute(*p, drop.answer == 1);
}

// One item dropped: its same-place test, the connections (target first), the
// question, then its plan and unit.
bool dragOne(Kind kind, const DragItem &Source, const DragItem &Target, int Answer)
{
    const Facts &k = Of(kind);
    TraceScope trace(k.single);
    std::optional<CMouseSleeper> busy;
    if (k.busyItem)
        busy.emplace();
    const ReadyAtEnd ready;
    const QStringList source = Source.Keys.mid(0, k.parents + 1);
    QStringList target = Target.Keys.mid(0, k.parents);
    if (source.size() <= k.parents || target.size() < k.parents)
        return false;
    target << source.last();
    if (samePlace(k, source, target)) {
        if (!k.sameItem.isEmpty())
            inform(k.sameItem);
        return false;
    }
    if (!connected(k.single, target[0]) || !connected(k.single, source[0]))
        return false;
    if (Answer == -1)
        Answer = frmMoveCopy::Query(k.itemQuestion(Names{source, target}));
    if (Answer == 0)
        return false;
    status(QStringLiteral("Processing ") + k.word + QStringLiteral(" '") + source.last() + QLatin1Char('\''));
    Drop drop{Answer, {}, {}, {}, false};
    return carry(drop, k, source, target);
}

// A collection folder dropped: its same-place test, the question, the
// connections (target first), then each member as one item.
bool dragAll(Kind kind, const DragItem &Source, const DragItem &Target, int Answer)
{
    const Facts &k = Of(kind);
    TraceScope trace(k.collection);
    const CMouseSleeper busy;
    const ReadyAtEnd ready;
    const QStringList source = Source.Keys.mid(0, k.parents), target = Target.Keys.mid(0, k.parents);
    if (source.size() < k.parents || target.size() < k.parents)
        return false;
    if (samePlace(k, source, target)) {
        if (!k.sameCollection.isEmpty())
            inform(k.sameCollection);
        return false;
    }
    if (Answer == -1)
        Answer = frmMoveCopy::Query(k.collectionQuestion(Names{source, target}));
    if (Answer == 0)
        return false;
    if (!connected(k.collection, target[0]) || !connected(k.collection, source[0]))
        return false;
    std::optional<Batch> batch = prepare(k, source, target);
    if (!batch)
        return false;
    Drop drop{Answer, {}, {}, {}, false};
    Progress progress;
    return walk(k, batch->names, [&](const QString &name) {
        TraceScope member(k.single);
        progress.show(QStringLiteral("Processing ") + k.word + QStringLiteral(" '") + name + QLatin1Char('\''));
        return carry(drop, k, source + QStringList{name}, target + QStringList{name}, &*batch) ? Member::Done
                                                                                                : Member::NotDone;
    });
}

} // namespace

namespace modDragAndDrop {

bool DragFilesToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::File, Source, Target, Answer);
}
bool DragFileToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::File, Source, Target, Answer);
}
bool DragFieldsToFile(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::Field, Source, Target, Answer);
}
bool DragFieldToFile(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::Field, Source, Target, Answer);
}
bool DragDBsToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::Database, Source, Target, Answer);
}
bool DragDBToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::Database, Source, Target, Answer);
}
bool DragTablesToDB(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::Table, Source, Target, Answer);
}
bool DragTableToDB(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::Table, Source, Target, Answer);
}
bool DragColumnsToTable(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::Column, Source, Target, Answer);
}
bool DragColumnToTable(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::Column, Source, Target, Answer);
}
bool DragUsersToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::User, Source, Target, Answer);
}
bool DragUserToDSN(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::User, Source, Target, Answer);
}
bool DragDBPRVsToDB(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::DBPRV, Source, Target, Answer);
}
bool DragDBPRVToDB(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::DBPRV, Source, Target, Answer);
}
bool DragTBLPRVsToTable(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragAll(Kind::TBLPRV, Source, Target, Answer);
}
bool DragTBLPRVToTable(const DragItem &Source, const DragItem &Target, int Answer)
{
    return dragOne(Kind::TBLPRV, Source, Target, Answer);
}

} // namespace modDragAndDrop
