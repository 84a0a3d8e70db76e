#include "LargeDb.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "data/Connection.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <cstdio>
#include <random>

namespace {

const char* const kWords[] = {"the",     "morning", "Ahmad's", "meeting", "café",   "naïve",
                              "rain",    "didn't",  "garden",  "über",    "school", "it's",
                              "journal", "Señora",  "walked",  "coffee",  "ümlaut", "we'll",
                              "office",  "friends", "Kuala",   "Lumpur",  "crème",  "brûlée"};

QString Text(std::mt19937& rng, int minChars, int maxChars) {
    std::uniform_int_distribution<int> length(minChars, maxChars);
    std::uniform_int_distribution<size_t> word(0, std::size(kWords) - 1);
    const int target = length(rng);
    QString out;
    out.reserve(target + 16);
    while (out.size() < target) {
        out += QString::fromUtf8(kWords[word(rng)]);
        out += (rng() % 12 == 0) ? QStringLiteral(".\n") : QStringLiteral(" ");
    }
    return out.left(target);
}

// A word in one note and one event detail in ten, which the searches look for.
const QString kTenth = QStringLiteral("pomegranate ");

QString Quoted(QString text) {
    return FixQuote(text);
}

} // namespace

bool MakeLargeDatabase(const QString& templateFile, const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    if (!QFile::copy(templateFile, path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    std::mt19937 rng(20261207);
    try {
        Connection conn;
        conn.Open(QStringLiteral("Data Source=") + path);
        conn.BeginTrans();
        conn.Execute(QStringLiteral("insert into pmpref (pwd) values ('')"));
        QStringList types;
        for (int i = 1; i <= 20; ++i) {
            types << QStringLiteral("Event type %1%2").arg(i).arg(i % 5 == 0 ? "'s" : "");
            conn.Execute(
                QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values ('") +
                Quoted(types.last()) + QStringLiteral("','") + Quoted(Text(rng, 10, 60)) +
                QStringLiteral("')"));
        }
        const QDate first(2007, 1, 1), last(2026, 12, 31);
        int eventCount = 0;
        for (QDate d = first; d <= last; d = d.addDays(1)) {
            const QString day = VbFormat(d, QStringLiteral("dd mmm yyyy"));
            // Every journal opens alike, so one search finds every day.
            conn.Execute(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('") +
                         day + QStringLiteral("','Dear diary, ") + Quoted(Text(rng, 200, 4000)) +
                         QStringLiteral("')"));
            const int events = static_cast<int>(rng() % 4);
            for (int e = 0; e < events; ++e) {
                const QTime start(static_cast<int>(rng() % 23), static_cast<int>(rng() % 60));
                conn.Execute(
                    QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,"
                                   "timestart,timeend) values (#") +
                    day + QStringLiteral("#,'") + Quoted(types[(e * 7 + d.day()) % 20]) +
                    QStringLiteral("','") + (++eventCount % 10 == 0 ? kTenth : QString()) +
                    Quoted(Text(rng, 5, 80)) + QStringLiteral("',#") +
                    VbFormat(start, QStringLiteral("hh:mm:ss AMPM")) + QStringLiteral("#,#") +
                    VbFormat(start.addSecs(3600), QStringLiteral("hh:mm:ss AMPM")) +
                    QStringLiteral("#)"));
            }
        }
        // Nodes: each hangs under an earlier one at most five levels down, or under the root.
        std::vector<int> depth;
        for (int i = 0; i < 10000; ++i) {
            const QString name = QStringLiteral("2020%1").arg(i, 10, 10, QLatin1Char('0'));
            QString parent = QStringLiteral("Thoughts");
            int level = 1;
            if (i > 0 && rng() % 4 != 0) {
                const int p = static_cast<int>(rng() % static_cast<unsigned>(i));
                if (depth[static_cast<size_t>(p)] < 6) {
                    parent = QStringLiteral("2020%1").arg(p, 10, 10, QLatin1Char('0'));
                    level = depth[static_cast<size_t>(p)] + 1;
                }
            }
            depth.push_back(level);
            conn.Execute(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent) "
                                        "values ('") +
                         name + QStringLiteral("','") + Quoted(Text(rng, 5, 30)) +
                         QStringLiteral("', '") + parent + QStringLiteral("')"));
            conn.Execute(QStringLiteral("update pmThoughts set thoData = '") +
                         (i % 10 == 0 ? kTenth : QString()) + Quoted(Text(rng, 50, 3000)) +
                         QStringLiteral("' where thoName = '") + name + QStringLiteral("'"));
        }
        conn.CommitTrans();
        conn.Close();
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "make-large-db: %s\n", e.Description().toUtf8().constData());
        return false;
    }
    return true;
}

QString LargeDatabase() {
    // The folder names the generator's version: a changed generator makes a new database.
    const QString folder = QStringLiteral(PIMORA_BENCH_DIR "/large-v3");
    QDir().mkpath(folder);
    const QString db = folder + QStringLiteral("/pengkalan.dat");
    if (!QFileInfo::exists(db)) {
        std::printf("making the large database (once)...\n");
        if (!MakeLargeDatabase(QStringLiteral(PIMORA_TEMPLATE_DB), db))
            return {};
    }
    return db;
}
