#pragma once

#include "tools/EventNamesEditing.h"

#include "tools/ui/TextsAndEventsWindow.h"
#include <QSize>

class EditorTableView;
class EventsByDateModel;
class FTEvent;
class FTMoc;
class QComboBox;
class QLineEdit;
class TextListModel;

// The event names editor: for one type of other personal event, the names its events carry (filtered by a part of
// the name), and the events with the chosen name (of one year, when a year is typed). The user renames a name in
// all those events by editing it in the list, corrects a date in place, deletes an event or makes its owner the
// focal person. A sheet on the database's main window; it keeps its size, and the type chosen last, for the
// running program.
class EventNamesEditor : public TextsAndEventsWindow {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);
    // The index of the type chosen last (0 at program start).
    static int previousEventSubtypeIndex();
    static void setPreviousEventSubtypeIndex(int index);

    explicit EventNamesEditor(FTMoc* moc, QWidget* parent = nullptr);
    ~EventNamesEditor() override;

    EventNamesEditing& editing() { return m_editing; }

    // ---- Actions ----
    void setSubtypeFilter(const QString& typeName);
    void findEventName(const QString& text);
    void findEventYear(const QString& text);
    // The name of `row` renamed to `typed` (an edit of the list does this once the edit has closed).
    void renameEventName(int row, const QString& typed);
    void deleteEvent();
    void promoteToFocalPerson();
    // Selects the name's row (none when it is not listed) and shows its events.
    void selectEventName(const QString& name);

    FTEvent* selectedEvent() const;

    QComboBox* subtypeComboBox() const { return m_subtypeComboBox; }
    QLineEdit* eventNameFilterField() const { return m_eventNameFilterField; }
    QLineEdit* eventYearFilterField() const { return m_eventYearFilterField; }
    EditorTableView* tv_EventNames() const { return m_texts; }
    EditorTableView* tv_Events() const { return m_events; }
    TextListModel* eventNamesModel() const { return m_textsModel; }
    EventsByDateModel* eventsModel() const { return m_eventsModel; }

private:
    void setSubtypesArrayForComboBox();
    // The names again, keeping the selected one when it is still listed.
    void showNames();
    void loadEvents();

    EventNamesEditing m_editing;
    QComboBox* m_subtypeComboBox = nullptr;
    QLineEdit* m_eventNameFilterField = nullptr;
    QLineEdit* m_eventYearFilterField = nullptr;
};
