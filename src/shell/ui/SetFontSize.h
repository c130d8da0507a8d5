#pragma once

class QTableView;

// Every cell of the table in the table's font face at `pointSize`, rows 1.3 times as high (whole pixels).
void SetFontSize(QTableView* table, int pointSize);
