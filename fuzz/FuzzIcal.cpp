// Any text read as an .ics file for import, against a scratch database: it is refused with a
// reason or read into a plan whose every day is a real day and every event has a type. Nothing
// is written: a plan is only what an import would do.
#include "FuzzSupport.h"

#include "common/RuntimeError.h"
#include "data/Connection.h"
#include "data/modDB.h"
#include "exchange/Exchange.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void Scratch() {
    static QTemporaryDir dir;
    if (gConn)
        return;
    const QString file = dir.filePath(QStringLiteral("pengkalan.dat"));
    QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    gConn = std::make_unique<Connection>();
    gConn->Open(QStringLiteral("Data Source=") + file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Scratch();
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const Exchange::CalendarPlan plan = Exchange::PlanCalendar(text, {}, QStringLiteral("f"));
        for (const auto& j : plan.journals)
            if (!j.day.isValid() || j.text.isEmpty() || j.appended)
                Broken("a journal of the plan has no day or no text, or appends to nothing");
        for (const auto& e : plan.events)
            if (!e.day.isValid() || e.event.type.isEmpty())
                Broken("an event of the plan has no day or no type");
        if (plan.eventsExisting != 0)
            Broken("an empty database holds no event already");
    } catch (const RuntimeError& e) {
        if (e.Description().isEmpty())
            Broken("a refusal without a reason");
    }
    return 0;
}
