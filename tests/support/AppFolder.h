#pragma once

#include <QString>
#include <QTemporaryDir>

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

// Runs one statement on gConn; for tests that set data up.
void Exec(const QString& sql);
// The first column of the first row of a query, or an invalid variant when none.
QVariant Scalar(const QString& sql);
int Count(const QString& sql);
// The database file passes SQLite's own check of its structure.
bool IntegrityOk();
