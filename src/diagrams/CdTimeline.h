#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class CdPerson;
class QPainter;

// The years across the top of the family diagram: for each column of boxes (children, the focal person with the
// spouses, each generation of ancestors), the average birth year of the people in it, rounded to 5.
namespace CdTimeline {
struct Label {
    double x = 0;   // where the text starts: the last counted box's centre - 20
    int year = 0;
};
// A person without a birth year counts as dying at 50; without either year the box is not counted. Associated
// people are left out. One label per column 0 .. maxAncLevel + 1 that counted anybody.
QList<Label> labels(const std::vector<std::unique_ptr<CdPerson>>& boxes, int maxAncLevel);
// Remainders 0 to 2 round down, 3 and 4 up.
int roundedToFive(int year);
void displayTimeline(QPainter& painter, const QList<Label>& labels);
}
