#include "calendar/Grid.h"
#include "data/Engine.h"
#include "thoughts/Tree.h"
