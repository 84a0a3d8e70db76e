#pragma once
#include "support/AppFolder.h" // compatibility: TableFault lives there now
