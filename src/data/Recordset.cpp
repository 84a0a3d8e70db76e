#include "data/Recordset.h"

#include "data/EngineErrors.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <sqlite3.h>

namespace {

QVariant TextValue(const QByteArray& bytes, ColumnKind kind) {
    const QString text = QString::fromUtf8(bytes);
    if (kind == ColumnKind::Date || kind == ColumnKind::DateTime) {
        if (text.size() == 10) {
            const QDate d = QDate::fromString(text, Qt::ISODate);
            if (d.isValid())
                return d;
        } else {
            const QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (dt.isValid())
                return dt;
        }
    } else if (kind == ColumnKind::Time) {
        const QTime t = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        if (t.isValid())
            return t;
    }
    return text;
}

} // namespace

Recordset::Cell Recordset::ReadCell(sqlite3_stmt* stmt, int i) {
    Cell cell;
    cell.type = static_cast<quint8>(sqlite3_column_type(stmt, i));
    switch (cell.type) {
    case SQLITE_INTEGER:
        cell.integer = sqlite3_column_int64(stmt, i);
        break;
    case SQLITE_FLOAT:
        cell.real = sqlite3_column_double(stmt, i);
        break;
    case SQLITE_BLOB:
        cell.bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                                sqlite3_column_bytes(stmt, i));
        break;
    case SQLITE_TEXT:
        // Kept as the engine's bytes; made text only when the field is read.
        cell.bytes = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                sqlite3_column_bytes(stmt, i));
        break;
    default:
        break;
    }
    return cell;
}

QVariant Recordset::Value(const Cell& cell, ColumnKind kind) {
    switch (cell.type) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(cell.integer));
    case SQLITE_FLOAT:
        return QVariant(cell.real);
    case SQLITE_BLOB:
        return QVariant(cell.bytes);
    case SQLITE_TEXT:
        return TextValue(cell.bytes, kind);
    default:
        return {};
    }
}

void Recordset::Open(const QString& source, Connection& connection) {
    if (open_)
        throw EngineError::ObjectOpen();
    Connection::Prepared& prepared = connection.Prepare(source);
    sqlite3_stmt* stmt = prepared.stmt;
    columns_ = Connection::ColumnsOf(prepared);
    const int columns = static_cast<int>(columns_->kinds.size());
    rows_.clear();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Cell> row;
        row.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(ReadCell(stmt, i));
        rows_.push_back(std::move(row));
    }
    connection.NoteSystemError(rc);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE) {
        rows_.clear();
        connection.Fail(rc);
    }
    row_ = 0;
    open_ = true;
}

void Recordset::Close() {
    if (!open_)
        throw EngineError::ObjectClosed();
    open_ = false;
    rows_.clear();
    columns_.reset();
    row_ = 0;
}

void Recordset::MoveNext() {
    if (Eof())
        throw EngineError::NoCurrentRecord();
    ++row_;
}

void Recordset::RequireRow() const {
    if (!open_ || Eof())
        throw EngineError::NoCurrentRecord();
}

QVariant Recordset::Field(const QString& name) const {
    RequireRow();
    const auto it = columns_->byName.constFind(name.toLower());
    if (it == columns_->byName.constEnd())
        throw EngineError::ItemNotFound();
    return Value(rows_[row_][static_cast<size_t>(*it)], columns_->kinds[static_cast<size_t>(*it)]);
}

QVariant Recordset::Field(int index) const {
    RequireRow();
    if (index < 0 || index >= FieldCount())
        throw EngineError::ItemNotFound();
    return Value(rows_[row_][static_cast<size_t>(index)],
                 columns_->kinds[static_cast<size_t>(index)]);
}
