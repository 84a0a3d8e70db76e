#include "CrashLog.h"

#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"

#include <QDate>
#include <QFile>
#include <QTextStream>

namespace CrashLog {

QString Encode(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString Decode(const QString& text) {
    return QString::fromUtf8(QByteArray::fromBase64(text.toLatin1()));
}

QString Op::Line() const {
    return (QStringList{kind} + args).join(QLatin1Char('\t'));
}

Op Op::Parse(const QString& line) {
    QStringList fields = line.split(QLatin1Char('\t'));
    Op op;
    op.kind = fields.takeFirst();
    op.args = fields;
    return op;
}

void Model::Apply(const Op& op) {
    const QStringList& a = op.args;
    if (op.kind == QLatin1String("J")) {
        journals[a[0]] = Decode(a.value(1));
    } else if (op.kind == QLatin1String("E")) {
        events[{a[0], Decode(a[1])}] = Decode(a.value(2));
    } else if (op.kind == QLatin1String("ED")) {
        events[{a[0], Decode(a[1])}] = std::nullopt;
    } else if (op.kind == QLatin1String("N")) {
        notes[a[0]] = TrimSpaces(Decode(a.value(1)));
    } else if (op.kind == QLatin1String("NA") && a.size() > 1) {
        notes[a[1]] = QString();
        captions[a[1]] = QStringLiteral("New Node");
    } else if (op.kind == QLatin1String("NR")) {
        // A blank answer renames nothing.
        if (const QString caption = TrimSpaces(Decode(a.value(1))); !caption.isEmpty())
            captions[a[0]] = caption;
    } else if (op.kind == QLatin1String("ND")) {
        notes[a[0]] = std::nullopt;
        captions.erase(a[0]);
    } else if (op.kind == QLatin1String("T")) {
        types[Decode(a[0])] = Decode(a.value(1));
    } else if (op.kind == QLatin1String("BK") && !a.isEmpty()) {
        // The copy's own model keeps no link back to the list that holds it: no cycle.
        Model copy = *this;
        copy.backups.reset();
        (*backups)[a[0]] = std::move(copy);
    } else if (op.kind == QLatin1String("CT")) {
        for (auto& note : notes)
            note.second = std::nullopt;
        captions.clear();
    } else if (op.kind == QLatin1String("R") && backups->count(a.value(0))) {
        // Everything is as the copy holds it: what came after it is gone.
        Model restored = backups->at(a[0]);
        auto absent = [](const auto& now, auto& then) {
            for (const auto& entry : now)
                then.try_emplace(entry.first);
        };
        absent(journals, restored.journals);
        absent(events, restored.events);
        absent(notes, restored.notes);
        absent(captions, restored.captions);
        absent(types, restored.types);
        restored.backups = backups;
        *this = restored;
    }
}

Replay Read(const QString& file) {
    Replay replay;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return replay;
    std::optional<Op> pending;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        // A line the kill cut short was never written whole: it did not happen.
        if (line.isEmpty() || !line.endsWith(QLatin1Char('\t')))
            continue;
        const QString record = line.chopped(1);
        if (record.startsWith(QLatin1String("BEGIN\t"))) {
            pending = Op::Parse(record.mid(6));
        } else if (record.startsWith(QLatin1String("DONE\t"))) {
            replay.done.Apply(Op::Parse(record.mid(5)));
            pending.reset();
        } else if (record.startsWith(QLatin1String("RESOLVED\t1"))) {
            // A node added in flight is named by the checker, who found it in the file.
            if (pending && record.count(QLatin1Char('\t')) == 2)
                pending->args << record.section(QLatin1Char('\t'), 2);
            if (pending)
                replay.done.Apply(*pending);
            pending.reset();
        } else if (record == QLatin1String("RESOLVED\t0")) {
            pending.reset();
        }
    }
    replay.inFlight = pending;
    return replay;
}

namespace {

QString Iso(const QVariant& day) {
    return day.toDate().toString(Qt::ISODate);
}

template <class F> void Rows(const QString& sql, F each) {
    Recordset rs;
    rs.Open(sql, *gConn);
    for (; !rs.Eof(); rs.MoveNext())
        each(rs);
    rs.Close();
}

} // namespace

Model Actual() {
    Model m;
    Rows(QStringLiteral("select caldate, caljournal from pmcalendar"),
         [&](Recordset& rs) { m.journals[Iso(rs.Field(0))] = rs.Field(1).toString(); });
    Rows(QStringLiteral("select caldate, calevent, eventdetails from pmcaleventdate"),
         [&](Recordset& rs) {
             m.events[{Iso(rs.Field(0)), rs.Field(1).toString()}] = rs.Field(2).toString();
         });
    Rows(QStringLiteral("select thoname, thocaption, thodata from pmthoughts"), [&](Recordset& rs) {
        m.notes[rs.Field(0).toString()] = rs.Field(2).toString();
        m.captions[rs.Field(0).toString()] = rs.Field(1).toString();
    });
    Rows(QStringLiteral("select calevent, caleventdesc from pmcalevent"),
         [&](Recordset& rs) { m.types[rs.Field(0).toString()] = rs.Field(1).toString(); });
    return m;
}

namespace {

QString Show(const QString& key) {
    return key;
}
QString Show(const std::pair<QString, QString>& key) {
    return key.first + QLatin1Char('/') + key.second;
}
QString Value(const QString& value) {
    return QLatin1Char('"') + value.left(40) + QLatin1Char('"');
}
QString Value(const std::optional<QString>& value) {
    return value ? Value(*value) : QStringLiteral("nothing");
}

// Every key the log knows must hold its value after the finished operations, or the value
// after the one in flight too; keys the log never touched are not looked at.
template <class Map>
void Compare(const char* what, const Map& done, const Map& after, const Map& actual,
             QStringList& out, bool& applied) {
    using V = typename Map::mapped_type;
    auto at = [](const Map& map, const auto& key) {
        const auto found = map.find(key);
        return found == map.end() ? V() : found->second;
    };
    Map keys = done;
    for (const auto& entry : after)
        keys.try_emplace(entry.first);
    for (const auto& entry : keys) {
        const V real = at(actual, entry.first), want = at(done, entry.first);
        const V then = at(after, entry.first);
        if (real == want)
            continue;
        if (real == then) {
            applied = true;
            continue;
        }
        out << QStringLiteral("%1 %2: the file holds %3, the log %4")
                   .arg(QString::fromLatin1(what), Show(entry.first), Value(real), Value(want));
    }
}

// A journal of blanks is no row, and no row is an empty journal.
std::map<QString, QString> Journals(const std::map<QString, QString>& in) {
    std::map<QString, QString> out;
    for (const auto& [day, text] : in)
        out[day] = TrimSpaces(text).isEmpty() ? QString() : text;
    return out;
}

} // namespace

QString NodeAddedInFlight(const Replay& replay, const Model& actual) {
    if (!replay.inFlight || replay.inFlight->kind != QLatin1String("NA") ||
        replay.inFlight->args.size() != 1)
        return {};
    for (const auto& [name, note] : actual.notes) {
        const auto known = replay.done.notes.find(name);
        if (known == replay.done.notes.end() || !known->second)
            return name;
    }
    return {};
}

QStringList Differences(const Replay& replay, const Model& actual, bool* inFlightApplied) {
    Model after = replay.done;
    if (replay.inFlight)
        after.Apply(*replay.inFlight);
    QStringList out;
    bool applied = false;
    Compare("journal", Journals(replay.done.journals), Journals(after.journals),
            Journals(actual.journals), out, applied);
    Compare("event", replay.done.events, after.events, actual.events, out, applied);
    Compare("note", replay.done.notes, after.notes, actual.notes, out, applied);
    Compare("caption", replay.done.captions, after.captions, actual.captions, out, applied);
    Compare("event type", replay.done.types, after.types, actual.types, out, applied);
    if (inFlightApplied)
        *inFlightApplied = applied;
    return out;
}

} // namespace CrashLog
