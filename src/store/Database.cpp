#include "store/Database.h"

#include "data/modDB.h"

QString Database::RequiredVersion() {
    return CURRENT_DB_VERSION;
}

bool Database::CheckVersion() {
    return CheckDBVersion();
}

void Database::Close() {
    CloseDatabase();
}
