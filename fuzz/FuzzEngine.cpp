// Statement texts through the Jet-dialect translator and the engine, on a scratch database.
// Each runs in a transaction that is rolled back. Texts that could reach outside the file
// (attaching, vacuuming into, extensions, pragmas) are left out, and so are the engine's own
// generators of unbounded work (recursive queries, huge blobs and strings): the program never
// sends them, and what is fuzzed here is the translation and the wrapper, not SQLite.
#include "FuzzSupport.h"

#include "common/RuntimeError.h"
#include "data/Connection.h"
#include "data/Recordset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

Connection& Scratch() {
    static QTemporaryDir dir;
    static Connection connection;
    if (connection.State() == ObjectState::Closed) {
        const QString file = dir.filePath(QStringLiteral("pengkalan.dat"));
        QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), file);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        connection.Open(QStringLiteral("Data Source=") + file);
    }
    return connection;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString sql = Text(data, size);
    for (const char* outside :
         {"attach", "vacuum", "load_extension", "pragma", "detach", "recursive", "randomblob",
          "zeroblob", "printf", "format", "replace", "char("})
        if (sql.contains(QLatin1String(outside), Qt::CaseInsensitive))
            return 0;
    Connection& c = Scratch();
    try {
        c.BeginTrans();
    } catch (const RuntimeError&) {
        return 0;
    }
    try {
        if (sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive)) {
            Recordset rs;
            rs.Open(sql, c);
            for (; !rs.Eof(); rs.MoveNext())
                for (int i = 0; i < rs.FieldCount(); ++i)
                    (void)rs.Field(i);
        } else {
            c.Execute(sql);
        }
    } catch (const RuntimeError&) {
    }
    try {
        c.RollbackTrans();
    } catch (const RuntimeError&) {
    }
    return 0;
}
