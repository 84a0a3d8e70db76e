#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The side log of the crash driver and what it proves. The driver writes "BEGIN op" before
// an operation and "DONE op" once it has returned, each line on the disk before it goes on;
// "RUN" starts a run. After a kill the checker decides whether the one operation that was
// in flight reached the file, and writes "RESOLVED 1" or "RESOLVED 0".
namespace CrashLog {

// One operation and the state it leaves: fields separated by tabs, texts base64.
struct Op {
    QString kind; // J journal, E event, ED event deleted, N note, NA node added, NR renamed,
                  // ND node deleted, T event type, BK backup made, R backup restored,
                  // CT Thoughts cleared
    QStringList args;

    QString Line() const;
    static Op Parse(const QString& line);
};

// What the file must hold for every key the log has touched.
struct Model {
    std::map<QString, QString> journals;                                  // day -> text
    std::map<std::pair<QString, QString>, std::optional<QString>> events; // day, type
    std::map<QString, std::optional<QString>> notes;                      // name -> note
    std::map<QString, QString> captions;
    std::map<QString, QString> types; // name -> description
    // What each backup the log made holds, by its file name; shared by copies of the model.
    std::shared_ptr<std::map<QString, Model>> backups =
        std::make_shared<std::map<QString, Model>>();

    void Apply(const Op& op);
};

// The model of every finished operation, and the one in flight at the end, if any.
struct Replay {
    Model done;
    std::optional<Op> inFlight;
};
Replay Read(const QString& file);

// A node that the file holds and the model does not know: the one a node addition in flight
// made before the kill, whose name its log line could not give. Empty when there is none.
QString NodeAddedInFlight(const Replay& replay, const Model& actual);

// What the file holds, read the way the model keeps it.
Model Actual();

// Each key must hold its value after the finished operations, or, for the keys the operation
// in flight touches, the value after it. The failures, one line each.
QStringList Differences(const Replay& replay, const Model& actual, bool* inFlightApplied);

QString Encode(const QString& text);
QString Decode(const QString& text);

} // namespace CrashLog
