#pragma once

#include "common/RuntimeError.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>
#include <ostream>
#include <sys/resource.h>

struct sqlite3;

// A fresh application folder for one test: the template beside the program, the program's
// globals back at their start values, and (with WithDatabase) a database made from it.
class AppFolder {
public:
    enum Setup { Empty, WithTemplate, WithDatabase };
    explicit AppFolder(Setup setup = WithDatabase);
    ~AppFolder();
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.filePath(name); }
    void CopyTemplateTo(const QString& name) const;
    // Opens gConn on pengkalan.dat directly, without the provisioning questions.
    void Connect() const;

private:
    QTemporaryDir dir_;
};

// Statements on gConn, for tests that set data up or look at it.
void Exec(const QString& sql);
QVariant Scalar(const QString& sql); // first column of the first row, invalid when none
int Count(const QString& sql);
// A query's rows as one text: (v1,v2)(v1,v2)... with 'text', NULL, numbers, #yyyy-mm-dd#
// dates and @hh:mm:ss times.
QString Rows(const QString& sql);

// A disk that fills up for the rest of a scope: no file of this process may grow beyond the
// given size (writes past it fail as on a full disk instead of raising SIGXFSZ).
class DiskFull {
public:
    explicit DiskFull(long long bytes);
    ~DiskFull();
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;

private:
    rlimit before_{};
    void (*handler_)(int) = nullptr;
};

// Breaks one table of the open database for the rest of a scope, through a connection of its
// own, and mends it at the end. The program's connection meets the fault on its next
// statement on the table.
class TableFault {
public:
    enum Kind {
        Missing,        // the table is gone: every statement on it fails
        RefusesWrites,  // reads work; every insert, update and delete fails
        RefusesUpdates, // reads, inserts and deletes work; every update fails, even one that
                        // would change no row
        RowsUnreadable, // "select *" fails on the rows that match `rows` (all by default);
                        // reads of named columns work, and so do inserts and deletes of
                        // other rows; updates fail
    };
    TableFault(const QString& table, Kind kind, const QString& rows = "1");
    ~TableFault();
    // What the engine reports for a write a RefusesWrites table turned down.
    static inline const QString kRefused =
        QStringLiteral("The change was refused by the database: refused for the test");
    TableFault(const TableFault&) = delete;
    TableFault& operator=(const TableFault&) = delete;

private:
    void Run(const QString& sql);

    QString table_;
    Kind kind_;
    sqlite3* db_ = nullptr;
};

// The files under folder (its subfolders too) whose bytes hold text in UTF-8, UTF-16LE or
// UTF-16BE.
QStringList FilesHolding(const QString& folder, const QString& text);

// The error an action raises; a test fails when it raises none.
RuntimeError ErrorOf(const std::function<void()>& action);

// Failure messages show texts rather than their bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
