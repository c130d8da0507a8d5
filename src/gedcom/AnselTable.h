#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The ANSEL character table ("ans2uni.con" among the shared resources) and the ANSEL decoder.
//
// Table format: UTF-8 text, one entry a line; everything from "#" on is a comment; the rest is
// KEY=CODEPOINT, the key being the ANSEL bytes in upper-case hexadecimal without leading zeros joined
// by "+" (E2+65: an acute accent before the letter e), the code point hexadecimal. A code point of 0
// means "no character": the bytes are dropped.
//
// ANSEL writes a combining mark BEFORE its letter, Unicode after it. A mark-and-letter sequence that
// has an entry of its own takes it; any other becomes the letter followed by its marks, composed
// (NFC) to the precomposed character where one exists. No letter is ever dropped; a byte that the
// table does not know becomes U+FFFD.
class AnselTable {
public:
    AnselTable();

    // Parses table text; lines that are not exactly KEY=CODEPOINT are skipped.
    static AnselTable parse(const QByteArray& text);
    // Reads a table file; an empty table when it cannot be read.
    static AnselTable load(const QString& path);
    // The table of the shared resources, read once per process.
    static const AnselTable& shared();
    static QString sharedTablePath();

    bool isEmpty() const { return m_count == 0; }
    int size() const { return m_count; }

    // The code point of one ANSEL byte: -1 when the table lacks it, 0 when it means no character.
    int codePoint(uchar byte) const { return m_single[byte]; }

    // Decodes ANSEL bytes. `geneQuirk` reads byte C5 as B2 and B2 as B5 (files of one program that
    // wrote those two characters in each other's place). Unknown bytes are reported in `messages`;
    // `lineNumbers`, when given, turns the line of the bytes into the line of the user's file.
    QString decode(QByteArrayView bytes, bool geneQuirk = false, QStringList* messages = nullptr,
                   const std::vector<int>* lineNumbers = nullptr) const;

private:
    std::array<int, 256> m_single;
    QHash<QByteArray, int> m_sequences;
    int m_count = 0;
};
