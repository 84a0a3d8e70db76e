#include "common/RuntimeError.h"

RuntimeError::RuntimeError(long number, QString description, QString source, ErrorKind kind,
                           QString detail)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      kind_(kind), detail_(std::move(detail)), what_(description_.toUtf8()) {}
