#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// The character sets a GEDCOM file may be written in, and the decoders of all but ANSEL (see
// AnselTable). Every decoder checks its bounds, turns each malformed sequence into U+FFFD and never
// puts a NUL into the text, so no byte of a damaged file can corrupt the lines around it.
class GedcomTextDecoder {
public:
    // The character-set codes of an import (the values are kept in stored load information).
    enum Encoding : unsigned {
        Undetermined = 0,
        ASCII = 1,
        UTF8 = 4,
        Unicode = 10,  // UTF-16 with a byte-order mark
        CP1252 = 12,
        MacRoman = 30,
        ANSEL = 9999,
        UTF16BE = 0x90000100,  // UTF-16 without byte-order mark, told by its zero bytes
        UTF16LE = 0x94000100,
    };

    // The decoder's name for messages ("UTF-8", "Windows CP1252 (Latin 1)", ...).
    static QString encodingName(unsigned code);

    // A damaged file can hold an error in every byte: a list of messages stops growing at this
    // size, with one last message saying that more were found.
    static constexpr int kMaxMessages = 50000;
    // Whether another message may go into the list; adds the closing message when it is full.
    static bool roomForMessage(QStringList* messages);

    // UTF-8; a leading byte-order mark is skipped (unless the bytes are not the start of the text).
    // Each malformed or truncated sequence becomes one U+FFFD and a message "UTF-8 encoding error in
    // line N, K chars = XX YY". `lineNumbers`, when given, turns the line of the bytes into the line
    // of the user's file.
    static QString decodeUtf8(QByteArrayView bytes, QStringList* messages = nullptr,
                              const std::vector<int>* lineNumbers = nullptr, bool skipByteOrderMark = true);
    // UTF-16 with its byte-order mark when it has one, else in the given byte order. Unpaired
    // surrogates and a lone last byte become U+FFFD.
    static QString decodeUtf16(QByteArrayView bytes, bool bigEndian, QStringList* messages = nullptr);
    static QString decodeCp1252(QByteArrayView bytes);
    static QString decodeMacRoman(QByteArrayView bytes);
    // Strict 7-bit ASCII: fails (answers a null string) at the first byte above 127.
    static QString decodeAscii(QByteArrayView bytes);
};
