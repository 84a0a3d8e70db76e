#include "security/Preferences.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"

void LoadPreferences(const std::function<void(bool enable)>& applyToolTips) {
    Recordset rs;
    try {
        gSQL = QStringLiteral("select * from pmpref");
        rs.Open(gSQL, *gConn);
        if (!rs.Eof()) {
            gShortDateFormat = NullToEmpty(rs.Field(QStringLiteral("shortdateformat")));
            gMinimizeToSystray = NullToEmpty(rs.Field(QStringLiteral("minimizetosystray")));
            gEnableToolTips = NullToEmpty(rs.Field(QStringLiteral("enabletooltips")));
            applyToolTips(gEnableToolTips == QLatin1String("Y"));
        }
        rs.Close();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while gettting preferences!"), QStringLiteral("Error!"), e);
        rs.CloseIfOpen();
    }
}
