#pragma once

#include <functional>
#include <initializer_list>

class QTreeWidget;

// A list in report form keeps the column widths it was given (in twips) at every size: its
// last column does not stretch to the list's width.
void SetColumnWidthsTwips(QTreeWidget* list, std::initializer_list<int> twips);

// Opens the current item once per double-click and once for Enter or Return. A single click
// only selects, whatever the desktop's setting for activating items.
void ConnectOpen(QTreeWidget* list, std::function<void()> open);
// Runs click once per click on an item (a double-click is one click) and once for Enter or
// Return.
void ConnectClick(QTreeWidget* list, std::function<void()> click);
