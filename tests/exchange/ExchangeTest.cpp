// Out and back in: what an export holds, read by libical and by an independent reader, and
// what an import writes, conflicts and failures included.
#include "support/AppFolder.h"

#include "common/RuntimeError.h"
#include "exchange/Exchange.h"
#include "store/CalendarStore.h"
#include "store/EventTypeStore.h"
#include "store/ThoughtStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Exchange;

const QString kMarker = QStringLiteral("Ünïcødé 日本語 — it's 100% \"quoted\", a; b, c\\d\n"
                                       "second line\n\nafter a blank line");

void Node(const QString& name, const QString& parent, const QString& caption, const QString& note) {
    ThoughtStore::Add(name, parent);
    ThoughtStore::RenameByDialog(name, caption);
    ThoughtStore::SaveNote(name, note);
}

// A little of everything a user keeps, with the texts that trip exchanges up.
void Fill() {
    EventTypeStore::Save("Birthday", "");
    EventTypeStore::Save("Meeting; board", "");
    CalendarStore::SaveJournal(QDate(2026, 1, 1), kMarker);
    CalendarStore::SaveJournal(QDate(2026, 2, 28), QString(70000, QChar(0x00e9)) + "end");
    CalendarStore::SaveEvent(QDate(2026, 1, 1), {"Birthday", kMarker, QTime(9, 30), QTime(10, 0)});
    CalendarStore::SaveEvent(QDate(2026, 1, 1),
                             {"Meeting; board", "", QTime(14, 0), QTime(15, 45)});
    CalendarStore::SaveEvent(QDate(2030, 6, 15),
                             {"Birthday", "far ahead", QTime(0, 0), QTime(0, 0)});
    Node("n1", "Thoughts", "Plans", "top note " + kMarker);
    Node("n2", "n1", "a/b", "slash");
    Node("n3", "n1", "Same", "first");
    Node("n4", "n1", "Same", "second");
    Node("n5", "n4", ".hidden", "deep");
    Node("n6", "Thoughts", "Empty", "");
}

// The tree as captions and notes, siblings in caption order, so two trees with other names
// compare equal when their shape and texts are.
QString Tree(const QString& key = "Thoughts", int depth = 0) {
    auto children = key == "Thoughts" ? ThoughtStore::TopLevel() : ThoughtStore::ChildrenOf(key);
    QStringList lines;
    for (const auto& c : children)
        lines << QString(depth, '>') + c.caption + "|" +
                     ThoughtStore::NoteOf(c.name).value_or("?") + "\n" + Tree(c.name, depth + 1);
    lines.sort();
    return lines.join("");
}

