#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class FTMoc;
class PublishAsHtmlSheet;
class QCheckBox;
class QPushButton;

// The options panel of the web-page generator: a tool window beside the generator's window holding a control for
// each "html" user default the pages follow. The controls edit the user defaults directly (the panel keeps no
// values of its own), so a change takes effect at the next run; after a change the generator previews again when
// "Regenerate the preview after each change" (htmlAutoRegenerate) is on, and Preview always does. Standard and
// Small screen store one of the two fixed sets of options (HtmlOptions) and preview.
//
//   auto* panel = new PublishAsHtml_Options(moc, sheet);    // the generator's window owns it
//   panel->show();
class PublishAsHtml_Options : public QDialog {
    Q_OBJECT
public:
    PublishAsHtml_Options(FTMoc* moc, PublishAsHtmlSheet* parentController);

    // A control's action: previews again when htmlAutoRegenerate is on, or when `preview` (the Preview button).
    void generate(bool preview = false);
    void setDefaults();
    void setiPhoneDefaults();
    void helpForCompressedOriginals();
    // Shows every control's user default again (after a preset).
    void refresh();

    // The installed font families, the choices for htmlDefaultFontFace.
    QStringList availableFontFaces() const { return m_availableFontFaces; }
    // The control that edits a user default, found by the key (its object name).
    QWidget* controlFor(const QString& key) const;
    QPushButton* previewButton() const { return m_previewButton; }
    QPushButton* standardButton() const { return m_standardButton; }
    QPushButton* smallScreenButton() const { return m_smallScreenButton; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FTMoc* m_moc;
    PublishAsHtmlSheet* m_parent;
    QStringList m_availableFontFaces;
    std::vector<std::function<void()>> m_refreshers;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_standardButton = nullptr;
    QPushButton* m_smallScreenButton = nullptr;
};
