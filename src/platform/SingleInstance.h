#pragma once

#include "platform/FileLock.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;

// One running instance per user and title: the first listens on a local socket, a later
// one finds it there and asks it to bring its window forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static SingleInstance& Instance();
    ~SingleInstance() override;

    static QString ServerName(const QString& title);
    // Tests keep their instances apart from each other and from a running program.
    static void SetScope(const QString& scope);

    // True when an instance known by the title answers.
    bool OtherRunning(const QString& title);
    // Takes the title for this instance; false when a running instance holds it. The
    // instance listens for later ones under it when it can.
    bool Claim(const QString& title);
    // Asks the instance known by the title to come forward.
    bool RequestActivate(const QString& title);
    void Release();

signals:
    // A later instance asked for the window with this title.
    void activateRequested(const QString& title);

private:
    struct Listener;
    struct Caller;
    SingleInstance();
    void OnConnection();
    void OnReadable(Caller* caller);

    std::unique_ptr<FileLock> lock_;
    std::unique_ptr<Listener> listener_;
    std::vector<std::unique_ptr<Caller>> callers_;
};

// Raises the visible top-level window whose title equals title, else the first whose title
// begins with it. False when there is none.
bool ActivateWindowByTitle(const QString& title);
