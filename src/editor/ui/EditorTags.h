#pragma once

class QWidget;

// The person editor's pages name their fields by number (the tag), as the rules about fields, checks and the
// Tab order do.
void setViewTag(QWidget* view, int tag);
int viewTag(const QWidget* view);
// The view under `root` (at any depth, `root` included) with the tag; null when none has it.
QWidget* viewWithTag(QWidget* root, int tag);
