#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// Breaks one table of the open database for the rest of a scope, through a connection of its
// own, and mends it at the end. The program's connection meets the fault on its next
// statement on the table.
class TableFault {
public:
    enum Kind {
        Missing,        // the table is gone: every statement on it fails
        RefusesWrites,  // reads work; every insert, update and delete fails
        RowsUnreadable, // "select *" fails on the rows that match `rows` (all by default);
                        // reads of named columns work, and so do writes of other rows
    };
    TableFault(const QString& table, Kind kind, const QString& rows = QStringLiteral("1"));
    ~TableFault();
    TableFault(const TableFault&) = delete;
    TableFault& operator=(const TableFault&) = delete;

private:
    void Run(const QString& sql);
    QStringList Columns();

    QString table_;
    Kind kind_;
    sqlite3* db_ = nullptr;
};
