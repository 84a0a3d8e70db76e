#include "exchange/Exchange.h"

#include "common/VbDate.h"
#include "store/CalendarStore.h"
#include "store/EventTypeStore.h"
#include "store/ThoughtStore.h"
#include "store/Transaction.h"

#include <QSet>

namespace Exchange {

QString Preview(const CalendarPlan& calendar, const ThoughtsPlan& thoughts,
                const QString& parentCaption) {
    return QStringLiteral("%1 journal days new, %2 days that already hold a journal (the imported "
                          "text is appended after a blank line), %3 events new, %4 events that "
                          "already exist (skipped), %5 event types to create, %6 notes under the "
                          "node %7")
        .arg(calendar.JournalsNew())
        .arg(calendar.JournalsAppended())
        .arg(calendar.events.size())
        .arg(calendar.eventsExisting)
        .arg(calendar.newTypes.size())
        .arg(thoughts.NewNodes())
        .arg(parentCaption);
}

void Import(const CalendarPlan& calendar, const ThoughtsPlan& thoughts, const QString& parentKey,
            const QDateTime& now, const Progress& progress) {
    const int total = int(calendar.newTypes.size() + calendar.journals.size() +
                          calendar.events.size() + thoughts.nodes.size());
    int done = 0;
    auto step = [&] {
        if (progress && ++done % 64 == 0)
            progress(done, total);
    };
    Transaction all;
    for (const QString& type : calendar.newTypes) {
        EventTypeStore::Save(type, QString());
        step();
    }
    for (const auto& j : calendar.journals) {
        CalendarStore::SaveJournal(j.day, j.text);
        step();
    }
    for (const auto& e : calendar.events) {
        CalendarStore::SaveEvent(e.day, e.event);
        step();
    }
    // Names as New Node makes them: the moment, and a counter where the moment is taken.
    const QString stem =
        VbFormat(VbDateTime{now.date(), now.time(), true, true}, QStringLiteral("yyyymmddHhnnss"));
    int counter = 0;
    auto NewName = [&] {
        for (;;) {
            const QString name =
                counter == 0 ? stem
                             : stem + QLatin1Char('.') +
                                   QString::number(counter).rightJustified(2, QLatin1Char('0'));
            ++counter;
            if (!ThoughtStore::NoteOf(name).has_value())
                return name;
        }
    };
    QList<QString> keys;
    keys.reserve(thoughts.nodes.size());
    for (const auto& node : thoughts.nodes) {
        if (node.known) {
            keys << node.storedName;
        } else {
            const QString name = NewName();
            ThoughtStore::Add(name, node.parent < 0 ? parentKey : keys.at(node.parent));
            ThoughtStore::RenameByDialog(name, node.caption);
            ThoughtStore::SaveNote(name, node.note);
            keys << name;
        }
        step();
    }
    all.Commit();
    if (progress)
        progress(total, total);
}

} // namespace Exchange
