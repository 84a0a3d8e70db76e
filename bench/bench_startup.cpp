// Wall time from exec to the main window shown, Pimora against a minimal Qt Widgets program,
// both on the offscreen platform, in one run. Each probe writes one byte to its standard
// output once its window is up; the time stops there, so tearing down is not counted.
// Pimora starts twice: on an empty database and on twenty years of entries.
#include "LargeDb.h"
#include "RatioReporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

QString g_largeFolder;

void RunProcess(benchmark::State& state, const std::string& exe) {
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    for (auto _ : state) {
        int shown[2];
        if (pipe(shown) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, shown[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, shown[0]);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(shown[1]);
        char byte = 0;
        const bool up = spawned == 0 && read(shown[0], &byte, 1) == 1;
        const auto end = std::chrono::steady_clock::now();
        close(shown[0]);
        int status = 0;
        if (spawned == 0)
            waitpid(pid, &status, 0);
        if (!up || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not show its window and end cleanly");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_StartMinimalQt(benchmark::State& state) {
    RunProcess(state, PIMORA_BENCH_DIR "/startprobe_minimal");
}
void BM_StartMinimalQtWithText(benchmark::State& state) {
    RunProcess(state, PIMORA_BENCH_DIR "/startprobe_minimal_text");
}
void BM_StartPimora(benchmark::State& state) {
    RunProcess(state, PIMORA_BENCH_DIR "/startprobe_pimora");
}
void BM_StartPimoraTwentyYears(benchmark::State& state) {
    RunProcess(state, (g_largeFolder + QStringLiteral("/startprobe_pimora")).toStdString());
}

BENCHMARK(BM_StartMinimalQt)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartMinimalQtWithText)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartPimora)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(BM_StartPimoraTwentyYears)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

// A probe in a folder of its own, beside a copy of the given database: the program finds its
// database next to itself.
bool Prepare(const QString& folder, const QString& database) {
    QDir().mkpath(folder);
    const QString probe = folder + QStringLiteral("/startprobe_pimora");
    const QString db = folder + QStringLiteral("/pengkalan.dat");
    for (const QString& f : {probe, db, db + QStringLiteral("-wal"), db + QStringLiteral("-shm")})
        QFile::remove(f);
    return QFile::copy(QStringLiteral(PIMORA_BENCH_DIR "/startprobe_pimora"), probe) &&
           QFile::copy(database, db);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Every start but the first finds its database there already.
    const QString db = QStringLiteral(PIMORA_BENCH_DIR "/pengkalan.dat");
    QFile::remove(db);
    if (!QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), db))
        return 1;
    const QString large = LargeDatabase();
    g_largeFolder = QStringLiteral(PIMORA_BENCH_DIR "/start-twenty-years");
    if (large.isEmpty() || !Prepare(g_largeFolder, large))
        return 1;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_StartPimora", "BM_StartMinimalQt", 1.3,
                        "start-up, empty database / minimal Qt");
    reporter.PrintRatio("BM_StartPimoraTwentyYears", "BM_StartMinimalQt", 1.3,
                        "start-up, twenty years / minimal Qt");
    reporter.PrintRatio("BM_StartPimora", "BM_StartMinimalQtWithText",
                        "start-up, empty database / minimal Qt with text");
    reporter.PrintRatio("BM_StartPimoraTwentyYears", "BM_StartMinimalQtWithText",
                        "start-up, twenty years / minimal Qt with text");
    benchmark::Shutdown();
    return 0;
}
