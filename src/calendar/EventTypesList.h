#pragma once

class QTreeWidget;
class QWidget;

// The list of event types both event-type dialogs show: "Event" and "Description".
QTreeWidget* MakeEventTypesList(QWidget* parent);
// PopulateEventsLvw: every type in name order; throws the engine's error.
void PopulateEventsLvw(QTreeWidget* lvwEvents);
