#pragma once

#include "sources/SelectASourceDelegate.h"

#include <QDialog>
#include <QList>

class EditorTableView;
class FTEvent;
class FTMoc;
class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;
class SelectASourceButton;
class UncitedEventsModel;

// The sheet of events that no source cites (or of every event, with the option off), to work through: a date or
// place is edited in the list (a date is checked as everywhere), the source button cites a source on the selected
// event, the selected event's full description shows below, and the event's person (or one of a couple's) becomes
// the focal person. The events are taken once, when the sheet opens; a cited event stays listed until the option
// is changed. The sheet's size is kept for the next one while the program runs.
class EventsWithNoSourceReferences : public QDialog, public SelectASourceDelegate {
    Q_OBJECT
public:
    explicit EventsWithNoSourceReferences(FTMoc* moc, QWidget* parent = nullptr);
    ~EventsWithNoSourceReferences() override;

    // The option: only the events without citations.
    void optionsChanged();
    // The source button's choice: cited on the selected event.
    void addReference(FTSource* source) override;
    void promoteToFocalPerson();
    // The selected event's description again.
    void refreshDisplay();

    QList<FTEvent*> events() const;
    EditorTableView* table() const { return m_table; }
    QCheckBox* excludeCheckBox() const { return m_exclude; }
    QTextEdit* description() const { return m_description; }
    SelectASourceButton* sourceButton() const { return m_sourceButton; }
    QPushButton* focalButton() const { return m_focal; }
    QPushButton* closeButton() const { return m_close; }
    // The event of the selected row; null for none.
    FTEvent* selectedEvent() const;

    void done(int result) override;

private:
    FTMoc* m_moc;
    QList<FTEvent*> m_events;
    UncitedEventsModel* m_model = nullptr;
    EditorTableView* m_table = nullptr;
    QCheckBox* m_exclude = nullptr;
    QTextEdit* m_description = nullptr;
    QLabel* m_count = nullptr;
    SelectASourceButton* m_sourceButton = nullptr;
    QPushButton* m_focal = nullptr;
    QPushButton* m_close = nullptr;
};
