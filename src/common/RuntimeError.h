#pragma once

#include <QString>
#include <exception>

// What went wrong, so callers can decide without parsing descriptions.
enum class ErrorKind {
    General,
    FileNotFound, // detail: the missing file's path
    MissingTable, // detail: the table's name as the statement wrote it
    NotADatabase, // detail: the file's path
    Damaged,      // one of our files whose pages SQLite cannot read; detail: its path
    Constraint,   // a value the table already holds where it must be unique
    Syntax,       // the statement could not be understood
    Overflow,
    InvalidUseOfNull,
    FileAccess, // a file could not be read or written
};

// The run-time error every layer raises: a number, a description, a source and a kind.
class RuntimeError : public std::exception {
public:
    RuntimeError(long number, QString description, QString source = {},
                 ErrorKind kind = ErrorKind::General, QString detail = {});

    long Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& Source() const { return source_; }
    ErrorKind Kind() const { return kind_; }
    const QString& Detail() const { return detail_; }

    const char* what() const noexcept override { return what_.constData(); }

private:
    long number_;
    QString description_;
    QString source_;
    ErrorKind kind_;
    QString detail_;
    QByteArray what_;
};
