#pragma once

#include <QList>
#include <QString>
#include <optional>

// The Thoughts table (pmThoughts): one row a node, under its parent's name ("Thoughts" for
// the root, which has no row). Every function runs the Thoughts' own statement through the
// one connection and throws the engine's error for its caller to report.
namespace ThoughtStore {

struct ThoughtRow {
    QString name; // the key
    QString caption;
};

// The nodes under the root, in name order, and a node's children as the table returns them,
// for building the tree.
QList<ThoughtRow> TopLevel();
QList<ThoughtRow> ChildrenOf(const QString& key);
// A node's children as the deletion of its branch reads them, and only their names, as the
// deletion of one node asks whether it has any.
QList<ThoughtRow> ChildrenToDelete(const QString& key);
bool HasChildren(const QString& key);

// A new node captioned "New Node" under the parent; throws the engine's constraint error when
// the table holds the name already.
void Add(const QString& name, const QString& parentKey);
void Delete(const QString& key);
// The caption stored trimmed, by the rename dialog and by the rename in place: each has its
// own statement.
void RenameByDialog(const QString& key, const QString& caption);
void RenameInPlace(const QString& key, const QString& caption);

// The node's note, trimmed; nothing when the node has no row.
std::optional<QString> NoteOf(const QString& key);
// The note stored trimmed of spaces.
void SaveNote(const QString& key, const QString& note);

// The number of rows, as the table gives it; nothing when it gives no row.
std::optional<QString> Count();
void Clear();

// The nodes whose note or caption holds the text (anywhere, any letter case, a percent sign
// as itself, the blanks around it ignored), and whether one node's note holds it.
QList<ThoughtRow> Search(const QString& text);
bool NoteHolds(const QString& key, const QString& text);

} // namespace ThoughtStore
