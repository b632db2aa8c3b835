#pragma once

// The catalog objects a drag copies or moves, one row of facts each: the row's
// table and key, the values its copy is written with, the questions and
// messages, the collections that travel with it. The drags (dragops.cpp) are
// one routine over this table.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dragkinds {

enum class Kind { File, Field, Database, Table, Column, User, DBPRV, TBLPRV };

// Where a value of the copy comes from, and how it is written.
enum class From {
    TargetKey,    // the target item's key part `key`, quoted
    Text,         // the source row's value, quoted (a Null as NULL)
    Number,       // the source row's number, bare (a Null as NULL)
    QuotedNumber, // the source row's number, quoted (a Null as NULL)
    Empty,        // ''
};
struct Value
{
    const char *column;
    From from;
    int key = 0;
};

// A key column of the row and the item key part it is compared with.
struct KeyPart
{
    const char *column;
    int key;
};

// An item's key parts as a question or message shows them: the source's and
// the target's, data-source name first, then the parents, then (one item) its name.
struct Names
{
    QStringList source, target;
    QString name() const { return source.value(source.size() - 1); }
};
using Text = QString (*)(const Names &);

struct Facts
{
    Kind kind = Kind::File;
    QString word;       // the status text's kind: "Processing <word> '<name>'"
    QString single;     // trace name of the one-item drag
    QString collection; // trace name of the collection drag
    QString noun;       // the continue question's "remainder of the <noun>"
    QString table;      // QN_...
    int parents = 1;    // key parts before the row's name (the data source first)
    QList<KeyPart> key; // the row's key in statement order; the part `parents` is its name
    QList<Value> values; // the copy's INSERT columns, in order
    Text itemQuestion = nullptr;
    Text collectionQuestion = nullptr;
    Text conflict = nullptr; // a row of that key in the target; nullptr: the kind's own tests
    QString sameItem;       // a drop on its own place: the message, or none
    QString sameCollection;
    QString sourceSuffix;   // ends the source row's query
    bool busyItem = true;   // the one-item drag shows the busy cursor
    bool userTest = false;  // the user must exist in the target
    bool walkToEnd = false; // a collection is done once walked, or stopped with No, even when empty
    QList<Kind> children;   // collections that travel with the row, in order
    std::optional<Kind> parent; // the kind of the row it goes under (keyed by the leading key parts)
};

const Facts &Of(Kind kind);

// The name column of a kind's rows.
QString NameColumn(const Facts &facts);
// The columns a copy takes from the source row: the name column first, then
// the others the INSERT copies, in its order.
QStringList CopiedColumns(const Facts &facts);

} // namespace dragkinds
