#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class FTEvent;
class QCheckBox;
class QLabel;
class QPushButton;
class QWebEngineView;

// The map window of an event's place: a web view that looks the place up on the map site of MapProvider (or opens
// the map saved with the event), a status line, and Save, which reads back the view the user moved the map to and
// hands its address and a picture of it to the save sheet (GoogleMapsSaveController) over this window. Save works
// only while a page has loaded: without a connection the status line says so and nothing can be saved.
//
//   GoogleMaps::beginSheet(*event, window, [] { ... closed ... });
class GoogleMaps : public QDialog {
    Q_OBJECT
public:
    // The user default holding the window's frame.
    static const QString kFrameName; // "GoogleMapsWindow"

    // Shows the map of `event` as a sheet on `window`; `didEnd` (may be empty) runs once it has closed.
    static GoogleMaps* beginSheet(FTEvent& event, QWidget* window, std::function<void()> didEnd);

    explicit GoogleMaps(FTEvent* event, QWidget* parent = nullptr);
    ~GoogleMaps() override;

    FTEvent* event() const { return m_event; }
    QString eventDescription() const { return m_eventDescription; }
    QString statusMessage() const;
    // "<width> x <height>" of the map in pixels.
    QString mapSize() const { return m_mapSize; }
    // True once a page has loaded (Save works), false while one loads or after a failure.
    bool pageLoaded() const { return m_loaded; }

    void loadURL(const QUrl& url);
    // The Save button: the page's own address, then the save sheet.
    void saveGeocodeAndImage();
    void helpForInitialseWithGeocode();
    void closeSheet();

    QWebEngineView* webView() const { return m_webView; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    QLabel* statusField() const { return m_statusField; }
    // The save sheet while it shows.
    QDialog* saveSheet() const { return m_saveSheet; }

Q_SIGNALS:
    // The save sheet has been opened on this window.
    void saveSheetShown();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void displayStatusMessage();
    void openSaveSheet(const QString& pageUrl);

    FTEvent* m_event;
    QString m_eventDescription;
    QString m_frameStatus;
    QString m_mapSize;
    bool m_loaded = false;
    bool m_closed = false;
    QWebEngineView* m_webView = nullptr;
    QLabel* m_statusField = nullptr;
    QLabel* m_mapSizeField = nullptr;
    QCheckBox* m_useSavedMap = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPointer<QDialog> m_saveSheet;
};
