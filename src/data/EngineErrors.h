#pragma once

#include "common/RuntimeError.h"

// Every error the database engine raises, with its number, in one place.
namespace EngineError {

inline constexpr long kGeneral = -2147467259; // the engine's catch-all failure
inline constexpr long kMissingTable = -2147217865;
inline constexpr long kSyntax = -2147217900;
inline constexpr long kTypeMismatch = -2147217913;
inline constexpr long kNoCurrentRecord = 3021;
inline constexpr long kItemNotFound = 3265;
inline constexpr long kObjectClosed = 3704;
inline constexpr long kObjectOpen = 3705;

RuntimeError General(const QString& description, ErrorKind kind = ErrorKind::General,
                     const QString& detail = {});
RuntimeError FileNotFound(const QString& path);
RuntimeError NotADatabase(const QString& path, const QString& description);
RuntimeError Damaged(const QString& path, const QString& description);
RuntimeError MissingTable(const QString& table);
RuntimeError Syntax(const QString& description);
RuntimeError TypeMismatch();
RuntimeError NoCurrentRecord();
RuntimeError ItemNotFound();
RuntimeError ObjectClosed();
RuntimeError ObjectOpen();

} // namespace EngineError
