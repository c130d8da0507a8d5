#include "editor/ui/InfoArea_Notes.h"

#include "editor/PersonEditorController.h"
#include "editor/ui/NotesTextEdit.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/NotificationCenter.h"

#include <QVBoxLayout>

PersonTextPage::PersonTextPage(const QString& textName, std::function<QString(const FTPerson*)> read,
                               std::function<void(FTPerson*, const QString&)> write, QWidget* parent)
    : EditorPage(parent)
    , m_text(new NotesTextEdit(this))
    , m_read(std::move(read))
{
    m_text->setObjectName(textName);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->commit = [this, write = std::move(write)](const QString& text) {
        if (!m_person || m_read(m_person) == text)
            return;
        write(m_person, text);
        if (m_moc)
            m_moc->deferredSave();
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    load();
}

void PersonTextPage::setSelectedPerson(FTPerson* person)
{
    if (person == m_person)
        return;
    if (!isReplayingUndo(m_moc))
        m_text->endEditing();
    m_person = person;
    m_moc = person ? person->moc() : nullptr;
    load();
}

void PersonTextPage::refreshDisplay()
{
    // What is being typed reaches the record before the page reads it again.
    m_text->endEditing();
    load();
}

void PersonTextPage::load()
{
    m_text->setEnabled(m_person != nullptr);
    m_text->setValue(m_person ? m_read(m_person) : QString());
}

void PersonTextPage::setFontSize(long size)
{
    m_text->setPointSize(PersonEditorController::notesAndCommentsFontSizeFor(size));
}

void PersonTextPage::freeMemory()
{
    setSelectedPerson(nullptr);
}

void PersonTextPage::personToBeDeleted(const Notification& n)
{
    if (n.object && n.object == m_person) {
        m_text->setValue({});
        setSelectedPerson(nullptr);
    }
}

bool PersonTextPage::endEditing()
{
    m_text->endEditing();
    return true;
}

InfoArea_Notes::InfoArea_Notes(QWidget* parent)
    : PersonTextPage(QStringLiteral("notesTextView"), [](const FTPerson* p) { return p->notes(); },
                     [](FTPerson* p, const QString& v) { p->setNotes(v); }, parent)
{
}

InfoArea_Notes::~InfoArea_Notes()
{
    FTLog(QStringLiteral("dealloc InfoArea_Notes"));
}

InfoArea_Comments::InfoArea_Comments(QWidget* parent)
    : PersonTextPage(QStringLiteral("commentsTextView"), [](const FTPerson* p) { return p->comments(); },
                     [](FTPerson* p, const QString& v) { p->setComments(v); }, parent)
{
}

InfoArea_Comments::~InfoArea_Comments()
{
    FTLog(QStringLiteral("dealloc InfoArea_Comments"));
}
