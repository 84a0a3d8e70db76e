// Wall time from exec to the main window shown (then quit), Pimora against a minimal Qt
// Widgets program, both on the offscreen platform, in one run.
#include "RatioReporter.h"

#include <QDir>
#include <QFile>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void RunProcess(benchmark::State& state, const char* exe) {
    char* argv[] = {const_cast<char*>(exe), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, exe, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not end cleanly");
            return;
        }
    }
}

void BM_StartMinimalQt(benchmark::State& state) {
    RunProcess(state, PIMORA_BENCH_DIR "/startprobe_minimal");
}
void BM_StartPimora(benchmark::State& state) {
    RunProcess(state, PIMORA_BENCH_DIR "/startprobe_pimora");
}

BENCHMARK(BM_StartMinimalQt)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_StartPimora)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The probe starts on an existing database, as every start but the first does.
    const QString db = QStringLiteral(PIMORA_BENCH_DIR "/pengkalan.dat");
    QFile::remove(db);
    if (!QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), db))
        return 1;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_StartPimora", "BM_StartMinimalQt", 1.3,
                        "start-up, Pimora / minimal Qt program");
    benchmark::Shutdown();
    return 0;
}
