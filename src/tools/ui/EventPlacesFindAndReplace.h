#pragma once

#include "tools/PlacesReplacement.h"

#include <QDialog>
#include <QSize>

class EditorTableView;
class FTMoc;
class PlaceReplacementModel;
class QLabel;
class QLineEdit;
class QProgressBar;

// Find and replace over the place texts of all events: the places that hold the typed text, each beside what it
// becomes with the replacement typed so far; the user selects the places to change and replaces them, confirming
// place by place or all at once. A sheet on the database's main window; it keeps its size for the running program.
class EventPlacesFindAndReplace : public QDialog {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);

    explicit EventPlacesFindAndReplace(FTMoc* moc, QWidget* parent = nullptr);
    ~EventPlacesFindAndReplace() override;

    PlacesReplacement& replacement() { return m_replacement; }

    // ---- Actions ----
    void findString(const QString& text);
    void replacementTextChanged(const QString& text);
    void replaceSelectedPlaceNames();
    // Selects the rows of these places (tests and the keyboard both select through the table).
    void selectPlaces(const QStringList& places);

    EditorTableView* tv() const { return m_tv; }
    PlaceReplacementModel* model() const { return m_model; }
    QLineEdit* filterSearchField() const { return m_filterSearchField; }
    QLineEdit* replacementTextField() const { return m_replacementTextField; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QLabel* numUpdated() const { return m_numUpdated; }

public Q_SLOTS:
    void done(int result) override;

private:
    PlacesReplacement m_replacement;
    PlaceReplacementModel* m_model = nullptr;
    EditorTableView* m_tv = nullptr;
    QLineEdit* m_filterSearchField = nullptr;
    QLineEdit* m_replacementTextField = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_numUpdated = nullptr;
};
