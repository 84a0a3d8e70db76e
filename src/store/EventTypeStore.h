#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The event types the user keeps (pmCalEvent). Every function runs its statement through the
// one connection and throws the engine's error for its caller to report.
namespace EventTypeStore {

struct EventType {
    QString name;
    QString description;
};

// The names, for the day's event editor, in name order.
QStringList Names();
// Every type with its description, in name order, for the lists of the dialogs.
QList<EventType> All();
// Whether a type of this name exists, as the day's event editor asks it.
bool IsKnown(const QString& name);
// Whether a type of this name exists, as the maintenance dialog asks it.
bool Exists(const QString& name);
// Whether a day's event is of this type.
bool InUse(const QString& name);
// A new type, or the description of one that exists.
void Save(const QString& name, const QString& description);
void Delete(const QString& name);

} // namespace EventTypeStore
