#include "../../data/Engine.h"
#include "calendar/Grid.h"
#include "controls/Tabs.h"
