#include "data/Engine.h"

#include "calendar/Grid.h"
#include "common/Helpers.h"
