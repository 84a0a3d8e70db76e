#include "security/Preferences.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "store/PreferenceStore.h"

void LoadPreferences(const std::function<void(bool enable)>& applyToolTips) {
    try {
        if (const auto stored = PreferenceStore::Load()) {
            gShortDateFormat = stored->shortDateFormat;
            gMinimizeToSystray = stored->minimizeToSystray;
            gEnableToolTips = stored->enableToolTips;
            applyToolTips(gEnableToolTips == QLatin1String("Y"));
        }
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while gettting preferences!"), QStringLiteral("Error!"), e);
    }
}
