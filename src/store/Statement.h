#pragma once

#include "data/Recordset.h"

#include <QString>

// How every store runs a statement: its text goes into gSQL first, so that the error a
// handler reports names it, and then through the one connection.
namespace Statement {

Recordset Open(const QString& sql);
void Execute(const QString& sql);

} // namespace Statement
