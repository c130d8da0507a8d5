#pragma once

#include <QHash>
#include <QString>

#include <array>

// The tags of a hierarchy box's text lines. A line is "<tag>:<text>": the tag chooses the colour and paragraph of
// the text and is never shown. Tags are localized words, so the lines are made and read through this one table.
//
//   HdTags tags;
//   QString line = tags.line(HdTags::Birth, "b. 1900");   // "Birth:b. 1900" in English
//   tags.tagOf(tags.tagText(line)) == HdTags::Birth;
class HdTags {
public:
    enum Tag {
        Other, // an unknown or empty tag: black text in the base style
        Name,
        Refer,
        Father,
        Mother,
        Consanguinity,
        Title,
        IdNo, // "IdNo", not localized
        Birth,
        Spouse,
        Death,
        Notes,
        Siblings,
        SiblingsList,
        SpousesAncestorsList,
        Picture,
        SpousePicture, // the words of "Spouse" and "Picture" together
        TagCount
    };

    // The words of the current localization.
    HdTags();

    const QString& word(Tag tag) const { return m_words[tag]; }
    // "<word>:<text>".
    QString line(Tag tag, const QString& text) const { return m_words[tag] + QLatin1Char(':') + text; }
    // The tag whose word is `tagText`; Other for any other text.
    Tag tagOf(const QString& tagText) const { return m_tags.value(tagText, Other); }
    // A picture tag ends with the word of "Picture".
    bool isPictureTag(const QString& tagText) const { return !tagText.isEmpty() && tagText.endsWith(m_words[Picture]); }

    // The part before the first ":" and the part after it; no tag for a line without ":".
    static bool hasTag(const QString& line) { return line.contains(QLatin1Char(':')); }
    static QString tagText(const QString& line) { return line.section(QLatin1Char(':'), 0, 0); }
    static QString text(const QString& line);

    // The separator line: an empty tag and a line break.
    static QString separator() { return QStringLiteral(":\n"); }

private:
    std::array<QString, TagCount> m_words;
    QHash<QString, Tag> m_tags;
};
