// Moving one day and drawing a month on a large database, the whole handler path with its
// widgets, against the raw SQLite statements the same operations need, in one run.
#include "LargeDb.h"
#include "RatioReporter.h"

#include "calendar/CalGridView.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPart.h"
#include "common/modQXCommFunc.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTreeWidget>
#include <sqlite3.h>

namespace {

// "Nothing found!" and the like are answered at once: a benchmark has nobody to click.
class SilentPrompter : public Prompter {
public:
    MsgResult Message(const QString&, MsgButtons buttons, MsgIcon, const QString&) override {
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }
};

QString g_db;
frmMain* g_window = nullptr;

// A control of the window by its name, as users' automation finds it.
template <class T> T* Named(const char* name) {
    return g_window->findChild<T*>(QString::fromLatin1(name));
}

// Types one character where the cursor stands after a day is loaded (its start), or takes
// it away again: a keystroke, so that leaving the day has a changed journal to save.
void Edit(QPlainTextEdit* box, bool add) {
    QTextCursor c(box->document());
    if (add)
        c.insertText(QStringLiteral("x"));
    else
        c.deleteChar();
}

void BM_MoveOneDay(benchmark::State& state) {
    CalendarPart& cal = *g_window->findChild<CalendarPart*>();
    CalGridModel& cells = cal.Grid().Cells();
    cal.Grid().RenderCalMonth(QStringLiteral("December"), QStringLiteral("2026"));
    cells.MoveTo(2, 3); // 9 December
    bool onNinth = true, add = true;
    for (auto _ : state) {
        Edit(Named<QPlainTextEdit>("rtfCalQJournal"), add);
        cells.MoveTo(2, onNinth ? 4 : 3);
        onNinth = !onNinth;
        add = !add;
    }
}

// 16 December 2026 holds a megabyte of journal, in lines of about eighty characters.
void PutMegabyteJournal() {
    QString text;
    while (text.size() < 1024 * 1024)
        text += QStringLiteral("A long day of writing, line after line, with café and naïve it's "
                               "in it.\n");
    gConn->Execute(QStringLiteral("delete from pmcalendar where caldate = #16 Dec 2026#"));
    gConn->Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values "
                                  "('16 Dec 2026','") +
                   FixQuote(text) + QStringLiteral("')"));
}

// Opening the megabyte day from the day after it; going back is not timed.
void BM_OpenMegabyteDay(benchmark::State& state) {
    CalendarPart& cal = *g_window->findChild<CalendarPart*>();
    CalGridModel& cells = cal.Grid().Cells();
    cal.Grid().RenderCalMonth(QStringLiteral("December"), QStringLiteral("2026"));
    for (auto _ : state) {
        state.PauseTiming();
        cells.MoveTo(3, 4); // 17 December
        state.ResumeTiming();
        cells.MoveTo(3, 3); // 16 December
    }
    if (Named<QPlainTextEdit>("rtfCalQJournal")->document()->characterCount() < 1024 * 1024)
        state.SkipWithError("the megabyte journal was not opened");
}

struct Raw {
    sqlite3* db = nullptr;
    sqlite3_stmt* exists = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_stmt* events = nullptr;
    sqlite3_stmt* journal = nullptr;
    sqlite3_stmt* monthJournals = nullptr;
    sqlite3_stmt* monthEvents = nullptr;
    Raw() {
        sqlite3_open_v2(g_db.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
        auto prepare = [&](const char* sql, sqlite3_stmt** s) {
            sqlite3_prepare_v2(db, sql, -1, s, nullptr);
        };
        prepare("select caldate from pmcalendar where caldate = ?", &exists);
        prepare("update pmcalendar set caljournal = ? where caldate = ?", &update);
        prepare("select * from pmcaleventdate where caldate = ?", &events);
        prepare("select caljournal from pmcalendar where caldate = ?", &journal);
        prepare("select * from pmcalendar where caldate between ? and ? order by caldate asc",
                &monthJournals);
        prepare("select * from pmcaleventdate where caldate between ? and ? order by caldate asc",
                &monthEvents);
    }
    ~Raw() {
        for (sqlite3_stmt* s : {exists, update, events, journal, monthJournals, monthEvents})
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    // Steps a statement through its rows, reading every column as the program would.
    static size_t Drain(sqlite3_stmt* s) {
        size_t n = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                n += static_cast<size_t>(QString::fromUtf8(t, sqlite3_column_bytes(s, c)).size());
            }
        sqlite3_reset(s);
        return n;
    }
    static void Bind(sqlite3_stmt* s, int i, const QString& v) {
        sqlite3_bind_text16(s, i, v.utf16(), static_cast<int>(v.size() * 2), SQLITE_TRANSIENT);
    }
};

void BM_RawMoveOneDay(benchmark::State& state) {
    Raw raw;
    const QString days[] = {QStringLiteral("2026-12-09"), QStringLiteral("2026-12-10")};
    QString texts[2];
    for (int i = 0; i < 2; ++i) {
        Raw::Bind(raw.journal, 1, days[i]);
        sqlite3_step(raw.journal);
        texts[i] =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw.journal, 0)));
        sqlite3_reset(raw.journal);
    }
    int at = 0;
    size_t n = 0;
    for (auto _ : state) {
        // Leave: does the day have a row, then write its journal.
        Raw::Bind(raw.exists, 1, days[at]);
        n += Raw::Drain(raw.exists);
        Raw::Bind(raw.update, 1, texts[at]);
        Raw::Bind(raw.update, 2, days[at]);
        sqlite3_step(raw.update);
        sqlite3_reset(raw.update);
        // Enter: the day's events and journal.
        at = 1 - at;
        Raw::Bind(raw.events, 1, days[at]);
        n += Raw::Drain(raw.events);
        Raw::Bind(raw.journal, 1, days[at]);
        n += Raw::Drain(raw.journal);
    }
    benchmark::DoNotOptimize(n);
}

