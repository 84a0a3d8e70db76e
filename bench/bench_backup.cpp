// Backups of the twenty-year database: a copy against a plain copy of the file with fsync, the
// list of forty copies as the dialog shows it, and a restore with the window refreshed, all on
// a copy of the large database in a folder of their own.
#include "LargeDb.h"
#include "RatioReporter.h"

#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "shell/frmBackups.h"
#include "shell/frmMain.h"
#include "store/Backups.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTreeWidget>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString g_folder;
frmMain* g_window = nullptr;

// Every question is answered Yes, as the user who asked for the restore would.
class YesPrompter : public Prompter {
public:
    MsgResult Message(const QString&, MsgButtons, MsgIcon, const QString&) override {
        return MsgResult::Yes;
    }
    QString Input(const QString&, const QString&, const QString& reply) override { return reply; }
};

void BM_FileCopyWithFsync(benchmark::State& state) {
    const QByteArray from = QFile::encodeName(DatabaseFile());
    const QByteArray to = QFile::encodeName(g_folder + "/plain-copy.dat");
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int in = ::open(from.constData(), O_RDONLY);
        const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ssize_t n;
        while ((n = ::read(in, buffer.data(), buffer.size())) > 0)
            if (::write(out, buffer.data(), static_cast<size_t>(n)) != n)
                state.SkipWithError("write failed");
        ::fsync(out);
        ::close(out);
        ::close(in);
    }
    QFile::remove(QFile::decodeName(to));
}

void BM_Backup(benchmark::State& state) {
    for (auto _ : state) {
        const Backups::Entry e = Backups::Make(Backups::Reason::OnRequest);
        state.PauseTiming();
        QFile::remove(e.path);
        state.ResumeTiming();
    }
}

// Forty copies under their own names (links to one copy: the list reads each as a file).
void BM_ListFortyBackups(benchmark::State& state) {
    const Backups::Entry one = Backups::Make(Backups::Reason::Daily);
    const QDateTime made = one.made;
    for (int i = 1; i < 40; ++i) {
        const QString name = QStringLiteral("%1/pengkalan-%2-%3.dat")
                                 .arg(Backups::Folder(),
                                      made.addDays(-i).toString(QStringLiteral("yyyyMMdd-HHmmss")),
                                      i % 2 ? QStringLiteral("daily") : QStringLiteral("import"));
        ::link(QFile::encodeName(one.path).constData(), QFile::encodeName(name).constData());
    }
    for (auto _ : state) {
        frmBackups list([](const Backups::Entry&) { return false; }, g_window);
        benchmark::DoNotOptimize(list.findChild<QTreeWidget*>()->topLevelItemCount());
    }
    state.counters["listed"] = static_cast<double>(Backups::List().size());
    for (const Backups::Entry& e : Backups::List())
        QFile::remove(e.path);
}

void BM_RestoreWithWindowRefreshed(benchmark::State& state) {
    const Backups::Entry copy = Backups::Make(Backups::Reason::OnRequest);
    // The dialog is driven as a user would: the newest copy but the one just made, Restore.
    InstallModalRunner([&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvwBackups"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(1) == QLatin1String("On request"))
                list->setCurrentItem(list->topLevelItem(i));
        dialog.findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();
        return dialog.result();
    });
    for (auto _ : state) {
        g_window->findChild<QAction*>(QStringLiteral("mnuFileRestore"))->trigger();
        state.PauseTiming();
        for (const Backups::Entry& e : Backups::List())
            if (e.reason == Backups::Reason::Restore)
                QFile::remove(e.path);
        state.ResumeTiming();
    }
    QFile::remove(copy.path);
}

BENCHMARK(BM_FileCopyWithFsync)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListFortyBackups)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RestoreWithWindowRefreshed)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString large = LargeDatabase();
    if (large.isEmpty())
        return 1;
    g_folder = QStringLiteral(PIMORA_BENCH_DIR "/backup-bench");
    QDir(g_folder).removeRecursively();
    QDir().mkpath(g_folder);
    if (!QFile::copy(large, g_folder + "/pengkalan.dat"))
        return 1;
    App::SetPath(g_folder);
    InstallPrompter(std::make_unique<YesPrompter>());
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
    auto window = std::make_unique<frmMain>();
    window->Load();
    // The tree is rebuilt by a restore once it has been shown.
    window->findChild<QAction*>(QStringLiteral("mnuFunctionsThoughts"))->trigger();
    g_window = window.get();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_Backup", "BM_FileCopyWithFsync", 1.5,
                        "backup / plain copy with fsync (median)");
    reporter.PrintAbsolute("BM_Backup", "BM_FileCopyWithFsync", 300'000, "backup (median)");
    reporter.PrintAbsolute("BM_ListFortyBackups", "BM_FileCopyWithFsync", 200'000,
                           "list of 40 backups (median)");
    reporter.PrintAbsolute("BM_RestoreWithWindowRefreshed", "BM_FileCopyWithFsync", 1'000'000,
                           "restore, window refreshed (median)");
    benchmark::Shutdown();
    window.reset();
    return 0;
}
