#pragma once

class QTableView;

// The program's text sizes were chosen beside a desktop whose text was 11 points: here 11 stands for the
// desktop's general text size, so that a table matches the labels and check boxes beside it, and a larger or
// smaller size keeps its distance from it (the Font Size stepper still makes the text larger or smaller).
int desktopPointSize(int pointSize);

// Every cell of the table in the table's font face at `pointSize` (taken as desktopPointSize does), rows 1.3
// times that size (whole pixels).
void SetFontSize(QTableView* table, int pointSize);
