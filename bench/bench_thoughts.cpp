// The Thoughts on the large database: building the whole tree, searching every note, and
// finding the next match in a large note, each against the same work done directly.
#include "LargeDb.h"
#include "RatioReporter.h"

#include "common/AppGlobals.h"
#include "controls/TextFinder.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "shell/frmMain.h"
#include "thoughts/ThoughtsPart.h"
#include "thoughts/ThoughtsSearch.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <sqlite3.h>
#include <vector>

namespace {

QString g_db;
frmMain* g_window = nullptr;

ThoughtsPart& Part() {
    return *g_window->findChild<ThoughtsPart*>();
}

// A control of the window by its name, as users' automation finds it.
template <class T> T* Named(const char* name) {
    return g_window->findChild<T*>(QString::fromLatin1(name));
}

void BM_RefreshThoughtsTree(benchmark::State& state) {
    for (auto _ : state)
        Part().RefreshThoughtsTree();
    state.counters["nodes"] = Part().CountedNodes();
}

// The same N + 1 queries on SQLite directly, every column of every row read as text.
void BM_RawTreeQueries(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_db.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* top = nullptr;
    sqlite3_stmt* children = nullptr;
    sqlite3_prepare_v2(db, "select * from pmThoughts where thoParent = 'Thoughts' order by thoname",
                       -1, &top, nullptr);
    sqlite3_prepare_v2(db, "select * from pmThoughts where thoParent = ?", -1, &children, nullptr);
    size_t n = 0;
    auto drain = [&](sqlite3_stmt* s, std::vector<QString>* names) {
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                n += static_cast<size_t>(sqlite3_column_bytes(s, c));
            if (names)
                names->push_back(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))));
        }
        sqlite3_reset(s);
    };
    for (auto _ : state) {
        std::vector<QString> pending;
        drain(top, &pending);
        while (!pending.empty()) {
            const QString name = pending.back();
            pending.pop_back();
            sqlite3_bind_text16(children, 1, name.utf16(), static_cast<int>(name.size() * 2),
                                SQLITE_TRANSIENT);
            drain(children, &pending);
        }
    }
    benchmark::DoNotOptimize(n);
    sqlite3_finalize(top);
    sqlite3_finalize(children);
    sqlite3_close(db);
}

void BM_ThoughtsSearchAll(benchmark::State& state) {
    Named<QRadioButton>("optThoSearchAll")->setChecked(true);
    Named<QLineEdit>("txtThoSearch")->setText(QStringLiteral("pomegranate"));
    for (auto _ : state)
        Named<QPushButton>("cmdThoSearch")->click();
    state.counters["hits"] = Named<QTreeWidget>("lvwThoSearch")->topLevelItemCount();
}

void BM_RawSearch(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(g_db.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "select * from pmthoughts where thodata like '%pomegranate%' or thocaption "
                       "like '%pomegranate%'",
                       -1, &s, nullptr);
    size_t n = 0;
    for (auto _ : state) {
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                n += static_cast<size_t>(sqlite3_column_bytes(s, c));
        sqlite3_reset(s);
    }
    benchmark::DoNotOptimize(n);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

// Find next through a 1 MB note in which the text comes about every ten thousand characters.
void BM_FindNextIn1MB(benchmark::State& state) {
    QPlainTextEdit box;
    QString text;
    while (text.size() < 1'000'000)
        text += QString(9990, QLatin1Char('x')) + QStringLiteral(" needle\n");
    box.setPlainText(text);
    TextFinder finder;
    finder.SetBox(QStringLiteral("3"), &box);
    for (auto _ : state) {
        if (finder.LastFindPos > 990'000)
            finder.LastFindPos = 0;
        finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("NEEDLE"), false);
    }
}

// The same search on the text directly: the reference for one step.
void BM_RawFindNext(benchmark::State& state) {
    QString text;
    while (text.size() < 1'000'000)
        text += QString(9990, QLatin1Char('x')) + QStringLiteral(" needle\n");
    qsizetype from = 0;
    for (auto _ : state) {
        from = text.indexOf(QStringLiteral("NEEDLE"), from, Qt::CaseInsensitive);
        from = from < 0 || from > 990'000 ? 0 : from + 6;
        benchmark::DoNotOptimize(from);
    }
}

BENCHMARK(BM_RawTreeQueries)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RefreshThoughtsTree)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawSearch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ThoughtsSearchAll)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RawFindNext)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FindNextIn1MB)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    g_db = LargeDatabase();
    if (g_db.isEmpty())
        return 1;
    App::SetPath(QFileInfo(g_db).path());
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
    auto window = std::make_unique<frmMain>();
    window->Load();
    window->findChild<QAction*>(QStringLiteral("mnuFunctionsThoughts"))->trigger();
    g_window = window.get();

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintAbsolute("BM_RefreshThoughtsTree", "BM_RawTreeQueries", 100'000,
                           "build the whole tree (median)");
    reporter.PrintAbsolute("BM_ThoughtsSearchAll", "BM_RawSearch", 50'000,
                           "search all nodes (median)");
    reporter.PrintAbsolute("BM_FindNextIn1MB", "BM_RawFindNext", 5'000,
                           "find next in 1 MB (median)");
    benchmark::Shutdown();
    return 0;
}
