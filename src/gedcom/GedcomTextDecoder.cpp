#include "gedcom/GedcomTextDecoder.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows code page 1252, bytes 80-9F (A0-FF are Latin-1). Unassigned bytes decode as U+FFFD.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

// Mac OS Roman, bytes 80-FF.
constexpr char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

QString decodeSingleByte(QByteArrayView bytes, const char16_t* high, int highStart)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        if (b == 0)
            out[i] = kReplacement;
        else if (b < highStart)
            out[i] = b;
        else
            out[i] = high[b - highStart];
    }
    return text;
}

// Copies the run of plain ASCII bytes (1..127) at the start of s[0..n) into out, widened; answers its
// length. Nearly every byte of a GEDCOM file is such a byte: they go sixteen at a time.
qsizetype copyAsciiRun(const uchar* s, qsizetype n, char16_t* out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        // Bytes above 127 have their top bit set; NUL bytes compare equal to zero.
        if (_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, zero))) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
    }
#endif
    for (; i < n && s[i] != 0 && s[i] < 0x80; ++i)
        out[i] = s[i];
    return i;
}

void appendHexBytes(QString& s, QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            s += u' ';
        s += QString::number(uchar(bytes[i]), 16).toUpper();
    }
}

} // namespace

bool GedcomTextDecoder::roomForMessage(QStringList* messages)
{
    if (!messages)
        return false;
    if (messages->size() < kMaxMessages)
        return true;
    if (messages->size() == kMaxMessages)
        messages->append(QStringLiteral("Further character errors were found and not listed."));
    return false;
}

QString GedcomTextDecoder::encodingName(unsigned code)
{
    switch (code) {
    case 1: return QStringLiteral("ASCII");
    case 2: return QStringLiteral("NextStep");
    case 3: return QStringLiteral("Japanese EUC");
    case 4: return QStringLiteral("UTF-8");
    case 5: return QStringLiteral("ISO Latin1");
    case 6: return QStringLiteral("Adobe Symbol");
    case 7: return QStringLiteral("NonLossy ASCII");
    case 8: return QStringLiteral("Shift JIS Japanese");
    case 9: return QStringLiteral("ISO Latin2");
    case 10: return QStringLiteral("Unicode");
    case 11: return QStringLiteral("Windows CP1251 (Cyrillic)");
    case 12: return QStringLiteral("Windows CP1252 (Latin 1)");
    case 13: return QStringLiteral("Windows CP1253 (Greek)");
    case 14: return QStringLiteral("Windows CP1254 (Turkish)");
    case 15: return QStringLiteral("Windows CP1250 (Latin 2)");
    case 21: return QStringLiteral("ISO 2022 Japanese");
    case 30: return QStringLiteral("Macintosh Roman");
    case ANSEL: return QStringLiteral("ANSEL");
    case UTF16BE: return QStringLiteral("UTF-16 (big-endian)");
    case UTF16LE: return QStringLiteral("UTF-16 (little-endian)");
    default: return QStringLiteral("Generic");
    }
}

