#pragma once

#include <QDialog>
#include <QSize>

#include <functional>

class EditorTableView;
class EventsByDateModel;
class FTEvent;
class FTMoc;
class QSplitter;
class TextListModel;

// What the places and event names editors share: a list of texts (places, or the names of events) beside the
// events that carry the chosen one, a text renamed by editing it in the list, a sheet that keeps its size for the
// running program and saves when it closes, and an event's owner made the focal person.
class TextsAndEventsWindow : public QDialog {
    Q_OBJECT
public:
    // The event's owner becomes the focal person and the window closes; "SelectEventTryAgain" without an event.
    void makeOwnerFocal(FTEvent* event);

public Q_SLOTS:
    void done(int result) override;

protected:
    // `prevSize`: the size kept for the running program (its width is 0 until a window of the kind closes).
    TextsAndEventsWindow(FTMoc* moc, const QString& objectName, const QString& title, QSize* prevSize,
        QWidget* parent);

    struct Panes {
        QString textsName; // the tables' object names
        QString eventsName;
        QString header; // the texts' column
        bool severalTexts = false; // several texts may be selected
        bool checksBirthOwner = false; // see ToolsWindowHelpers::makeEventsTable
        int pointSize = 11;
        int textsShare = 1; // the width shared in the proportion textsShare : eventsShare
        int eventsShare = 2;
    };
    // The two tables side by side. `rename` gets the row of the texts and what was typed, once the edit has closed.
    QSplitter* makePanes(const Panes& panes, std::function<void(int row, const QString& typed)> rename);
    // The panel colour, then `defaultSize`, or the size kept.
    void finishSetUp(const QSize& defaultSize);

    FTMoc* m_moc;
    TextListModel* m_textsModel = nullptr;
    EditorTableView* m_texts = nullptr;
    EventsByDateModel* m_eventsModel = nullptr;
    EditorTableView* m_events = nullptr;

private:
    QSize* m_prevSize;
};
