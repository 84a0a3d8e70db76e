#pragma once

class QPlainTextEdit;
class QString;

// Puts a stored text in a box as a fresh document: the caret at the start, the view at the
// top, nothing to undo and nothing modified. The text is laid out once; the box's own
// setPlainText also reapplies the character format to the whole text, which lays it out a
// second time, and that was most of the cost of opening a day or a node.
void LoadPlainText(QPlainTextEdit& box, const QString& text);
