#include "store/Statement.h"

#include "data/modDB.h"

namespace Statement {

Recordset Open(const QString& sql) {
    gSQL = sql;
    Recordset rs;
    rs.Open(gSQL, *gConn);
    return rs;
}

void Execute(const QString& sql) {
    gSQL = sql;
    gConn->Execute(gSQL);
}

} // namespace Statement
