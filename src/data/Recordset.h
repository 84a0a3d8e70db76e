#pragma once

#include "data/Connection.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

struct sqlite3_stmt;

// A static, read-only snapshot: the whole result is read when it opens, and later changes to
// the tables do not show in it.
class Recordset {
public:
    void Open(const QString& source, Connection& connection);
    void Close();
    // What an error handler does with a recordset it may or may not have opened.
    void CloseIfOpen() {
        if (open_)
            Close();
    }
    ObjectState State() const { return open_ ? ObjectState::Open : ObjectState::Closed; }

    bool Eof() const { return row_ >= rows_.size(); }
    bool Bof() const { return rows_.empty(); }
    void MoveNext();
    void MoveFirst() { row_ = 0; }
    qsizetype RecordCount() const { return static_cast<qsizetype>(rows_.size()); }

    // A field of the current row by name in any letter case, or by position. Null, text,
    // integer, real, QDate for DATE columns, QTime for TIME columns.
    QVariant Field(const QString& name) const;
    QVariant Field(int index) const;
    int FieldCount() const { return columns_ ? static_cast<int>(columns_->names.size()) : 0; }
    QStringList FieldNames() const { return columns_ ? columns_->names : QStringList(); }

private:
    // A value as the engine gave it; a field becomes a QVariant only when it is read, so a
    // long text nobody reads costs a copy of its bytes and nothing more.
    struct Cell {
        QByteArray bytes; // text (UTF-8) or blob
        qint64 integer = 0;
        double real = 0;
        quint8 type = 5; // SQLITE_NULL
    };
    static Cell ReadCell(sqlite3_stmt* stmt, int i);
    static QVariant Value(const Cell& cell, ColumnKind kind);
    void RequireRow() const;

    bool open_ = false;
    std::shared_ptr<const Connection::ColumnInfo> columns_;
    std::vector<std::vector<Cell>> rows_;
    size_t row_ = 0;
};
