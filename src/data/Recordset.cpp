#include "data/Recordset.h"

#include "data/EngineErrors.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <sqlite3.h>

namespace {

QVariant ReadColumn(sqlite3_stmt* stmt, int i, ColumnKind kind) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, i)));
    }
    default:
        break;
    }
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    const QString text = QString::fromUtf8(data, sqlite3_column_bytes(stmt, i));
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

void Recordset::Open(const QString& source, Connection& connection) {
    if (open_)
        throw EngineError::ObjectOpen();
    sqlite3_stmt* stmt = connection.Prepare(source);
    const int columns = sqlite3_column_count(stmt);
    names_.clear();
    byName_.clear();
    rows_.clear();
    std::vector<ColumnKind> kinds(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        names_ << name;
        byName_.insert(name.toLower(), i);
        const char* declared = sqlite3_column_decltype(stmt, i);
        kinds[static_cast<size_t>(i)] = ColumnKindOf(QString::fromLatin1(declared ? declared : ""));
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i)
            row.push_back(ReadColumn(stmt, i, kinds[static_cast<size_t>(i)]));
        rows_.push_back(std::move(row));
    }
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
    names_.clear();
    byName_.clear();
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
    const auto it = byName_.constFind(name.toLower());
    if (it == byName_.constEnd())
        throw EngineError::ItemNotFound();
    return rows_[row_][static_cast<size_t>(*it)];
}

QVariant Recordset::Field(int index) const {
    RequireRow();
    if (index < 0 || index >= FieldCount())
        throw EngineError::ItemNotFound();
    return rows_[row_][static_cast<size_t>(index)];
}
