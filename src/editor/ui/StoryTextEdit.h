#pragma once

#include <QTextEdit>

#include <functional>

// The story page's rich text. The focus leaving it ends the edit (`didEndEditing`); pictures pasted or dropped
// into it become part of the text itself, so that they are stored with the story.
class StoryTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit StoryTextEdit(QWidget* parent = nullptr);

    std::function<void()> didEndEditing;

protected:
    void focusOutEvent(QFocusEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