struct Snapshot {
    QString journals, events, types, tree;
};
Snapshot Take() {
    return {Rows("select caldate, caljournal from pmcalendar order by caldate"),
            Rows("select caldate, calevent, eventdetails, timestart, timeend from pmcaleventdate "
                 "order by caldate, calevent"),
            Rows("select calevent from pmcalevent order by calevent"), Tree()};
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(Exchange, ARoundTripIntoAnEmptyDatabaseKeepsEverything) {
    QTemporaryDir out;
    const QString ics = out.filePath("pimora.ics");
    const QString md = out.filePath("Thoughts");
    Snapshot before;
    {
        AppFolder folder;
        Fill();
        before = Take();
        const QByteArray db = Read(folder.File("pengkalan.dat"));
        ASSERT_TRUE(ExportCalendar(ics, {}));
        ASSERT_TRUE(ExportThoughts(md));
        EXPECT_EQ(Take().tree, before.tree);
        EXPECT_EQ(Count("select * from pmthoughts"), 6) << "an export changes nothing";
    }
    EXPECT_TRUE(QFileInfo(md + "/Plans.md").isFile());
    EXPECT_TRUE(QFileInfo(md + "/Plans/a_b.md").isFile());
    EXPECT_TRUE(QFileInfo(md + "/Plans/Same (2)/_hidden.md").isFile());
    EXPECT_TRUE(Read(md + "/Plans.md").startsWith("<!-- pimora:thoname=n1 -->\ntop note "));

    AppFolder empty;
    const CalendarPlan calendar = ReadCalendar(ics, {});
    const ThoughtsPlan thoughts = ReadThoughts(md);
    EXPECT_EQ(Preview(calendar, thoughts, "Thoughts"),
              "2 journal days new, 0 days that already hold a journal (the imported text is "
              "appended after a blank line), 3 events new, 0 events that already exist "
              "(skipped), 2 event types to create, 6 notes under the node Thoughts");
    Import(calendar, thoughts, "Thoughts", QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    const Snapshot after = Take();
    EXPECT_EQ(after.journals, before.journals);
    EXPECT_EQ(after.events, before.events);
    EXPECT_EQ(after.types, before.types);
    EXPECT_EQ(after.tree, before.tree);
    EXPECT_EQ(Count("select * from pmthoughts where thoname like '20261208100000%'"), 6)
        << "new names from the clock";

    // A second import of the same export: no event is new, and the journals would be appended
    // to, as the preview says.
    const CalendarPlan again = ReadCalendar(ics, {});
    EXPECT_EQ(again.events.size(), 0);
    EXPECT_EQ(again.eventsExisting, 3);
    EXPECT_EQ(again.JournalsAppended(), 2);
    EXPECT_TRUE(again.newTypes.isEmpty());
}

// libical reads back what it wrote, and so does python3-icalendar, component for component.
TEST(Exchange, TheExportReadsTheSameInAnIndependentReader) {
    AppFolder folder;
    Fill();
    QTemporaryDir out;
    const QString ics = out.filePath("range.ics");
    ASSERT_TRUE(ExportCalendar(ics, {QDate(2026, 1, 1), QDate(2026, 12, 31)}));
    const QByteArray text = Read(ics);
    EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(text.contains("\r\nVERSION:2.0\r\n"));
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 76) << "folded: 75 octets and the line end";

    QProcess reader;
    reader.start("/usr/bin/python3", {PIMORA_EXCHANGE_DIR "/read_ics.py", ics});
    ASSERT_TRUE(reader.waitForFinished(30000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    QStringList rows =
        QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    rows.sort();
    auto json = [](const QString& s) {
        QString e = s;
        e.replace("\\", "\\\\").replace("\"", "\\\"").replace("\n", "\\n");
        return "\"" + e + "\"";
    };
    const QString birthdayUid =
        "20260101-" + QString::fromLatin1(QByteArray("Birthday").toHex()) + "@pimora";
    QStringList expected = {
        "{\"categories\": [\"Birthday\"], \"description\": " + json(kMarker) +
            ", \"dtend\": \"2026-01-01T10:00:00\", \"dtstart\": \"2026-01-01T09:30:00\", "
            "\"name\": \"VEVENT\", \"summary\": \"Birthday\", \"uid\": \"" +
            birthdayUid + "\"}",
        "{\"categories\": [\"Meeting; board\"], \"dtend\": \"2026-01-01T15:45:00\", "
        "\"dtstart\": \"2026-01-01T14:00:00\", \"name\": \"VEVENT\", \"summary\": "
        "\"Meeting; board\", \"uid\": \"20260101-" +
            QString::fromLatin1(QByteArray("Meeting; board").toHex()) + "@pimora\"}",
        "{\"description\": " + json(kMarker) +
            ", \"dtstart\": \"2026-01-01\", \"name\": \"VJOURNAL\", \"uid\": \"20260101-" +
            QString::fromLatin1(QByteArray("journal").toHex()) + "@pimora\"}",
        "{\"description\": " + json(QString(70000, QChar(0x00e9)) + "end") +
            ", \"dtstart\": \"2026-02-28\", \"name\": \"VJOURNAL\", \"uid\": \"20260228-" +
            QString::fromLatin1(QByteArray("journal").toHex()) + "@pimora\"}",
    };
    expected.sort();
    ASSERT_EQ(rows.size(), expected.size()) << "the event of 2030 is outside the range";
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].toStdString(), expected[i].toStdString());
}

// A day that holds a journal gets the text after a blank line, an event that exists is
// skipped, and a failure half way writes nothing at all.
TEST(Exchange, AConflictingImportDoesWhatThePreviewSaidAndAFailureWritesNothing) {
    AppFolder folder;
    EventTypeStore::Save("Team meeting", "kept");
    CalendarStore::SaveJournal(QDate(2026, 3, 17), "Mine.");
    CalendarStore::SaveEvent(QDate(2026, 1, 12),
                             {"Team meeting", "my own", QTime(8, 0), QTime(9, 0)});
    QByteArray text = Read(PIMORA_EXCHANGE_DIR "/ics/weekly-exdate.ics");
    text.replace("END:VCALENDAR",
                 Read(PIMORA_EXCHANGE_DIR "/ics/journal.ics")
                     .replace("BEGIN:VCALENDAR\r\n", "")
                     .replace("VERSION:2.0\r\n", "")
                     .replace("PRODID:-//ABC Corporation//Hand Written//EN\r\n", ""));
    const CalendarPlan plan = PlanCalendar(text, {});
    const ThoughtsPlan none;
    EXPECT_EQ(Preview(plan, none, "Thoughts"),
              "0 journal days new, 1 days that already hold a journal (the imported text is "
              "appended after a blank line), 3 events new, 1 events that already exist "
              "(skipped), 0 event types to create, 0 notes under the node Thoughts");

    const QString before = Rows("select * from pmcaleventdate") + Rows("select * from pmcalendar");
    {
        TableFault fault("pmcaleventdate", TableFault::RefusesWrites);
        EXPECT_THROW(Import(plan, none, "Thoughts", QDateTime::currentDateTime()), RuntimeError);
    }
    EXPECT_EQ(Rows("select * from pmcaleventdate") + Rows("select * from pmcalendar"), before)
        << "the journal written before the failing event is rolled back";

    Import(plan, none, "Thoughts", QDateTime::currentDateTime());
    EXPECT_EQ(Rows("select caljournal from pmcalendar where caldate = #2026-03-17#"),
              "('Mine.\n\n1. Staff meeting: Participants include Joe, Lisa, and Bob. Aurora "
              "project plans were reviewed.\n2. Telephone Conference: ABC Corp. sales "
              "representative called to discuss new printer.')");
    EXPECT_EQ(Rows("select caldate, eventdetails, timestart, timeend from pmcaleventdate order by "
                   "caldate"),
              "(#2026-01-05#,'Weekly status',@10:00:00,@10:30:00)"
              "(#2026-01-12#,'my own',@08:00:00,@09:00:00)"
              "(#2026-01-26#,'Weekly status',@10:00:00,@10:30:00)"
              "(#2026-02-02#,'Weekly status',@10:00:00,@10:30:00)");
    EXPECT_EQ(Rows("select * from pmcalevent"), "('Team meeting','kept')");
}

// An export that is cancelled leaves no file and no folder behind, and one that would write
// into a folder holding files refuses before writing anything.
TEST(Exchange, ACancelledExportLeavesNothingBehind) {
    AppFolder folder;
    Fill();
    QTemporaryDir out;
    const auto cancel = [](int, int) { return false; };
    EXPECT_FALSE(ExportCalendar(out.filePath("x.ics"), {}, cancel));
    EXPECT_FALSE(ExportThoughts(out.filePath("T"), cancel));
    EXPECT_TRUE(QDir(out.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QDir().mkdir(out.filePath("full"));
    QFile(out.filePath("full/keep.txt")).open(QIODevice::WriteOnly);
    EXPECT_THROW(ExportThoughts(out.filePath("full")), RuntimeError);
    EXPECT_EQ(QDir(out.filePath("full")).entryList(QDir::Files), QStringList{"keep.txt"});
}

// A re-import of an export into the database it came from knows its own nodes: only what
// was added to the folder since is new, under the node it was added to.
TEST(Exchange, AReimportKnowsItsOwnNodes) {
    AppFolder folder;
    Fill();
    QTemporaryDir out;
    ASSERT_TRUE(ExportThoughts(out.filePath("T")));
    QFile added(out.filePath("T/Plans/Same (2)/Added later.txt"));
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    added.write("plain text, no marker");
    added.close();
    const ThoughtsPlan plan = ReadThoughts(out.filePath("T"));
    EXPECT_EQ(plan.NewNodes(), 1);
    Import({}, plan, "Thoughts", QDateTime(QDate(2026, 12, 8), QTime(11, 0)));
    EXPECT_EQ(Rows("select thoparent, thocaption, thodata from pmthoughts where thoname = "
                   "'20261208110000'"),
              "('n4','Added later','plain text, no marker')");
    EXPECT_EQ(Count("select * from pmthoughts"), 7);
}

} // namespace
