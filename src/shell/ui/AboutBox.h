#pragma once

class QDialog;
class QWidget;

// Help > About Kinloom: the program's name and version, what it is for, and the licences of the libraries it is
// built on. Made, not shown, so that tests can look at it; showAboutBox() runs it.
QDialog* createAboutBox(QWidget* parent);
void showAboutBox();
