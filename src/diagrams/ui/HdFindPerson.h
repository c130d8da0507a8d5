#pragma once

#include <QDialog>
#include <QList>

class FTPerson;
class HdView;
class QTableWidget;

// The people a hierarchy diagram shows, each once, in a list: choosing one selects the person's first box in the
// diagram (the first a depth-first walk from the root meets) and scrolls to it. Run modally and deleted each time.
//
//   HdFindPerson find(view, hierarchyWindow);
//   find.exec();
class HdFindPerson : public QDialog {
    Q_OBJECT
public:
    HdFindPerson(HdView* view, QWidget* hierarchyWindow);

    // The people listed, in the list's order.
    const QList<FTPerson*>& peopleArray() const { return m_peopleArray; }
    QTableWidget* tableView() const { return m_tv; }
    // Reads the diagram's people again.
    void loadPeopleArray();

private:
    void tableViewSelectionDidChange();

    HdView* m_view;
    QList<FTPerson*> m_peopleArray;
    QTableWidget* m_tv;
};
