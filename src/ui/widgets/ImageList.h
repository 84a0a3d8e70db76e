#pragma once

#include <QIcon>

// The pictures behind the icon indices the windows use (ilsIcons16, ilsIcons32).
QIcon ImageListIcon(int index);
