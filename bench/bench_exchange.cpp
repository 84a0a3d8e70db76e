// Exchange on the twenty-year database: the calendar exported as iCalendar, that export imported
// into an empty database (read, previewed and written in one transaction), and the ten
// thousand Thoughts exported as a folder of Markdown files.
#include "LargeDb.h"

#include "data/modDB.h"
#include "exchange/Exchange.h"
#include "platform/Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

QString g_folder;

void Connect(const QString& folder) {
    gConn.reset();
    App::SetPath(folder);
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
}

QString Export() {
    return g_folder + "/out.ics";
}

void BM_ExportCalendar(benchmark::State& state) {
    for (auto _ : state)
        if (!Exchange::ExportCalendar(Export(), {}))
            state.SkipWithError("not exported");
    state.counters["bytes"] = double(QFileInfo(Export()).size());
}

void BM_ImportIntoEmptyDatabase(benchmark::State& state) {
    const QString empty = g_folder + "/empty";
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(empty).removeRecursively();
        QDir().mkpath(empty);
        QFile::copy(PIMORA_TEMPLATE_DB, empty + "/pengkalan.dat");
        QFile::setPermissions(empty + "/pengkalan.dat", QFile::ReadOwner | QFile::WriteOwner);
        Connect(empty);
        state.ResumeTiming();
        const Exchange::CalendarPlan plan = Exchange::ReadCalendar(Export(), {});
        Exchange::Import(plan, {}, QStringLiteral("Thoughts"), QDateTime::currentDateTime());
        written = int(plan.journals.size() + plan.events.size());
    }
    state.counters["rows"] = written;
    Connect(g_folder);
}

// Each run writes a folder of its own: ext4 makes files slowly for half a minute after as many
// were deleted (it looks for recently freed inodes), which no user's export meets.
void BM_ExportTenThousandThoughts(benchmark::State& state) {
    static int run = 0;
    for (auto _ : state)
        if (!Exchange::ExportThoughts(g_folder + QStringLiteral("/Thoughts-%1").arg(++run)))
            state.SkipWithError("not exported");
}

BENCHMARK(BM_ExportCalendar)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ImportIntoEmptyDatabase)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportTenThousandThoughts)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString large = LargeDatabase();
    if (large.isEmpty())
        return 1;
    g_folder = QStringLiteral(PIMORA_BENCH_DIR "/exchange-bench");
    QDir(g_folder).removeRecursively(); // what a run that failed left
    QDir().mkpath(g_folder);
    if (!QFile::copy(large, g_folder + "/pengkalan.dat"))
        return 1;
    Connect(g_folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gConn.reset();
    QDir(g_folder).removeRecursively();
    return 0;
}
