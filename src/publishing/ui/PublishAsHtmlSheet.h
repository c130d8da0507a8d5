#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class FTMoc;
class PublishAsHtml;
class PublishAsHtml_Options;
class QLabel;
class QProgressBar;
class QPushButton;
class QWebEngineView;
class WindowProgress;

// The web-page generator's window, a sheet on the main window: a preview of the pages (a web view showing the
// focal person's page after each run), the run's progress with the time left, its messages and the buttons
// Options, Close and Generate. On opening it previews the focal person's first circle at once and, a second later,
// opens the options panel (PublishAsHtml_Options) beside itself; each changed option previews again.
//
// Generate publishes the chosen relationship levels, after a warning when living people are not left out. Close
// asks what becomes of the last run's folder: Save moves it into the Reports folder (a preview that had to show
// people the options leave out cannot be saved: the generator refuses it), Discard deletes it, Cancel keeps the
// window. The runs themselves are PublishAsHtml's; this window shows them.
//
//   if (DOvurDocument* doc = AppController::documentForCommand(true))
//       doc->beginSheet(new PublishAsHtmlSheet(doc->moc()));
class PublishAsHtmlSheet : public QDialog {
    Q_OBJECT
public:
    explicit PublishAsHtmlSheet(FTMoc* moc, QWidget* parent = nullptr);
    ~PublishAsHtmlSheet() override;

    PublishAsHtml& generator() const { return *m_generator; }

    // The preview run (kinship 1); the options panel calls it after a change.
    void generatePreview();
    // Generate: the full run of htmlKinship levels.
    void generateAll();
    // The chosen relationship levels changed: the people they hold and the size estimate.
    void kinshipChanged();
    // Opens the options panel when it is not open.
    void displayOptions();
    // Close: Save, Discard or Cancel.
    void closeSheet();
    void helpForKinship();

    // The options panel while it is open.
    PublishAsHtml_Options* optionsPanel() const;
    QWebEngineView* webView() const { return m_webView; }
    QPushButton* generateButton() const { return m_generateButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    QPushButton* optionsButton() const { return m_optionsButton; }
    QString generalMessage() const;
    // "<width> x <height>" of the preview.
    QString webViewSize() const;
    // True once the page of the last run has loaded into the preview.
    bool previewLoaded() const { return m_previewLoaded; }

Q_SIGNALS:
    // The preview has finished loading the page of a run.
    void previewShown(bool ok);

public Q_SLOTS:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void enableControls(bool enabled);
    void showRunTexts();
    void loadPreview();
    void closeOptions();

    std::unique_ptr<PublishAsHtml> m_generator;
    std::unique_ptr<WindowProgress> m_windowProgress;
    QWebEngineView* m_webView = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_numProcessed = nullptr;
    QLabel* m_generalMessage = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_totalSize = nullptr;
    QLabel* m_peopleSelected = nullptr;
    QLabel* m_webViewSize = nullptr;
    QPushButton* m_optionsButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPointer<PublishAsHtml_Options> m_options;
    bool m_running = false;
    bool m_closed = false;
    bool m_previewLoaded = false;
};
