#include "TableFault.h"

#include "data/modDB.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

TableFault::TableFault(const QString& table, Kind kind, const QString& rows)
    : table_(table), kind_(kind) {
    EXPECT_EQ(sqlite3_open(DatabaseFile().toUtf8().constData(), &db_), SQLITE_OK);
    switch (kind_) {
    case Missing:
        Run(QStringLiteral("alter table %1 rename to %1_away").arg(table_));
        break;
    case RefusesWrites:
        for (const char* verb : {"insert", "update", "delete"})
            Run(QStringLiteral("create trigger fault_%2 before %2 on %1 begin select "
                               "raise(abort, 'refused for the test'); end")
                    .arg(table_, QString::fromLatin1(verb)));
        break;
    case RowsUnreadable: {
        // The table hides behind a view of the same name with one more column that cannot be
        // computed on the chosen rows: a read that names its columns works, "select *" fails
        // on those rows, and writes pass through to the table (a write materialises the rows
        // it touches, so it fails on the chosen ones).
        const QStringList columns = Columns();
        QStringList values, same;
        for (const QString& c : columns) {
            values << QStringLiteral("new.") + c;
            same << QStringLiteral("%1 is old.%1").arg(c);
        }
        QStringList sets;
        for (const QString& c : columns)
            sets << QStringLiteral("%1 = new.%1").arg(c);
        Run(QStringLiteral("alter table %1 rename to %1_real").arg(table_));
        Run(QStringLiteral("create view %1 as select *, case when %2 then json_extract('not "
                           "json', '$') end as fault from %1_real")
                .arg(table_, rows));
        Run(QStringLiteral("create trigger fault_insert instead of insert on %1 begin insert into "
                           "%1_real (%2) values (%3); end")
                .arg(table_, columns.join(','), values.join(',')));
        Run(QStringLiteral("create trigger fault_update instead of update on %1 begin update "
                           "%1_real set %2 where %3; end")
                .arg(table_, sets.join(','), same.join(QStringLiteral(" and "))));
        Run(QStringLiteral("create trigger fault_delete instead of delete on %1 begin delete "
                           "from %1_real where %2; end")
                .arg(table_, same.join(QStringLiteral(" and "))));
        break;
    }
    }
}

QStringList TableFault::Columns() {
    QStringList names;
    sqlite3_stmt* info = nullptr;
    const QByteArray sql = QStringLiteral("pragma table_info(%1)").arg(table_).toUtf8();
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.constData(), -1, &info, nullptr), SQLITE_OK);
    while (sqlite3_step(info) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
    sqlite3_finalize(info);
    return names;
}

TableFault::~TableFault() {
    switch (kind_) {
    case Missing:
        Run(QStringLiteral("alter table %1_away rename to %1").arg(table_));
        break;
    case RefusesWrites:
        for (const char* verb : {"insert", "update", "delete"})
            Run(QStringLiteral("drop trigger fault_%1").arg(QString::fromLatin1(verb)));
        break;
    case RowsUnreadable:
        Run(QStringLiteral("drop view %1").arg(table_));
        Run(QStringLiteral("alter table %1_real rename to %1").arg(table_));
        break;
    }
    sqlite3_close(db_);
}

void TableFault::Run(const QString& sql) {
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err), SQLITE_OK)
        << sql.toStdString() << ": " << (err ? err : "");
    sqlite3_free(err);
}