QString GedcomTextDecoder::decodeUtf8(QByteArrayView bytes, QStringList* messages, const std::vector<int>* lineNumbers,
                                      bool skipByteOrderMark)
{
    const uchar* s = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    if (skipByteOrderMark && n >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF)
        i = 3;

    QString text(n - i, Qt::Uninitialized);  // never more UTF-16 units than bytes
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype o = 0;
    // The line of an error is counted only when one is found: most texts have none.
    int line = 1;
    qsizetype counted = 0;

    auto bad = [&](qsizetype start, qsizetype len) {
        out[o++] = kReplacement;
        if (roomForMessage(messages)) {
            line += int(bytes.sliced(counted, start - counted).count('\n'));
            counted = start;
            const int shown = lineNumbers && line <= int(lineNumbers->size()) ? (*lineNumbers)[line - 1] : line;
            QString m = QStringLiteral("UTF-8 encoding error in line %1, %2 char%3 = ")
                            .arg(shown)
                            .arg(len)
                            .arg(len == 1 ? "" : "s");
            appendHexBytes(m, bytes.sliced(start, len));
            messages->append(m);
        }
    };

    while (i < n) {
        const uchar b = s[i];
        if (b < 0x80) {
            if (b == 0) {
                bad(i, 1);
                ++i;
            } else {
                const qsizetype run = copyAsciiRun(s + i, n - i, out + o);
                i += run;
                o += run;
            }
            continue;
        }
        int need;
        uchar lo = 0x80, hi = 0xBF;  // allowed range of the first continuation byte
        char32_t cp;
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0;  // no overlong forms
            else if (b == 0xED)
                hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90;
            else if (b == 0xF4)
                hi = 0x8F;  // nothing above U+10FFFF
        } else {
            bad(i, 1);
            ++i;
            continue;
        }
        // The longest valid start of the sequence is one error: the byte that breaks it (or the end
        // of the data) starts afresh.
        qsizetype k = 1;
        for (; k <= need; ++k) {
            if (i + k >= n)
                break;
            const uchar c = s[i + k];
            const uchar l = (k == 1) ? lo : 0x80, h = (k == 1) ? hi : 0xBF;
            if (c < l || c > h)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (k <= need) {
            bad(i, k);
            i += k;
            continue;
        }
        if (cp >= 0x10000) {
            out[o++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out[o++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out[o++] = char16_t(cp);
        }
        i += need + 1;
    }
    text.truncate(o);
    return text;
}

QString GedcomTextDecoder::decodeUtf16(QByteArrayView bytes, bool bigEndian, QStringList* messages)
{
    const uchar* s = reinterpret_cast<const uchar*>(bytes.data());
    qsizetype n = bytes.size();
    qsizetype i = 0;
    if (n >= 2 && s[0] == 0xFE && s[1] == 0xFF) {
        bigEndian = true;
        i = 2;
    } else if (n >= 2 && s[0] == 0xFF && s[1] == 0xFE) {
        bigEndian = false;
        i = 2;
    }
    const bool oddTail = (n - i) % 2 != 0;
    QString text((n - i) / 2 + (oddTail ? 1 : 0), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype o = 0;
    int line = 1;
    auto unit = [&](qsizetype at) -> char16_t {
        return bigEndian ? char16_t((s[at] << 8) | s[at + 1]) : char16_t((s[at + 1] << 8) | s[at]);
    };
    auto bad = [&](const char* what) {
        out[o++] = kReplacement;
        if (roomForMessage(messages))
            messages->append(QStringLiteral("UTF-16 encoding error in line %1: %2").arg(line).arg(QLatin1String(what)));
    };
    for (; i + 1 < n; i += 2) {
        const char16_t u = unit(i);
        if (u == 0) {
            bad("zero character");
        } else if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 3 < n) {
                const char16_t v = unit(i + 2);
                if (v >= 0xDC00 && v <= 0xDFFF) {
                    out[o++] = u;
                    out[o++] = v;
                    i += 2;
                    continue;
                }
            }
            bad("unpaired surrogate");
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            bad("unpaired surrogate");
        } else {
            if (u == u'\n')
                ++line;
            out[o++] = u;
        }
    }
    if (oddTail)
        bad("incomplete last character");
    text.truncate(o);
    return text;
}

QString GedcomTextDecoder::decodeCp1252(QByteArrayView bytes)
{
    // 80-9F from the table, A0-FF are Latin-1: a table that starts at 80 and stops at 9F.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = b == 0 ? kReplacement : (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

QString GedcomTextDecoder::decodeMacRoman(QByteArrayView bytes)
{
    return decodeSingleByte(bytes, kMacRomanHigh, 0x80);
}

QString GedcomTextDecoder::decodeAscii(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (uchar(bytes[i]) >= 0x80)
            return QString();
    QString text = decodeSingleByte(bytes, nullptr, 0x80);
    return text.isNull() ? QStringLiteral("") : text;
}
