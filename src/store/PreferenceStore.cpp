#include "store/PreferenceStore.h"

#include "common/modQXCommFunc.h"
#include "store/SqlText.h"
#include "store/Statement.h"

namespace PreferenceStore {

namespace {

using Statement::Execute;
using Statement::Open;

} // namespace

std::optional<Preferences> Load() {
    Recordset rs = Open(QStringLiteral("select * from pmpref"));
    if (rs.Eof())
        return std::nullopt;
    return Preferences{NullToEmpty(rs.Field(QStringLiteral("pwd"))),
                       NullToEmpty(rs.Field(QStringLiteral("shortdateformat"))),
                       NullToEmpty(rs.Field(QStringLiteral("minimizetosystray"))),
                       NullToEmpty(rs.Field(QStringLiteral("enabletooltips")))};
}

std::optional<QString> StoredPassword() {
    Recordset rs = Open(QStringLiteral("select pwd from pmpref"));
    if (rs.Eof())
        return std::nullopt;
    return NullToEmpty(rs.Field(QStringLiteral("pwd")));
}

void AddEmptyRow() {
    Execute(QStringLiteral("insert into pmpref (pwd) values ('')"));
}

void SetPassword(const QString& stored) {
    Execute(QStringLiteral("update pmpref set pwd = '") + Quoted(stored) + QStringLiteral("'"));
}

void RemovePassword() {
    Execute(QStringLiteral("update pmpref set pwd  = ''"));
}

void SetMinimizeToSystray(bool on) {
    Execute(on ? QStringLiteral("update pmpref set minimizetosystray ='Y'")
               : QStringLiteral("update pmpref set minimizetosystray ='N'"));
}

void SetEnableToolTips(bool on) {
    Execute(on ? QStringLiteral("update pmpref set enabletooltips='Y'")
               : QStringLiteral("update pmpref set enabletooltips='N'"));
}

} // namespace PreferenceStore
