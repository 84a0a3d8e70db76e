// crash_driver FOLDER LOG SEED: works Pimora's window on FOLDER/pengkalan.dat with a random
// mix of what a user does, until it is killed. Each operation is written to LOG (and to the
// disk) before it starts and again once it has returned.
#include "../CrashLog.h"

#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPart.h"
#include "calendar/frmEvents.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "shell/frmMain.h"
#include "store/Backups.h"
#include "store/Database.h"
#include "thoughts/ThoughtTree.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

using CrashLog::Encode;
using CrashLog::Op;

// Answers every box at once: Yes, OK, and a random caption for a rename.
class Answers : public Prompter {
public:
    explicit Answers(std::mt19937& rng) : rng_(rng) {}
    MsgResult Message(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Yes;
    }
    QString Input(const QString&, const QString&, const QString&) override { return caption; }
    QString caption;

private:
    std::mt19937& rng_;
};

class Log {
public:
    explicit Log(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT, 0600)) {}
    ~Log() { ::close(fd_); }
    // On the disk before the caller goes on; the tab before the line's end shows it is whole.
    void Write(const QString& record) {
        const QByteArray line = record.toUtf8() + "\t\n";
        if (::write(fd_, line.constData(), static_cast<size_t>(line.size())) != line.size() ||
            ::fsync(fd_) != 0)
            std::abort();
    }

private:
    int fd_;
};

// A control of the window by its name, as automation finds it.
template <class T> T* Control(const QObject& in, const char* name) {
    T* found = in.findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "no control named %s\n", name);
        std::abort();
    }
    return found;
}

QAction* ActionOf(const QObject* in, const QString& name) {
    return Control<QAction>(*in, name.toLatin1().constData());
}

const char* const kWords[] = {"rain",    "it's", "café", "Señora", "journal",
                              "O'Brien", "\n",   "  ",   "über",   "day",
                              "%",       "[x]",  "日記", "tea",    "Kilimanjaro"};

class Driver {
public:
    Driver(frmMain& window, Log& log, std::mt19937& rng, Answers& answers)
        : window_(window), log_(log), rng_(rng), answers_(answers),
          calendar_(*window.findChild<CalendarPart*>()) {}

