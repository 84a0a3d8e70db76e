#pragma once
#include "support/AppFolder.h" // compatibility: DiskFull lives there now
