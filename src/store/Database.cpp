#include "store/Database.h"

#include "data/modDB.h"

QString Database::RequiredVersion() {
    return CURRENT_DB_VERSION;
}

bool Database::CheckVersion(const std::function<void()>& beforeUpgrade) {
    return CheckDBVersion(beforeUpgrade);
}

void Database::Close() {
    CloseDatabase();
}
