#include "common/AppGlobals.h"

short gCurrentFunction = kFunctionCalendar;
QString gShortDateFormat;
QString gMinimizeToSystray;
QString gEnableToolTips;

void ResetAppGlobals() {
    gCurrentFunction = kFunctionCalendar;
    gShortDateFormat.clear();
    gMinimizeToSystray.clear();
    gEnableToolTips.clear();
}
