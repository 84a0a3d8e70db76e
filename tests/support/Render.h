#pragma once
#include "support/AppFolder.h" // compatibility: Rows() lives there now
