#pragma once

#include "data/Connection.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

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
    int FieldCount() const { return static_cast<int>(names_.size()); }
    const QStringList& FieldNames() const { return names_; }

private:
    void RequireRow() const;

    bool open_ = false;
    QStringList names_;
    QHash<QString, int> byName_; // lower-case name to position
    std::vector<std::vector<QVariant>> rows_;
    size_t row_ = 0;
};
