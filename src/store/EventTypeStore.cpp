#include "store/EventTypeStore.h"

#include "common/modQXCommFunc.h"
#include "store/SqlText.h"
#include "store/Statement.h"

namespace EventTypeStore {

namespace {

using Statement::Execute;
using Statement::Open;

bool AnyRow(const QString& sql) {
    return !Open(sql).Eof();
}

} // namespace

QStringList Names() {
    Recordset rs = Open(QStringLiteral("select calevent from pmCalEvent order by calevent"));
    QStringList names;
    for (; !rs.Eof(); rs.MoveNext())
        names << NullToEmpty(rs.Field(QStringLiteral("calevent")));
    return names;
}

QList<EventType> All() {
    Recordset rs =
        Open(QStringLiteral("select calevent,caleventdesc from pmcalevent order by calevent asc"));
    QList<EventType> types;
    for (; !rs.Eof(); rs.MoveNext())
        types.append({NullToEmpty(rs.Field(QStringLiteral("calevent"))),
                      NullToEmpty(rs.Field(QStringLiteral("caleventdesc")))});
    return types;
}

bool IsKnown(const QString& name) {
    return AnyRow(QStringLiteral("select * from pmCalEvent where calEvent = '") + Quoted(name) +
                  QStringLiteral("'"));
}

bool Exists(const QString& name) {
    return AnyRow(QStringLiteral("select * from pmcalevent where calevent = '") + Quoted(name) +
                  QStringLiteral("'"));
}

bool InUse(const QString& name) {
    return AnyRow(QStringLiteral("select calevent from pmcaleventdate where calevent  = '") +
                  Quoted(name) + QStringLiteral("'"));
}

void Save(const QString& name, const QString& description) {
    const QString n = Quoted(name);
    const QString d = Quoted(description);
    Execute(Exists(name)
                ? QStringLiteral("update pmcalevent set caleventdesc = '") + d +
                      QStringLiteral("' where calevent = '") + n + QStringLiteral("'")
                : QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values ('") + n +
                      QStringLiteral("','") + d + QStringLiteral("')"));
}

void Delete(const QString& name) {
    Execute(QStringLiteral("Delete from pmCalEvent where calevent = '") + Quoted(name) +
            QStringLiteral("'"));
}

} // namespace EventTypeStore
