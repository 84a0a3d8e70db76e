#pragma once

#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

// Column kinds the translator cares about.
enum class ColumnKind { Other, Text, Date, Time, DateTime };

// The kind of a column from its declared type ("DATE", "TEXT(25)", "TIMESTAMP", ...).
ColumnKind ColumnKindOf(QStringView declared);

// Table (lower case) to column (lower case) to kind.
using SchemaKinds = QHash<QString, QHash<QString, ColumnKind>>;

// A statement split into its shape and its literal values. Two statements that differ only
// in their literals share a shape, and so a prepared statement.
struct JetStatement {
    enum class LiteralType { Text, Date }; // 'quoted' or #date#
    struct Literal {
        LiteralType type;
        QString value; // quotes undone; the date literal's inner text
    };
    QString shape;
    std::vector<Literal> literals;
};

// Splits a Jet-dialect text; throws RuntimeError (Syntax) on an unterminated literal.
JetStatement SplitJet(QStringView sql);

// How a literal is bound.
enum class BindAs {
    Text,       // as it is
    DateOrText, // a #date# literal: always a date; its ISO text
    TextToDate, // quoted text meeting a DATE/TIME column: its ISO text when it reads as one
    TextToTime,
};

struct TranslatedStatement {
    QString sqlite;            // the SQLite text, a ?N for each literal
    std::vector<BindAs> binds; // one per literal
    bool changesSchema = false;
};

// Rewrites a split statement for SQLite, using the schema for literal contexts.
TranslatedStatement TranslateJet(const JetStatement& statement, const SchemaKinds& schema);

// The value bound for a literal; throws RuntimeError on a date that does not read.
QString BindValue(const JetStatement::Literal& literal, BindAs how);
