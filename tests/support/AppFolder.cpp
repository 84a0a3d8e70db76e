#include "AppFolder.h"

#include "common/AppGlobals.h"
#include "data/Recordset.h"
#include "data/SealedVfs.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDate>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QTime>
#include <csignal>
#include <gtest/gtest.h>
#include <sqlite3.h>

AppFolder::AppFolder(Setup setup) {
    EXPECT_TRUE(dir_.isValid());
    ResetAppGlobals();
    App::SetTitle("Pimora");
    App::SetPath(dir_.path());
    SingleInstance::SetScope(QString::number(QCoreApplication::applicationPid()));
    gConn.reset();
    gSQL.clear();
    SealedVfs::SetSessionKey(nullptr);
    if (setup != Empty)
        CopyTemplateTo("kosg.dat");
    if (setup == WithDatabase) {
        CopyTemplateTo("pengkalan.dat");
        Connect();
    }
}

AppFolder::~AppFolder() {
    gConn.reset();
    SealedVfs::SetSessionKey(nullptr);
    SingleInstance::Instance().Release();
    App::SetPath(QString());
    ResetAppGlobals();
}

void AppFolder::CopyTemplateTo(const QString& name) const {
    QFile::remove(File(name));
    ASSERT_TRUE(QFile::copy(PIMORA_TEMPLATE_DB, File(name)))
        << "template missing: " << PIMORA_TEMPLATE_DB;
    QFile(File(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

void AppFolder::Connect() const {
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
}

QStringList FilesHolding(const QString& folder, const QString& text) {
    QByteArray le(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray be = le;
    for (qsizetype i = 0; i + 1 < be.size(); i += 2)
        std::swap(be[i], be[i + 1]);
    const QByteArray forms[] = {text.toUtf8(), le, be};
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = f.readAll();
        for (const QByteArray& form : forms)
            if (bytes.contains(form)) {
                found << f.fileName();
                break;
            }
    }
    return found;
}

void Exec(const QString& sql) {
    gConn->Execute(sql);
}

QVariant Scalar(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    return rs.Eof() ? QVariant() : rs.Field(0);
}

int Count(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    return static_cast<int>(rs.RecordCount());
}

QString Rows(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    QString out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QVariant v = rs.Field(i);
            const int type = v.typeId();
            cells << (type == QMetaType::UnknownType ? QString("NULL")
                      : type == QMetaType::QDate     ? '#' + v.toDate().toString(Qt::ISODate) + '#'
                      : type == QMetaType::QTime     ? '@' + v.toTime().toString("HH:mm:ss")
                      : type == QMetaType::QString   ? '\'' + v.toString() + '\''
                                                     : v.toString());
        }
        out += '(' + cells.join(',') + ')';
    }
    return out;
}

RuntimeError ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return RuntimeError(0, {});
}

DiskFull::DiskFull(long long bytes) {
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &before_), 0);
    rlimit limit = before_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
}

DiskFull::~DiskFull() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, handler_);
}

TableFault::TableFault(const QString& table, Kind kind, const QString& rows)
    : table_(table), kind_(kind) {
    EXPECT_EQ(sqlite3_open(DatabaseFile().toUtf8().constData(), &db_), SQLITE_OK);
    if (kind_ == Missing)
        Run(QString("alter table %1 rename to %1_away").arg(table_));
    for (const char* verb : {"insert", "update", "delete"})
        if (kind_ == RefusesWrites)
            Run(QString("create trigger fault_%2 before %2 on %1 begin select raise(abort, "
                        "'refused for the test'); end")
                    .arg(table_, verb));
    if (kind_ != RowsUnreadable && kind_ != RefusesUpdates)
        return;
    // The table hides behind a view of the same name with one more column that cannot be
    // computed on the chosen rows: a read that names its columns works, "select *" fails on
    // those rows, and inserts and deletes pass through to the table (a write materialises the
    // rows it touches, so it fails on the chosen ones). A view takes no update, whatever rows
    // the update would touch.
    QStringList values, same;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db_, QString("pragma table_info(%1)").arg(table_).toUtf8().constData(), -1,
                       &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW) {
        const QString c = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
        values << "new." + c;
        same << QString("%1 is old.%1").arg(c);
    }
    sqlite3_finalize(info);
    const QString columns = QStringList(values).replaceInStrings("new.", "").join(',');
    Run(QString("alter table %1 rename to %1_real").arg(table_));
    Run(QString("create view %1 as select *, case when %2 then json_extract('not json', '$') end "
                "as fault from %1_real")
            .arg(table_, kind_ == RefusesUpdates ? QString("0") : rows));
    Run(QString("create trigger fault_insert instead of insert on %1 begin insert into %1_real "
                "(%2) values (%3); end")
            .arg(table_, columns, values.join(',')));
    Run(QString("create trigger fault_delete instead of delete on %1 begin delete from %1_real "
                "where %2; end")
            .arg(table_, same.join(" and ")));
}

TableFault::~TableFault() {
    if (kind_ == Missing)
        Run(QString("alter table %1_away rename to %1").arg(table_));
    for (const char* verb : {"insert", "update", "delete"})
        if (kind_ == RefusesWrites)
            Run(QString("drop trigger fault_%1").arg(verb));
    if (kind_ == RowsUnreadable || kind_ == RefusesUpdates) { // its triggers go with the view
        Run(QString("drop view %1").arg(table_));
        Run(QString("alter table %1_real rename to %1").arg(table_));
    }
    sqlite3_close(db_);
    // SQLite compiles a statement against the schema it last read, and learns of another
    // connection's change only when it runs one: a read lets the program's connection see the
    // mended table before its next write.
    if (gConn)
        Count("select * from " + table_);
}

void TableFault::Run(const QString& sql) {
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err), SQLITE_OK)
        << sql.toStdString() << ": " << (err ? err : "");
    sqlite3_free(err);
}
