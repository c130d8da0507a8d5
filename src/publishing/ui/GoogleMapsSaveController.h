#pragma once

#include <QDialog>

#include <memory>

class GoogleMapsSave;
class QButtonGroup;
class QCheckBox;
class QPushButton;

// The sheet over the map window that saves the map: its address onto the event or every event at the place, its
// picture onto all people at the place, the event's own person or couple, or nobody (GoogleMapsSave). "Show Me"
// lists the people and events at the place. Save stores and closes; Cancel stores nothing.
class GoogleMapsSaveController : public QDialog {
    Q_OBJECT
public:
    // Window-modal on `window`; deleted when it closes.
    static GoogleMapsSaveController* beginSheet(std::unique_ptr<GoogleMapsSave> saving, QWidget* window);

    GoogleMapsSaveController(std::unique_ptr<GoogleMapsSave> saving, QWidget* parent = nullptr);
    ~GoogleMapsSaveController() override;

    GoogleMapsSave& saving() const { return *m_saving; }
    void save();
    void cancel();
    void showMe();

    QCheckBox* allEventsCheckBox() const { return m_allEvents; }
    QButtonGroup* saveImageMatrix() const { return m_saveImageMatrix; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

private:
    std::unique_ptr<GoogleMapsSave> m_saving;
    QCheckBox* m_allEvents = nullptr;
    QButtonGroup* m_saveImageMatrix = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
