#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

#include <functional>

class FTEvent;
class FTMoc;
class QLabel;
class QProgressBar;
class QPushButton;

// The sheet that links the events of an older database to their event types, once. It says how long that will
// take; OK links them (showing how far it is) and reports `done(true)`; Close leaves them and reports `done(false)`,
// so that the next opening of the database offers it again. `done` is called once, whichever way the sheet ends.
//
//   CreateEventTypeIndex::install();     // at start-up: the family database opens it through ModelHooks
class CreateEventTypeIndex : public QDialog {
    Q_OBJECT
public:
    CreateEventTypeIndex(FTMoc* moc, const QList<FTEvent*>& events, std::function<void(bool completed)> done,
        QWidget* parent = nullptr);
    ~CreateEventTypeIndex() override;

    // Installs the sheet as ModelHooks::createEventTypeIndex: window-modal on the main window of the document
    // whose database it is (none open: nothing is linked and the repair stays pending).
    static void install();

    QString estimatedTime() const { return m_estimatedTime; }
    // OK: links the events, then ends the sheet.
    void didOK();
    // Close: ends the sheet, the events as they were.
    void closeSheet();

    QLabel* estimatedTimeField() const { return m_estimate; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* closeButton() const { return m_closeButton; }

public Q_SLOTS:
    void reject() override;

private:
    void finish(bool completed);

    FTMoc* m_moc;
    QList<FTEvent*> m_events;
    std::function<void(bool)> m_done;
    QString m_estimatedTime;
    bool m_running = false;
    QLabel* m_estimate = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
