#pragma once

#include <QPlainTextEdit>

class CdDiagram;
class CdPerson;

// The family diagram's entry box: a small plain-text editor laid over an empty slot (a child, spouse, parent or step
// parent), opened with a prompt that holds the family name the newcomer most likely has and the slot's gender
// ("Smith, M"), selected so that typing replaces it. Return makes the person from "<name>, <gender letter>"
// (NewRelativeEntry) and closes the box; Tab selects the gender after the comma; Escape closes the box without a
// question. Leaving the box otherwise after typing asks whether to discard the text; "Don't Discard" keeps the
// box, its text and the keyboard. While the box is open the diagram does not rebuild its boxes.
//
//   editBox->activateForCdPerson(emptySlot);   // on a press on an empty slot
//   if (!editBox->resignFirstResponder())      // before anything else takes the keyboard
//       return;
class CdEditBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CdEditBox(CdDiagram* pcd);

    // The slot being filled; null while the box is idle (hidden).
    CdPerson* cdPerson() const { return m_cdPerson; }
    bool isActive() const { return m_cdPerson != nullptr; }
    // The text the box opened with.
    const QString& promptString() const { return m_promptString; }

    // Opens on the slot with its prompt and takes the keyboard.
    void activateForCdPerson(CdPerson* box);
    // With a slot: the box lies over it with its prompt; null: the box goes idle.
    void setCdPerson(CdPerson* box);
    // Lies over its slot again (the diagram was laid out anew): the slot's rectangle, at least 25 points high.
    void followBox();
    // Whether the box lets the keyboard go: after typing the user is asked first, and "Don't Discard" answers false
    // (box, text and keyboard stay). When it lets go, it closes.
    bool resignFirstResponder();
    // Closes without a question (the diagram rebuilds, or the person was made); the diagram keeps the keyboard.
    void remove();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void createPerson();
    void selectGender();
    void leaveAfterFocusLoss();

    CdDiagram* m_pcd;
    CdPerson* m_cdPerson = nullptr;
    QString m_promptString;
    // Set while the box closes or asks, so that the focus it moves raises no question.
    bool m_leaving = false;
};
