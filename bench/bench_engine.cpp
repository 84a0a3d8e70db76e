// A one-row select by key through the engine's Recordset against the same query prepared
// directly on SQLite, on the same file, in one run.
#include "RatioReporter.h"

#include "data/Recordset.h"
#include "data/modDB.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

constexpr int kNodes = 10000;
QString g_file;

QString Key(int i) {
    return QStringLiteral("2026%1").arg(i, 10, 10, QLatin1Char('0'));
}

void BM_RecordsetSelectByKey(benchmark::State& state) {
    Connection conn;
    conn.Open(QStringLiteral("Data Source=") + g_file);
    int i = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        Recordset rs;
        rs.Open(QStringLiteral("select * from pmTHoughts where thoname = '") + Key(i++ % kNodes) +
                    QStringLiteral("'"),
                conn);
        bytes += static_cast<size_t>(rs.Field(QStringLiteral("thodata")).toString().size());
        rs.Close();
    }
    benchmark::DoNotOptimize(bytes);
}

void BM_RawSqliteSelectByKey(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "select * from pmThoughts where thoname = ?", -1, &stmt, nullptr);
    int i = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const QString key = Key(i++ % kNodes);
        sqlite3_bind_text16(stmt, 1, key.utf16(), static_cast<int>(key.size() * 2),
                            SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            // The same work a caller does with a row: every column as text.
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                const QString value = QString::fromUtf8(text, sqlite3_column_bytes(stmt, c));
                if (c == 3)
                    bytes += static_cast<size_t>(value.size());
            }
        }
        sqlite3_reset(stmt);
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

BENCHMARK(BM_RawSqliteSelectByKey)->MinTime(2);
BENCHMARK(BM_RecordsetSelectByKey)->MinTime(2);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_file = dir.filePath(QStringLiteral("pengkalan.dat"));
    if (!QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), g_file))
        return 1;
    {
        Connection conn;
        conn.Open(QStringLiteral("Data Source=") + g_file);
        conn.BeginTrans();
        for (int i = 0; i < kNodes; ++i)
            conn.Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent) "
                                        "values ('") +
                         Key(i) + QStringLiteral("','Node %1', 'Thoughts')").arg(i));
        conn.Execute(QStringLiteral("update pmThoughts set thoData = 'A note of some length, "
                                    "like the ones people keep.'"));
        conn.CommitTrans();
        conn.Close();
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_RecordsetSelectByKey", "BM_RawSqliteSelectByKey", 2.0,
                        "select by key, Recordset / raw SQLite");
    benchmark::Shutdown();
    return 0;
}
