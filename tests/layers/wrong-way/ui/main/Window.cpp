#include "calendar/Grid.h"
#include "ui/widgets/Tabs.h"
#include "../../data/Engine.h"
