#include "data/EngineErrors.h"

namespace EngineError {

namespace {
const QString kSource = QStringLiteral("Pimora database engine");
} // namespace

RuntimeError General(const QString& description, ErrorKind kind, const QString& detail) {
    return RuntimeError(kGeneral, description, kSource, kind, detail);
}

RuntimeError FileNotFound(const QString& path) {
    return RuntimeError(kGeneral, QStringLiteral("Could not find file '") + path + "'.", kSource,
                        ErrorKind::FileNotFound, path);
}

RuntimeError NotADatabase(const QString& path, const QString& description) {
    return RuntimeError(kGeneral, description, kSource, ErrorKind::NotADatabase, path);
}

RuntimeError Damaged(const QString& path, const QString& description) {
    return RuntimeError(kGeneral, description, kSource, ErrorKind::Damaged, path);
}

RuntimeError MissingTable(const QString& table) {
    return RuntimeError(kMissingTable,
                        QStringLiteral("The database engine cannot find the input table or query "
                                       "'") +
                            table +
                            QStringLiteral("'.  Make sure it exists and that its name is spelled "
                                           "correctly."),
                        kSource, ErrorKind::MissingTable, table);
}

RuntimeError Syntax(const QString& description) {
    return RuntimeError(kSyntax, description, kSource, ErrorKind::Syntax);
}

RuntimeError TypeMismatch() {
    return RuntimeError(kTypeMismatch, QStringLiteral("Data type mismatch in criteria expression."),
                        kSource);
}

RuntimeError NoCurrentRecord() {
    return RuntimeError(kNoCurrentRecord,
                        QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                       "deleted. Requested operation requires a current record."),
                        kSource);
}

RuntimeError ItemNotFound() {
    return RuntimeError(kItemNotFound,
                        QStringLiteral("Item cannot be found in the collection corresponding to "
                                       "the requested name or ordinal."),
                        kSource);
}

RuntimeError ObjectClosed() {
    return RuntimeError(kObjectClosed,
                        QStringLiteral("Operation is not allowed when the object is closed."),
                        kSource);
}

RuntimeError ObjectOpen() {
    return RuntimeError(
        kObjectOpen, QStringLiteral("Operation is not allowed when the object is open."), kSource);
}

} // namespace EngineError
