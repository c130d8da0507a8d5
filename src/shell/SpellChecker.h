#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

// Spelling of the user's language through Hunspell and the dictionaries the desktop installs
// (/usr/share/hunspell). The notes and comments views and the source notes use the one shared checker.
class SpellChecker {
public:
    // The checker of the user's language (its full name, then the language alone; the C locale uses en_US).
    static SpellChecker& shared();
    // A checker of the dictionary `language` ("en_US") found in `directories` (the desktop's dictionary
    // folders when empty).
    explicit SpellChecker(const QString& language, const QStringList& directories = {});
    ~SpellChecker();

    // Whether a dictionary was found: without one nothing counts as misspelled.
    bool isAvailable() const { return bool(m_hunspell); }
    // The language asked for ("en_US"), for the message that no dictionary was found.
    QString language() const { return m_language; }

    bool isCorrect(const QString& word) const;
    QStringList suggestions(const QString& word) const;

    // A word of a text: letters with apostrophes inside; words holding a digit are left alone.
    struct Range {
        int start = 0;
        int length = 0;
        bool operator==(const Range&) const = default;
    };
    static QList<Range> words(const QString& text);
    QList<Range> misspelled(const QString& text) const;

    // The folders where the desktop keeps its Hunspell dictionaries.
    static QStringList dictionaryDirectories();

private:
    QByteArray encode(const QString& word) const;
    QString decode(const std::string& word) const;

    QString m_language;
    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;
};