    void Step() {
        switch (Pick(12)) {
        case 0:
        case 1:
        case 2:
            return Journal();
        case 3:
            return Event(false);
        case 4:
            return Event(true);
        case 5:
        case 6:
            return Note();
        case 7:
            return NewNode();
        case 8:
            return Pick(2) ? Rename() : DeleteLeaf();
        case 9:
            return EventType();
        case 10:
            return BackUpNow();
        default:
            return Pick(4) ? Restore() : ClearThoughts();
        }
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    QString Text(int words) {
        QString out;
        for (int i = 0; i < words; ++i)
            out += QString::fromUtf8(kWords[Pick(static_cast<int>(std::size(kWords)))]) + ' ';
        return out;
    }
    QDate Day() { return QDate(2026, 12, 1).addDays(Pick(45)); }
    void Run(const Op& begin, const std::function<Op()>& work) {
        log_.Write(QStringLiteral("BEGIN\t") + begin.Line());
        const Op done = work();
        log_.Write(QStringLiteral("DONE\t") + done.Line());
    }

    // Typed into a day, and the day left.
    void Journal() {
        const QDate day = Day();
        const QString text = Pick(6) ? Text(1 + Pick(40)) : QStringLiteral("   ");
        const Op op{QStringLiteral("J"), {day.toString(Qt::ISODate), Encode(text)}};
        Run(op, [&] {
            calendar_.Grid().GoToDay(day);
            auto* box = Control<QPlainTextEdit>(window_, "rtfCalQJournal");
            box->selectAll();
            box->insertPlainText(text);
            calendar_.Grid().GoToDay(day.addDays(1 + Pick(3)));
            return op;
        });
    }

    // Saved or deleted through the day's event editor.
    void Event(bool remove) {
        auto* types = Control<QComboBox>(window_, "cboEvent");
        if (types->count() == 0)
            return EventType();
        const QDate day = Day();
        const QString type = types->itemText(Pick(types->count()));
        const QString details = Text(Pick(6));
        const Op op = remove ? Op{QStringLiteral("ED"), {day.toString(Qt::ISODate), Encode(type)}}
                             : Op{QStringLiteral("E"),
                                  {day.toString(Qt::ISODate), Encode(type), Encode(details)}};
        Run(op, [&] {
            calendar_.Grid().GoToDay(day);
            types->setEditText(type);
            Control<QLineEdit>(window_, "txtEventDetails")->setText(details);
            Control<QTimeEdit>(window_, "dtpStartTime")->setTime(QTime(Pick(24), Pick(60)));
            Control<QPushButton>(window_, remove ? "cmdCalEventDelete" : "cmdCalEventSave")
                ->click();
            Control<QPushButton>(window_, "cmdCalEventClear")->click();
            return op;
        });
    }

    QTreeWidgetItem* AnyNode(bool rootToo) {
        ThoughtTree& tree = Tree();
        std::vector<QTreeWidgetItem*> all;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (rootToo || (*it)->parent())
                all.push_back(*it);
        return all.empty() ? nullptr : all[static_cast<size_t>(Pick(static_cast<int>(all.size())))];
    }

    // Typed into a node's note, and another node selected.
    void Note() {
        QTreeWidgetItem* node = AnyNode(false);
        QTreeWidgetItem* next = AnyNode(true);
        if (!node || !next || node == next)
            return NewNode();
        const QString name = ThoughtTree::Key(node);
        const QString text = Text(Pick(30));
        const Op op{QStringLiteral("N"), {name, Encode(text)}};
        Run(op, [&] {
            Tree().setCurrentItem(node);
            auto* box = Control<QPlainTextEdit>(window_, "rtfThoughts");
            box->selectAll();
            box->insertPlainText(text);
            Tree().setCurrentItem(next);
            return op;
        });
    }

    void NewNode() {
        QTreeWidgetItem* parent = AnyNode(true);
        if (!parent)
            return;
        const Op begin{QStringLiteral("NA"), {ThoughtTree::Key(parent)}};
        Run(begin, [&] {
            Tree().setCurrentItem(parent);
            ActionOf(&window_, QStringLiteral("mnuNodeNew"))->trigger();
            // Move on, so that the new node's empty note is written now.
            Tree().setCurrentItem(parent);
            Op done = begin;
            done.args << ThoughtTree::Key(Tree().currentItem() == parent
                                              ? parent->child(parent->childCount() - 1)
                                              : Tree().currentItem());
            return done;
        });
    }

    void Rename() {
        QTreeWidgetItem* node = AnyNode(false);
        if (!node)
            return NewNode();
        answers_.caption = Text(1 + Pick(3));
        const Op op{QStringLiteral("NR"), {ThoughtTree::Key(node), Encode(answers_.caption)}};
        Run(op, [&] {
            Tree().setCurrentItem(node);
            ActionOf(&window_, QStringLiteral("mnuNodeRename"))->trigger();
            return op;
        });
    }

    void DeleteLeaf() {
        QTreeWidgetItem* node = AnyNode(false);
        if (!node || node->childCount() > 0)
            return NewNode();
        const Op op{QStringLiteral("ND"), {ThoughtTree::Key(node)}};
        Run(op, [&] {
            Tree().setCurrentItem(node);
            ActionOf(&window_, QStringLiteral("mnuNodeDelete"))->trigger();
            return op;
        });
    }

    // The Backups dialog, driven as a user would, and closed.
    void InBackups(const std::function<void(QDialog&)>& work) {
        const ModalRunner previous = InstallModalRunner([&](QDialog& dialog) {
            work(dialog);
            return dialog.result();
        });
        ActionOf(&window_, QStringLiteral("mnuFileRestore"))->trigger();
        InstallModalRunner(previous);
    }

    void BackUpNow() {
        Run(Op{QStringLiteral("BK"), {}}, [&] {
            InBackups([&](QDialog& dialog) {
                Control<QPushButton>(dialog, "cmdBackUpNow")->click();
                Control<QPushButton>(dialog, "cmdClose")->click();
            });
            const QList<Backups::Entry> all = Backups::List();
            Op done{QStringLiteral("BK"), {}};
            if (!all.isEmpty() && all.first().reason == Backups::Reason::OnRequest) {
                done.args << QFileInfo(all.first().path).fileName();
                made_ << done.args.first();
            }
            return done;
        });
    }

    // One of this run's own copies, chosen in the list and restored.
    void Restore() {
        if (made_.isEmpty())
            return BackUpNow();
        const QString name = made_.at(Pick(static_cast<int>(made_.size())));
        const QList<Backups::Entry> all = Backups::List();
        int row = -1;
        for (int i = 0; i < all.size(); ++i)
            if (QFileInfo(all[i].path).fileName() == name)
                row = i;
        if (row < 0)
            return;
        Run(Op{QStringLiteral("R"), {name}}, [&] {
            InBackups([&](QDialog& dialog) {
                auto* list = Control<QTreeWidget>(dialog, "lvwBackups");
                list->setCurrentItem(list->topLevelItem(row));
                Control<QPushButton>(dialog, "cmdRestore")->click();
            });
            return Op{QStringLiteral("R"), {name}};
        });
    }

    void ClearThoughts() {
        Run(Op{QStringLiteral("CT"), {}}, [&] {
            ActionOf(&window_, QStringLiteral("mnuMaintClearThoughts"))->trigger();
            return Op{QStringLiteral("CT"), {}};
        });
    }

    // Saved in Event Maintenance.
    void EventType() {
        const QString name = QStringLiteral("Type %1").arg(Pick(8));
        const QString description = Text(Pick(4));
        const Op op{QStringLiteral("T"), {Encode(name), Encode(description)}};
        Run(op, [&] {
            const ModalRunner previous = InstallModalRunner([&](QDialog& d) {
                auto& dialog = dynamic_cast<frmEvents&>(d);
                Control<QLineEdit>(dialog, "txtEvent")->setText(name);
                Control<QLineEdit>(dialog, "txtDesc")->setText(description);
                Control<QPushButton>(dialog, "cmdEventSave")->click();
                return 0;
            });
            ActionOf(&window_, QStringLiteral("mnuMaintEvents"))->trigger();
            InstallModalRunner(previous);
            return op;
        });
    }

    frmMain& window_;
    Log& log_;
    std::mt19937& rng_;
    Answers& answers_;
    CalendarPart& calendar_;
    QStringList made_; // the copies this run made, by file name

    ThoughtTree& Tree() { return *Control<ThoughtTree>(window_, "tvwThoughts"); }
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: crash_driver FOLDER LOG SEED\n");
        return 2;
    }
    std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[3])));
    auto answers = std::make_unique<Answers>(rng);
    Answers& answering = *answers;
    InstallPrompter(std::move(answers));
    App::SetPath(QString::fromLocal8Bit(argv[1]));
    if (qEnvironmentVariableIsSet("PIMORA_CRASH_PASSWORD") &&
        Database::Unlock(qEnvironmentVariable("PIMORA_CRASH_PASSWORD")) !=
            Database::UnlockResult::Opened)
        return 1;
    if (!OpenDatabase())
        return 1;
    Log log(QString::fromLocal8Bit(argv[2]));
    log.Write(QStringLiteral("RUN"));
    frmMain window;
    window.Load();
    ActionOf(&window, QStringLiteral("mnuFunctionsThoughts"))->trigger();
    Driver driver(window, log, rng, answering);
    for (;;)
        driver.Step();
}
