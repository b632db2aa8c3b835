#include "dragkinds.h"

namespace dragkinds {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString quoted(const QString &name) { return QLatin1Char('\'') + name + QLatin1Char('\''); }

// The parts of a question: "Datasource '<S>'", "File '<f>'", ...
QString ds(const QStringList &keys) { return QStringLiteral("Datasource ") + quoted(keys.value(0)); }
QString part(const char *word, const QStringList &keys, int index)
{
    return QLatin1String(word) + QLatin1Char(' ') + quoted(keys.value(index));
}

const QString kAsk = QStringLiteral("Do you want to Move or Copy the ");
const QString kTableSame = QStringLiteral("The source and the destination Table are the same");

Facts facts(Kind kind, const char *word, const char *single, const char *collection, const char *noun,
            const char *table, int parents)
{
    Facts f;
    f.kind = kind;
    f.word = QLatin1String(word);
    f.single = QStringLiteral("modDragAndDrop.") + QLatin1String(single);
    f.collection = QStringLiteral("modDragAndDrop.") + QLatin1String(collection);
    f.noun = QLatin1String(noun);
    f.table = QLatin1String(table);
    f.parents = parents;
    return f;
}

QList<Facts> allFacts()
{
    using F = From;
    const QList<Value> allowFlags = {{"ALLOW_SELECT", F::QuotedNumber},
                                     {"ALLOW_INSERT", F::QuotedNumber},
                                     {"ALLOW_UPDATE", F::QuotedNumber},
                                     {"ALLOW_DELETE", F::QuotedNumber}};
    QList<Facts> rows;

    Facts file = facts(Kind::File, "File", "DragFileToDSN", "DragFilesToDSN", "Files", "QN_FILE", 1);
    file.key = {{"FILE_NAME", 1}};
    file.values = {{"FILE_NAME", F::TargetKey, 1}, {"OPEN_STRING", F::Text},   {"RECORD_SIZE", F::QuotedNumber},
                   {"FILE_ORGANISATION", F::Text},  {"RECORD_TYPE", F::Text}, {"REMARKS", F::Text}};
    file.itemQuestion = [](const Names &n) {
        return kAsk + part("File", n.source, 1) + QStringLiteral(" from ") + ds(n.source) + QStringLiteral(" to ") +
               ds(n.target) + QLatin1Char('?');
    };
    file.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Files collection in ") + ds(n.source) + QStringLiteral(" to ") + ds(n.target) +
               QLatin1Char('?');
    };
    file.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(" already contains a File called ") + quoted(n.name()) + QLatin1Char('!');
    };
    file.children = {Kind::Field};
    rows << file;

    Facts field = facts(Kind::Field, "Field", "DragFieldToFile", "DragFieldsToFile", "Fields", "QN_FIELD", 2);
    field.key = {{"FILE_NAME", 1}, {"FIELD_NAME", 2}};
    field.values = {{"FILE_NAME", F::TargetKey, 1}, {"FIELD_NUMBER", F::Number}, {"FIELD_NAME", F::Text},
                    {"LOCAL_TYPE_NAME", F::Text},   {"OFFSET", F::Number},       {"LENGTH", F::Number},
                    {"PRECISION", F::Number},       {"SCALE", F::Number},        {"ENCRYPTED", F::Number},
                    {"FORMAT", F::Text},            {"DEFAULT_VALUE", F::Text},  {"REMARKS", F::Text}};
    field.itemQuestion = [](const Names &n) {
        return kAsk + part("Field", n.source, 2) + QStringLiteral(" in ") + ds(n.source) + QStringLiteral(", ") +
               part("File", n.source, 1) + QStringLiteral(" to ") + ds(n.target) + QStringLiteral(", ") +
               part("File", n.target, 1);
    };
    field.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Fields collection in ") + ds(n.source) + QStringLiteral(", ") +
               part("File", n.source, 1) + QStringLiteral(" to the ") + ds(n.target) + QStringLiteral(", ") +
               part("File", n.target, 1) + QLatin1Char('?');
    };
    field.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(", ") + part("File", n.target, 1) +
               QStringLiteral(" already contains a field called  ") + quoted(n.name()) + QLatin1Char('!');
    };
    field.parent = Kind::File;
    rows << field;

    Facts database = facts(Kind::Database, "Database", "DragDBToDSN", "DragDBsToDSN", "Databases", "QN_DB", 1);
    database.key = {{"DATABASE_NAME", 1}};
    database.values = {{"DATABASE_NAME", F::TargetKey, 1}, {"DEFAULT_DIRECTORY", F::Text}, {"DRIVER_NAME", F::Text},
                       {"SETUP_PROCEDURE", F::Text},       {"CONNECT_STRING", F::Text},    {"REMARKS", F::Text},
                       {"DISPLAY_NAME", F::Text}};
    database.itemQuestion = [](const Names &n) {
        return kAsk + part("Database", n.source, 1) + QStringLiteral(" from ") + ds(n.source) +
               QStringLiteral(" to ") + ds(n.target) + QLatin1Char('?');
    };
    database.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Database collection in ") + ds(n.source) + QStringLiteral(" to ") +
               ds(n.target) + QLatin1Char('?');
    };
    database.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(" already contains a Database called ") + quoted(n.name()) +
               QLatin1Char('!');
    };
    database.children = {Kind::Table};
    rows << database;

    Facts table = facts(Kind::Table, "Table", "DragTableToDB", "DragTablesToDB", "Tables", "QN_TABLE", 2);
    table.key = {{"DATABASE_NAME", 1}, {"TABLE_NAME", 2}};
    table.values = {{"DATABASE_NAME", F::TargetKey, 1}, {"TABLE_NAME", F::Text},   {"TABLE_TYPE", F::Text},
                    {"FILE_NAME", F::Text},             {"FILE_SPECIFICATION", F::Text},
                    {"NUMBER_COLUMNS", F::Number},      {"CRITERIA", F::Text},     {"REMARKS", F::Text},
                    {"DISPLAY_NAME", F::Text}};
    table.itemQuestion = [](const Names &n) {
        return kAsk + part("Table", n.source, 2) + QStringLiteral(" in ") + ds(n.source) + QStringLiteral(", ") +
               part("Database", n.source, 1) + QStringLiteral(" to the ") + part("Database", n.target, 1) +
               QStringLiteral(" in  the ") + ds(n.target) + QLatin1Char('?');
    };
    table.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Table collection in ") + ds(n.source) + QStringLiteral(", ") +
               part("Database", n.source, 1) + QStringLiteral(" to ") + ds(n.target) + QStringLiteral(", ") +
               part("Database", n.target, 1) + QLatin1Char('?');
    };
    table.conflict = [](const Names &n) {
        return part("Database", n.target, 1) + QStringLiteral(" in ") + ds(n.target) +
               QStringLiteral(" already contains a Table called ") + quoted(n.name()) + QLatin1Char('!');
    };
    table.children = {Kind::Column, Kind::TBLPRV};
    table.parent = Kind::Database;
    rows << table;

    Facts column = facts(Kind::Column, "Column", "DragColumnToTable", "DragColumnsToTable", "Columns", "QN_COLUMN", 3);
    column.key = {{"DATABASE_NAME", 1}, {"TABLE_NAME", 2}, {"COLUMN_NAME", 3}};
    column.values = {{"DATABASE_NAME", F::TargetKey, 1}, {"TABLE_NAME", F::TargetKey, 2}, {"COLUMN_NUMBER", F::Number},
                     {"COLUMN_NAME", F::Text}, {"FIELD_NAME", F::Text}, {"SQL_TYPE_NAME", F::Text}};
    for (const char *attribute : {"LENGTH", "PRECISION", "SCALE", "NULLABLE", "UNSIGNED_ATTRIBUTE", "UPDATABLE",
                                  "VISIBLE", "MONEY", "AUTO_INCREMENT", "CASE_SENSITIVE", "SEARCHABLE", "RADIX"})
        column.values.append({attribute, F::Number});
    column.values += QList<Value>{{"DEFAULT_VALUE", F::Text}, {"REMARKS", F::Text}, {"SETFILEPARAMETER", F::Number},
                                  {"COLUMN_TYPE", F::Number}, {"DISPLAY_NAME", F::Text}};
    column.itemQuestion = [](const Names &n) {
        return kAsk + part("Column", n.source, 3) + QStringLiteral(" from ") + ds(n.source) + QStringLiteral(", ") +
               part("Database", n.source, 1) + QStringLiteral(", ") + part("Table", n.source, 2) +
               QStringLiteral(" to ") + ds(n.target) + QStringLiteral(", ") + part("Database &", n.target, 1) +
               QStringLiteral(", ") + part("Table", n.target, 2) + QLatin1Char('?');
    };
    column.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Collumns collection in ") + ds(n.source) + QStringLiteral(", ") +
               part("Database", n.source, 1) + QLatin1Char(' ') + part("Table", n.source, 2) +
               QStringLiteral(" to ") + ds(n.target) + QStringLiteral(", ") + part("Database", n.target, 1) +
               QStringLiteral(", ") + part("Table", n.target, 2) + QLatin1Char('?');
    };
    column.sameItem = column.sameCollection = kTableSame;
    column.busyItem = false;
    column.parent = Kind::Table;
    rows << column;

    Facts user = facts(Kind::User, "User", "DragUserToDSN", "DragUsersToDSN", "Users", "QN_USER", 1);
    user.key = {{"USER_NAME", 1}};
    user.values = {{"USER_NAME", F::TargetKey, 1}, {"USER_PASSWORD", F::Text}, {"REMARKS", F::Text}};
    user.itemQuestion = [](const Names &n) {
        return kAsk + part("User", n.source, 1) + QStringLiteral(" from ") + ds(n.source) + QStringLiteral(" to ") +
               ds(n.target) + QLatin1Char('?');
    };
    user.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Users collection in ") + ds(n.source) + QStringLiteral(" to the ") +
               ds(n.target) + QLatin1Char('?');
    };
    user.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(" already contains a User called ") + quoted(n.name()) + QLatin1Char('!');
    };
    user.sameItem = user.sameCollection = QStringLiteral("The source and the destination Datasources are the same");
    user.sourceSuffix = QStringLiteral(" ");
    user.walkToEnd = true;
    rows << user;

    Facts dbprv = facts(Kind::DBPRV, "User", "DragDBPRVToDB", "DragDBPRVsToDB", "User Privileges", "QN_DBPRV", 2);
    dbprv.key = {{"USER_NAME", 2}, {"DATABASE_NAME", 1}};
    dbprv.values = {{"USER_NAME", F::TargetKey, 2},   {"DATABASE_NAME", F::TargetKey, 1},
                    {"DATABASE_USERNAME", F::Text},   {"DATABASE_PASSWORD", F::Empty}};
    dbprv.values += allowFlags;
    dbprv.values += QList<Value>{{"SECURITY_LEVEL", F::Text}, {"REMARKS", F::Text}};
    dbprv.itemQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Database User Privileges for ") + part("User", n.source, 2) +
               QStringLiteral(" from ") + ds(n.source) + QStringLiteral(", ") + part("Database", n.source, 1) +
               QStringLiteral(" to ") + ds(n.target) + QStringLiteral(", ") + part("Database", n.target, 1) +
               QLatin1Char('?') + kCrLf + kCrLf +
               QStringLiteral("NOTE: For security reasons, the password field will be set to blank in the new entry.");
    };
    dbprv.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Users Database Privileges collection in ") + ds(n.source) +
               QStringLiteral(", ") + part("Database", n.source, 1) + QStringLiteral(" to the ") + ds(n.target) +
               QLatin1Char('?') + kCrLf + kCrLf +
               QStringLiteral("NOTE: For security reasons, the passwords field will be set blank in the new entries.");
    };
    dbprv.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(", ") + part("Database", n.target, 1) +
               QStringLiteral(" already contains a User Database Privilege for ") + part("User", n.source, 2) +
               QLatin1Char('!');
    };
    dbprv.sameItem = QStringLiteral("The source and the destination Database are the same");
    dbprv.sameCollection = QStringLiteral("The source and the destination Datasource are the same");
    dbprv.userTest = true;
    dbprv.parent = Kind::Database;
    rows << dbprv;

    Facts tblprv = facts(Kind::TBLPRV, "User", "DragTBLPRVToTable", "DragTBLPRVsToTable", "Table Privileges", "QN_TBLPRV", 3);
    tblprv.key = {{"USER_NAME", 3}, {"DATABASE_NAME", 1}, {"TABLE_NAME", 2}};
    tblprv.values = {{"DATABASE_NAME", F::TargetKey, 1}, {"TABLE_NAME", F::TargetKey, 2}, {"USER_NAME", F::TargetKey, 3}};
    tblprv.values += allowFlags;
    tblprv.values += QList<Value>{{"REMARKS", F::Text}};
    tblprv.itemQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Table User Privileges for ") + part("User", n.source, 3) +
               QStringLiteral(" from ") + ds(n.source) + QStringLiteral(", ") + part("Database", n.source, 1) +
               QStringLiteral(", ") + part("Table", n.source, 2) + QStringLiteral(" to ") + ds(n.target) +
               QStringLiteral(", ") + part("Database", n.target, 1) + QLatin1Char(' ') + part("Table", n.target, 2) +
               QLatin1Char('?');
    };
    tblprv.collectionQuestion = [](const Names &n) {
        return kAsk + QStringLiteral("Users Tables Privileges collection in ") + ds(n.source) + QStringLiteral(", ") +
               part("Database", n.source, 1) + QStringLiteral(", ") + part("Table", n.source, 2) +
               QStringLiteral(" to the ") + ds(n.target) + QStringLiteral(", ") + part("Database", n.target, 1) +
               QStringLiteral(", ") + part("Table", n.target, 2) + QLatin1Char('?');
    };
    tblprv.conflict = [](const Names &n) {
        return ds(n.target) + QStringLiteral(", ") + part("Database", n.target, 1) + QStringLiteral(", ") +
               part("Table", n.target, 2) + QStringLiteral(" contains a User Table Privilege for ") +
               part("User", n.source, 3) + QLatin1Char('!');
    };
    tblprv.sameItem = tblprv.sameCollection = kTableSame;
    tblprv.userTest = true;
    tblprv.parent = Kind::Table;
    rows << tblprv;

    return rows;
}

} // namespace

const Facts &Of(Kind kind)
{
    // In the order of Kind.
    static const QList<Facts> rows = allFacts();
    return rows[int(kind)];
}

QString NameColumn(const Facts &facts)
{
    for (const KeyPart &part : facts.key)
        if (part.key == facts.parents)
            return QLatin1String(part.column);
    return {};
}

QStringList CopiedColumns(const Facts &facts)
{
    QStringList columns{NameColumn(facts)};
    for (const Value &v : facts.values)
        if (v.from != From::TargetKey && v.from != From::Empty && !columns.contains(QLatin1String(v.column)))
            columns << QLatin1String(v.column);
    return columns;
}

} // namespace dragkinds
