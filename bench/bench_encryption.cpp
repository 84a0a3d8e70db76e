// The encrypted database against the plain one, both made from the twenty-year database, in
// one run and through the windows: a journal save, moving one day, the journal search found
// on no day (on a fresh connection, and repeated), opening with the key derived, and turning
// encryption on.
#include "LargeDb.h"
#include "RatioReporter.h"

#include "calendar/CalGridView.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPart.h"
#include "data/SealedVfs.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "shell/frmMain.h"
#include "store/Database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <memory>

namespace {

const QString kPassword = QStringLiteral("twenty years of diary");

class SilentPrompter : public Prompter {
public:
    MsgResult Message(const QString&, MsgButtons buttons, MsgIcon, const QString&) override {
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }
};

QString g_large;
QString g_folder[2]; // plain, encrypted
int g_open = -1;
std::unique_ptr<frmMain> g_window;

template <class T> T* Named(const char* name) {
    return g_window->findChild<T*>(QString::fromLatin1(name));
}

void Close() {
    g_window.reset();
    if (gConn)
        CloseDatabase();
    SealedVfs::SetSessionKey(nullptr);
    g_open = -1;
}

// Opens one of the two folders as a start does: the key made from the password, then the file.
bool OpenFolder(int which) {
    App::SetPath(g_folder[which]);
    if (which == 1 && Database::Unlock(kPassword) != Database::UnlockResult::Opened)
        return false;
    return OpenDatabase() && CheckDBVersion();
}

// The main window on one of the two databases.
void Use(int which) {
    if (g_open == which)
        return;
    Close();
    if (!OpenFolder(which))
        std::abort();
    g_window = std::make_unique<frmMain>();
    g_window->Load();
    g_open = which;
}

CalGridModel& Cells() {
    return g_window->findChild<CalendarPart*>()->Grid().Cells();
}

void Month() {
    g_window->findChild<CalendarPart*>()->Grid().RenderCalMonth(QStringLiteral("December"),
                                                                QStringLiteral("2026"));
}

// A keystroke in the day, so that leaving it saves, and the move that saves it.
void BM_JournalSave(benchmark::State& state, int which) {
    Use(which);
    Month();
    Cells().MoveTo(2, 3);
    bool onNinth = true, add = true;
    for (auto _ : state) {
        auto* box = Named<QPlainTextEdit>("rtfCalQJournal");
        QTextCursor c(box->document());
        if (add)
            c.insertText(QStringLiteral("x"));
        else
            c.deleteChar();
        Cells().MoveTo(2, onNinth ? 4 : 3);
        onNinth = !onNinth;
        add = !add;
    }
}

void BM_MoveOneDay(benchmark::State& state, int which) {
    Use(which);
    Month();
    bool onNinth = true;
    for (auto _ : state) {
        Cells().MoveTo(2, onNinth ? 4 : 3);
        onNinth = !onNinth;
    }
}

void Search() {
    Named<QRadioButton>("optCalSearchAll")->setChecked(true);
    Named<QLineEdit>("txtCalSearch")->setText(QStringLiteral("zebra"));
    Named<QPushButton>("cmdCalSearch")->click();
}

// The first search of a session: the page cache is empty, every page is read and opened.
void BM_SearchNoDayFirst(benchmark::State& state, int which) {
    Use(which);
    const auto key = SealedVfs::SessionKey();
    for (auto _ : state) {
        state.PauseTiming();
        gConn->Close();
        gConn->Open(ConnectionString(), key);
        state.ResumeTiming();
        Search();
    }
}

void BM_SearchNoDayRepeated(benchmark::State& state, int which) {
    Use(which);
    Search();
    for (auto _ : state)
        Search();
}

// From nothing open to the schema checked, the key made from the password on the way.
void BM_Open(benchmark::State& state, int which) {
    Close();
    for (auto _ : state) {
        if (!OpenFolder(which))
            state.SkipWithError("cannot open");
        state.PauseTiming();
        CloseDatabase();
        SealedVfs::SetSessionKey(nullptr);
        state.ResumeTiming();
    }
}

// The plain twenty years, encrypted as the preferences do it (a backup folder of its own
// is left empty here: rewriting copies is the same work again, per copy).
void BM_TurnOn(benchmark::State& state) {
    Close();
    int reports = 0;
    QTemporaryDir scratch;
    for (auto _ : state) {
        state.PauseTiming();
        const QString db = scratch.filePath(QStringLiteral("pengkalan.dat"));
        QFile::remove(db);
        QFile::copy(g_large, db);
        App::SetPath(scratch.path());
        if (!OpenDatabase())
            state.SkipWithError("cannot open");
        state.ResumeTiming();
        Database::Encrypt(kPassword, [&](int, int) {
            ++reports;
            return true;
        });
        state.PauseTiming();
        CloseDatabase();
        SealedVfs::SetSessionKey(nullptr);
        state.ResumeTiming();
    }
    state.counters["progress reports"] = reports / static_cast<double>(state.iterations());
}

void Register() {
    const char* names[] = {"Plain", "Encrypted"};
    for (int which : {0, 1}) {
        const std::string n = names[which];
        benchmark::RegisterBenchmark(("BM_JournalSave" + n).c_str(), BM_JournalSave, which)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("BM_MoveOneDay" + n).c_str(), BM_MoveOneDay, which)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("BM_SearchNoDayFirst" + n).c_str(), BM_SearchNoDayFirst,
                                     which)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
        // A few milliseconds, which the machine's other work moves by a fifth: more runs.
        benchmark::RegisterBenchmark(("BM_SearchNoDayRepeated" + n).c_str(), BM_SearchNoDayRepeated,
                                     which)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(11)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("BM_Open" + n).c_str(), BM_Open, which)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    }
    benchmark::RegisterBenchmark("BM_TurnOn", BM_TurnOn)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    g_large = LargeDatabase();
    if (g_large.isEmpty())
        return 1;
    InstallPrompter(std::make_unique<SilentPrompter>());
    QTemporaryDir plain, encrypted;
    g_folder[0] = plain.path();
    g_folder[1] = encrypted.path();
    for (const QString& folder : g_folder)
        if (!QFile::copy(g_large, folder + QStringLiteral("/pengkalan.dat")))
            return 1;
    App::SetPath(g_folder[1]);
    if (!OpenDatabase())
        return 1;
    Database::Encrypt(kPassword);
    CloseDatabase();
    SealedVfs::SetSessionKey(nullptr);

    benchmark::Initialize(&argc, argv);
    Register();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    Close();
    reporter.PrintRatio("BM_JournalSaveEncrypted", "BM_JournalSavePlain", 1.3,
                        "journal save, encrypted (median)");
    reporter.PrintRatio("BM_MoveOneDayEncrypted", "BM_MoveOneDayPlain", 1.2,
                        "move one day, encrypted (median)");
    reporter.PrintRatio("BM_SearchNoDayFirstEncrypted", "BM_SearchNoDayFirstPlain", 2.0,
                        "journal search on no day, first (median)");
    reporter.PrintRatio("BM_SearchNoDayRepeatedEncrypted", "BM_SearchNoDayRepeatedPlain", 1.2,
                        "journal search on no day, repeated (median)");
    reporter.PrintAbsolute("BM_OpenEncrypted", "BM_OpenPlain", 1.5e6, "open, key derived (median)");
    reporter.PrintAbsolute("BM_TurnOn", "BM_OpenPlain", 5e6, "turn encryption on (median)");
    benchmark::Shutdown();
    return 0;
}
