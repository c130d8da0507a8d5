#pragma once

#include "editor/ui/EditorPage.h"
#include "editor/ui/StoryGenerationOptions.h"

#include <QDateTime>
#include <QPointer>

#include <functional>

class FTMoc;
class FTPerson;
class QAction;
class QComboBox;
class QLabel;
class QTextCharFormat;
class StoryTextEdit;

// The person editor's story page: the selected person's story as rich text with a small formatting bar, the
// generation of a story from the database (its options in a sheet), clearing the story and copying it to a
// word processor.
//
// What is typed is counted and written to the person's story when the edit ends: the focus leaves the text,
// the page is left, or another person is shown. The first text written makes the person's story record; a
// story emptied of text and pictures deletes it.
class InfoArea_Story : public EditorPage {
    Q_OBJECT
public:
    explicit InfoArea_Story(QWidget* parent = nullptr);
    ~InfoArea_Story() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void refreshDisplay() override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    bool endEditing() override;
    std::optional<bool> contentMark() const override;

    FTPerson* selectedPerson() const { return m_person; }
    StoryTextEdit* tv() const { return m_tv; }
    // "Prepend", "Append" or "Replace": where generated text goes.
    QString currentMode() const { return m_currentMode; }
    int changes() const { return m_changes; }
    // Shows the mode of "soPrependAppendReplace"; any other value leaves the label as it was.
    void displayCurrentMode();

    // Actions.
    void generateStory();
    void changeOptions();
    void clearStory();
    void copyToWordProcessor();

    // The options sheet while it is open.
    StoryGenerationOptions* optionsSheet() const { return m_optionsSheet; }
    // The time generated headings name (the current time unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    QWidget* buildFormatBar();
    void textDidChange();
    // Whether the text shown makes a story when stored: blanks alone do not.
    bool holdsStory() const;
    // Tells the editor when the mark of the tab may have changed.
    void noteContentMark();
    void textDidEndEditing();
    void storeStory();
    void writeStory(const QString& html);
    void load();
    void mergeFormat(const QTextCharFormat& format);
    void indent(int step);
    void showFormat();

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    StoryTextEdit* m_tv = nullptr;
    QLabel* m_modeLabel = nullptr;
    QString m_currentMode;
    int m_changes = 0;
    bool m_loading = false;
    // The mark the tab was last told of.
    std::optional<bool> m_contentMark;
    // The story text as last read or written, to see whether the record changed elsewhere (an undo).
    QString m_shownHtml;
    std::function<QDateTime()> m_clock;
    QPointer<StoryGenerationOptions> m_optionsSheet;

    QComboBox* m_fontSize = nullptr;
    QAction* m_bold = nullptr;
    QAction* m_italic = nullptr;
    QAction* m_underline = nullptr;
    QList<QAction*> m_alignments;
    // What works only while a person is shown.
    QList<QWidget*> m_controls;
};
