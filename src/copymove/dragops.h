#pragma once

// The copy and move of catalog objects dropped in the explorer tree: one
// object (a file, field, database, table, column, user, database privilege or
// table privilege) or a whole collection folder of them, with the rows that
// travel with it (a file's fields; a database's tables; a table's columns and
// table privileges).
//
// Answer: -1 asks "Move or Copy?" (frmMoveCopy), 0 cancels, 1 moves, 2 copies.
// A collection asks once, then after each member that was not done the
// continue question (frmYesToAll) while its answer is Yes.
//
// Each item is planned first: the existence tests in the target, the refusals
// with their messages, the overwrite question of a column and the members of
// its collections, read from the source. One item dropped alone reads its
// rows one by one; the members of a collection are read once for all of them
// (their rows, the names the target holds). Then its rows are written as one unit
// (modUpdate::RunUnit): within one data source the copy and the move's deletes
// together; between two, or where the data source has no transactions, the
// copy on the target commits first, and only then does a unit on the source
// delete the rows copied. Before its first write a unit reads again what the
// plan relied on: in the target the row the item goes under (its file,
// database or table) and the users its privileges name; in the source every
// row the move deletes, which must still hold the values copied (a Null as a
// Null); an overwritten column must still be as the question showed it. One
// deleted or changed meanwhile (by another connection) fails the unit with
// 3021. A failure rolls its unit back (without a transaction, deletes again
// the rows its inserts wrote and puts back a column it overwrote, and says
// so) before the error dialog shows; Retry runs the unit again, Ignore leaves
// the item undone (a source delete ignored leaves a copy). A stored Null is
// copied as NULL. A read of the plan that fails and is ignored, at any depth,
// fails the whole item. A column whose type or number is Null has no place:
// it overwrites nothing. A move deletes a file, database or table in the
// source only when none of its fields, tables, columns or privileges remains
// there; otherwise it keeps it and says the move was incomplete.
//
// Each returns true when it did its work (a collection: once a member was
// handled), false when nothing was written. The items are read, never changed.

#include "tree/dragitem.h"

namespace modDragAndDrop {

bool DragFilesToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragFileToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragFieldsToFile(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragFieldToFile(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragDBsToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragDBToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragTablesToDB(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragTableToDB(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragColumnsToTable(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragColumnToTable(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragUsersToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragUserToDSN(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragDBPRVsToDB(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragDBPRVToDB(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragTBLPRVsToTable(const DragItem &Source, const DragItem &Target, int Answer = -1);
bool DragTBLPRVToTable(const DragItem &Source, const DragItem &Target, int Answer = -1);

} // namespace modDragAndDrop
