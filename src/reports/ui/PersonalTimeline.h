#pragma once

#include <QDialog>

class FTMoc;
class FTPerson;
class PersonalTimelineView;

// A person's life as columns of decades (PersonalTimelineView), run modally from the person editor. Every
// timeline of the run opens at the size the last one was closed at.
//
//   PersonalTimeline timeline(person, window);
//   timeline.exec();
class PersonalTimeline : public QDialog {
    Q_OBJECT
public:
    explicit PersonalTimeline(FTPerson* person, QWidget* parent = nullptr);
    ~PersonalTimeline() override;

    PersonalTimelineView* timelineView() const { return m_timelineView; }
    void done(int result) override;

private:
    FTPerson* m_person;
    FTMoc* m_moc;
    PersonalTimelineView* m_timelineView;
};
