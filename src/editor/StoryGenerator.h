#pragma once

#include "editor/StoryOptions.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>
#include <memory>
#include <vector>

class EventInfo;
class FTEvent;
class FTPerson;
class QImage;
class QTextDocument;

// Writes a person's story from the database: a heading with the date, the default pictures of the person, the
// spouses and the children, the birth, marriage and death lines, the chosen groups of relatives, the source
// citations, notes and comments, and a dated list of the person's and close relatives' events with numbered
// notes. Every piece of text has a named style ("Name", "BDM", "Events" ...: attributesForStyle()); pictures are
// JPEG images inside the text, named by data URLs, so the text carries them wherever it is stored.
//
//   StoryGenerator generator(StoryOptions::fromUserDefaults());
//   auto generated = generator.generateStory(person);
//   StoryGenerator::insertGeneratedText(storyDocument, *generated, options.mode);
class StoryGenerator {
public:
    explicit StoryGenerator(const StoryOptions& options);
    ~StoryGenerator();
    StoryGenerator(const StoryGenerator&) = delete;
    StoryGenerator& operator=(const StoryGenerator&) = delete;

    // The time the heading names (the current time unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The heading "The story of <name> created on <date>" and the body.
    std::unique_ptr<QTextDocument> generateStory(FTPerson* person);

    // Puts `generated` before (Prepend), after (Append) or in place of (Replace) the text of `story`; each
    // paragraph keeps its own format. False, with `story` untouched, for any other mode.
    static bool insertGeneratedText(QTextDocument& story, const QTextDocument& generated, qlonglong mode);
    // A story text lays out its tab stops like the events rows even after it was stored, which keeps no tab
    // stops of its own.
    static void prepareStoryDocument(QTextDocument& document);

    // The formats of a named style; an unknown name is "PictureText". Lengths are document pixels.
    struct Style {
        QTextCharFormat chars;
        QTextBlockFormat block;
    };
    Style attributesForStyle(const QString& name) const;
    // Document pixels per point: the table of styles is in points, the layout in pixels of the screen.
    static double pixelsPerPoint();
    // An image as a data URL of its JPEG bytes.
    static QString jpegDataUrl(const QImage& image);

    // The packed dates of the person's birth and death (0 for none), set while the events section is built.
    quint32 lBirthDate() const { return m_lBirthDate; }
    quint32 lDeathDate() const { return m_lDeathDate; }

private:
    using Rows = std::vector<std::unique_ptr<EventInfo>>;

    void printIndividualsInfo(FTPerson* person);
    void printPictureRow(FTPerson* person);
    void printDefaultPicture(FTPerson* person, const QImage& thumbnail, int* counter);
    void appendImage(const QImage& image);
    void printPersonsBirthMarriageAndDeathInfo(FTPerson* person);
    void printRelatives(const QList<FTPerson*>& people, const QString& labelKey);
    void printPersonsSourceReferences(FTPerson* person);
    void printPersonsText(const QString& text, const QString& headingKey, const QString& style);
    void printPersonsEvents(FTPerson* person);
    Rows createEventInfoArray(FTPerson* person);
    void addChildrensEvents(FTPerson* person, Rows& rows);
    void addParentsEvents(FTPerson* person, Rows& rows);
    void appendAsString(const QString& text, const QString& style);

    StoryOptions m_options;
    std::function<QDateTime()> m_clock;
    QTextDocument* m_document = nullptr;
    QTextCursor m_cursor;
    // Whether the paragraph being written holds anything yet: its first piece gives it its paragraph format.
    bool m_paragraphStarted = false;
    FTPerson* m_person = nullptr;
    quint32 m_lBirthDate = 0;
    quint32 m_lDeathDate = 0;
};