void BM_RawOpenMegabyteDay(benchmark::State& state) {
    Raw raw;
    size_t n = 0;
    for (auto _ : state) {
        Raw::Bind(raw.events, 1, QStringLiteral("2026-12-16"));
        n += Raw::Drain(raw.events);
        Raw::Bind(raw.journal, 1, QStringLiteral("2026-12-16"));
        n += Raw::Drain(raw.journal);
    }
    benchmark::DoNotOptimize(n);
}

void BM_RenderCalMonth(benchmark::State& state) {
    CalendarPart& cal = *g_window->findChild<CalendarPart*>();
    bool december = true;
    for (auto _ : state) {
        cal.Grid().RenderCalMonth(december ? QStringLiteral("December")
                                           : QStringLiteral("November"),
                                  QStringLiteral("2026"));
        december = !december;
    }
}

void BM_RawRenderMonth(benchmark::State& state) {
    Raw raw;
    bool december = true;
    size_t n = 0;
    for (auto _ : state) {
        const QString from = december ? QStringLiteral("2026-12-01") : QStringLiteral("2026-11-01");
        const QString to = december ? QStringLiteral("2026-12-31") : QStringLiteral("2026-11-30");
        for (sqlite3_stmt* s : {raw.monthJournals, raw.monthEvents}) {
            Raw::Bind(s, 1, from);
            Raw::Bind(s, 2, to);
            n += Raw::Drain(s);
        }
        december = !december;
    }
    benchmark::DoNotOptimize(n);
}

// The Search tab, through its buttons, with what it lists.
void SearchJournal(const QString& text) {
    Named<QRadioButton>("optCalSearchAll")->setChecked(true);
    Named<QLineEdit>("txtCalSearch")->setText(text);
    Named<QPushButton>("cmdCalSearch")->click();
}

void BM_JournalSearchNoDay(benchmark::State& state) {
    for (auto _ : state)
        SearchJournal(QStringLiteral("zebra"));
}

void BM_JournalSearchEveryDay(benchmark::State& state) {
    for (auto _ : state) {
        SearchJournal(QStringLiteral("Dear diary"));
        // Shown: the list lays out and paints the rows in view.
        Named<QTreeWidget>("lvwCalSearch")->grab();
    }
    state.counters["hits"] = Named<QTreeWidget>("lvwCalSearch")->topLevelItemCount();
}

void BM_EventsSearch(benchmark::State& state) {
    Named<QRadioButton>("optCalEventsAll")->setChecked(true);
    Named<QLineEdit>("txtCalEventsSearch")->setText(QStringLiteral("pomegranate"));
    for (auto _ : state)
        Named<QPushButton>("cmdCalEventsSearch")->click();
    state.counters["hits"] = Named<QTreeWidget>("lvwCalSearch")->topLevelItemCount();
}

// The same statements on SQLite with its own LIKE, every column of every row read.
void RawSelect(benchmark::State& state, const char* sql) {
    Raw raw;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw.db, sql, -1, &s, nullptr);
    size_t n = 0;
    for (auto _ : state)
        n += Raw::Drain(s);
    benchmark::DoNotOptimize(n);
    sqlite3_finalize(s);
}

void BM_RawJournalSearchNoDay(benchmark::State& state) {
    RawSelect(state, "select * from pmcalendar where caljournal like '%zebra%' order by caldate "
                     "desc");
}

void BM_RawJournalSearchEveryDay(benchmark::State& state) {
    RawSelect(state, "select * from pmcalendar where caljournal like '%Dear diary%' order by "
                     "caldate desc");
}

void BM_RawEventsSearch(benchmark::State& state) {
    RawSelect(state, "select * from pmcaleventdate where calevent like '%pomegranate%' or "
                     "eventdetails like '%pomegranate%' order by caldate desc");
}

BENCHMARK(BM_RawJournalSearchNoDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_JournalSearchNoDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawJournalSearchEveryDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_JournalSearchEveryDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawEventsSearch)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EventsSearch)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawMoveOneDay)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MoveOneDay)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RawOpenMegabyteDay)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenMegabyteDay)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawRenderMonth)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderCalMonth)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString large = LargeDatabase();
    if (large.isEmpty())
        return 1;
    // Moving between days writes journals: the run works on a copy, the shared file stays.
    QTemporaryDir scratch;
    const QString folder = scratch.path();
    g_db = folder + QStringLiteral("/pengkalan.dat");
    if (!QFile::copy(large, g_db))
        return 1;
    App::SetPath(folder);
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
    InstallPrompter(std::make_unique<SilentPrompter>());
    auto window = std::make_unique<frmMain>();
    window->Load();
    g_window = window.get();
    PutMegabyteJournal();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintAbsolute("BM_MoveOneDay", "BM_RawMoveOneDay", 1000, "move one day (median)");
    reporter.PrintAbsolute("BM_OpenMegabyteDay", "BM_RawOpenMegabyteDay", 50'000,
                           "open a day of 1 MB (median)");
    reporter.PrintAbsolute("BM_RenderCalMonth", "BM_RawRenderMonth", 2000, "draw a month (median)");
    reporter.PrintRatio("BM_JournalSearchNoDay", "BM_RawJournalSearchNoDay", 1.2,
                        "journal search, found on no day (median)");
    reporter.PrintAbsolute("BM_JournalSearchEveryDay", "BM_RawJournalSearchEveryDay", 200'000,
                           "journal search, every day listed");
    reporter.PrintAbsolute("BM_EventsSearch", "BM_RawEventsSearch", 30'000,
                           "events search, one in ten");
    benchmark::Shutdown();
    return 0;
}
