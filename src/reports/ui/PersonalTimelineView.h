#pragma once

#include <QWidget>

class FTPerson;

// Paints a person's timeline (PersonalTimelineLayout) over the whole widget, afresh from the database on every
// paint, with the parents' and children's events by the user default "includeRelatedEvents".
class PersonalTimelineView : public QWidget {
    Q_OBJECT
public:
    explicit PersonalTimelineView(QWidget* parent = nullptr);
    void setPerson(FTPerson* person);
    FTPerson* person() const { return m_person; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FTPerson* m_person = nullptr;
};
