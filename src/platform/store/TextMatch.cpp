#include "platform/store/TextMatch.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>

namespace {
bool isAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Letters that carry their mark inside the letter itself, so that decomposition leaves them unchanged.
QChar baseLetter(QChar c)
{
    switch (c.unicode()) {
    case 0x00D8:
        return QChar('O'); // Ø
    case 0x00F8:
        return QChar('o'); // ø
    case 0x0110:
        return QChar('D'); // Đ
    case 0x0111:
        return QChar('d'); // đ
    case 0x0141:
        return QChar('L'); // Ł
    case 0x0142:
        return QChar('l'); // ł
    case 0x0126:
        return QChar('H'); // Ħ
    case 0x0127:
        return QChar('h'); // ħ
    default:
        return c;
    }
}

QString foldSlowly(const QString& text, int options)
{
    QString s = text;
    if (options & TextMatch::DiacriticInsensitive) {
        const QString decomposed = s.normalized(QString::NormalizationForm_KD);
        s.clear();
        s.reserve(decomposed.size());
        for (QChar c : decomposed) {
            const auto cat = c.category();
            if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing)
                continue;
            s.append(baseLetter(c));
        }
    } else {
        s = s.normalized(QString::NormalizationForm_C);
    }
    if (options & TextMatch::CaseInsensitive)
        s = s.toCaseFolded();
    return s;
}

// Below this, a character folds alone the way it does in any text of such characters: its decomposition is the
// letter and marks, and the marks go.
constexpr char16_t kFoldTableEnd = 0x250;

// The fold (ignoring case and diacritics) of each character below kFoldTableEnd. Normalizing is most of the
// fold's cost, and most names are of Latin letters: a table of them folds a name in one pass.
const std::array<QString, kFoldTableEnd>& foldedCharacters()
{
    static const std::array<QString, kFoldTableEnd> table = [] {
        std::array<QString, kFoldTableEnd> out;
        for (char16_t c = 0; c < kFoldTableEnd; ++c)
            out[c] = foldSlowly(QString(QChar(c)), TextMatch::CaseAndDiacriticInsensitive);
        return out;
    }();
    return table;
}

// The same as UTF-8, a character's bytes in one piece to copy (a longer fold is read from the string).
struct FoldedUtf8 {
    char bytes[8];
    size_t size;
};

const std::array<FoldedUtf8, kFoldTableEnd>& foldedCharactersUtf8()
{
    static const std::array<FoldedUtf8, kFoldTableEnd> table = [] {
        std::array<FoldedUtf8, kFoldTableEnd> out {};
        const auto& folded = foldedCharacters();
        for (size_t c = 0; c < out.size(); ++c) {
            const QByteArray utf8 = folded[c].toUtf8();
            out[c].size = size_t(utf8.size());
            if (out[c].size <= sizeof(out[c].bytes))
                std::memcpy(out[c].bytes, utf8.constData(), out[c].size);
        }
        return out;
    }();
    return table;
}
}

QString TextMatch::fold(const QString& text, int options)
{
    if (options == Exact || text.isEmpty())
        return text;
    if (isAscii(text))
        return (options & CaseInsensitive) ? text.toLower() : text;
    if (options == CaseAndDiacriticInsensitive) {
        bool inTable = true;
        for (QChar c : text)
            inTable = inTable && c.unicode() < kFoldTableEnd;
        if (inTable) {
            const auto& table = foldedCharacters();
            QString out;
            out.reserve(text.size());
            for (QChar c : text) {
                if (c.unicode() < 0x80)
                    out.append(c.unicode() >= 'A' && c.unicode() <= 'Z' ? QChar(c.unicode() + ('a' - 'A')) : c);
                else
                    out.append(table[c.unicode()]);
            }
            return out;
        }
    }
    return foldSlowly(text, options);
}

bool TextMatch::isWholeNumber(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString TextMatch::textOf(const QVariant& value)
{
    if (!value.isValid())
        return QString();
    if (isWholeNumber(value))
        return QString::number(value.toLongLong());
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODate);
    default:
        return value.toString();
    }
}

bool TextMatch::equals(const QString& text, const QString& other, int options)
{
    if (options == Exact)
        return text == other;
    if (isAscii(text) && isAscii(other))
        return text.compare(other, (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    return fold(text, options) == fold(other, options);
}

bool TextMatch::contains(const QString& text, const QString& part, int options)
{
    if (options == Exact)
        return text.contains(part);
    if (isAscii(text) && isAscii(part))
        return text.contains(part, (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return fold(text, options).contains(fold(part, options));
}

bool TextMatch::beginsWith(const QString& text, const QString& prefix, int options)
{
    if (options == Exact)
        return text.startsWith(prefix);
    if (isAscii(text) && isAscii(prefix))
        return text.startsWith(prefix, (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return fold(text, options).startsWith(fold(prefix, options));
}

bool TextMatch::endsWith(const QString& text, const QString& suffix, int options)
{
    if (options == Exact)
        return text.endsWith(suffix);
    if (isAscii(text) && isAscii(suffix))
        return text.endsWith(suffix, (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive);
    return fold(text, options).endsWith(fold(suffix, options));
}

bool TextMatch::like(const QString& text, const QString& pattern, int options)
{
    const QString t = fold(text, options);
    const QString p = fold(pattern, options);
    // Greedy matching with one backtrack point: the last * seen.
    qsizetype ti = 0, pi = 0, star = -1, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && (p[pi] == '?' || (p[pi] != '*' && p[pi] == t[ti]))) {
            ++ti;
            ++pi;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ti;
        } else if (star >= 0) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

bool TextMatch::equals(const QVariant& value, const QString& other, int options)
{
    return equals(textOf(value), other, options);
}
bool TextMatch::contains(const QVariant& value, const QString& part, int options)
{
    return contains(textOf(value), part, options);
}
bool TextMatch::beginsWith(const QVariant& value, const QString& prefix, int options)
{
    return beginsWith(textOf(value), prefix, options);
}
bool TextMatch::endsWith(const QVariant& value, const QString& suffix, int options)
{
    return endsWith(textOf(value), suffix, options);
}
bool TextMatch::like(const QVariant& value, const QString& pattern, int options)
{
    return like(textOf(value), pattern, options);
}

QString TextMatch::cutWordStart(const QString& foldedWord)
{
    if (foldedWord.size() <= kWordStartLength)
        return foldedWord;
    const int cut = foldedWord.at(kWordStartLength - 1).isHighSurrogate() ? kWordStartLength - 1 : kWordStartLength;
    return foldedWord.left(cut);
}

QStringList TextMatch::wordStarts(const QString& foldedText)
{
    QStringList out;
    if (!foldedText.isEmpty())
        out << kFirstWordMark + cutWordStart(foldedText.left(kWordStartLength));
    for (qsizetype i = 1; i < foldedText.size(); ++i) {
        const QChar before = foldedText.at(i - 1);
        if ((before != QLatin1Char(' ') && before != QLatin1Char('_') && before != QLatin1Char('('))
            || foldedText.at(i) == kFirstWordMark)
            continue;
        const QString start = cutWordStart(foldedText.mid(i, kWordStartLength));
        if (!out.contains(start))
            out << start;
    }
    return out;
}

void TextMatch::appendFolded(const QString& text, QByteArray& utf8)
{
    const qsizetype n = text.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
    const auto& table = foldedCharactersUtf8();
    const qsizetype base = utf8.size();
    utf8.resize(base + qsizetype(sizeof(FoldedUtf8::bytes)) * n);
    char* out = utf8.data() + base;
    qsizetype b = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            out[b++] = char(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
            continue;
        }
        if (c >= kFoldTableEnd || table[c].size > sizeof(FoldedUtf8::bytes)) {
            utf8.resize(base);
            utf8 += fold(text).toUtf8();
            return;
        }
        std::memcpy(out + b, table[c].bytes, sizeof(FoldedUtf8::bytes));
        b += table[c].size;
    }
    utf8.resize(base + b);
}

void TextMatch::wordStartsInUtf8(
    QByteArray& buffer, qsizetype at, qsizetype end, std::vector<std::pair<qsizetype, qsizetype>>& starts)
{
    const auto* s = reinterpret_cast<const uchar*>(buffer.constData());
    if (at == end)
        return;
    for (qsizetype i = at; i < end; ++i) {
        if (s[i] >= 0xF0) {
            // Two units a character: cut as wordStarts() cuts, never inside a pair.
            for (const QString& start : wordStarts(QString::fromUtf8(buffer.constData() + at, end - at))) {
                const QByteArray utf8 = start.toUtf8();
                starts.emplace_back(buffer.size(), utf8.size());
                buffer += utf8;
            }
            return;
        }
    }
    // One unit a character: a start is cut after kWordStartLength characters, counted by their first bytes.
    const auto cutFrom = [&](qsizetype from) {
        qsizetype i = from, characters = 0;
        while (i < end && (characters < kWordStartLength || (s[i] & 0xC0) == 0x80)) {
            if ((s[i] & 0xC0) != 0x80)
                ++characters;
            ++i;
        }
        return i;
    };
    const size_t first = starts.size();
    starts.emplace_back(at - 1, cutFrom(at) - (at - 1));
    for (qsizetype i = at + 1; i < end; ++i) {
        const uchar before = s[i - 1];
        if ((before != ' ' && before != '_' && before != '(') || s[i] == kFirstWordMark.unicode())
            continue;
        const qsizetype size = cutFrom(i) - i;
        bool seen = false;
        for (size_t k = first + 1; k < starts.size() && !seen; ++k)
            seen = starts[k].second == size && std::memcmp(s + starts[k].first, s + i, size_t(size)) == 0;
        if (!seen)
            starts.emplace_back(i, size);
    }
}

bool TextMatch::beginsWord(const QString& text, const QString& word)
{
    return beginsWith(text, word) || contains(text, QLatin1Char(' ') + word) || contains(text, QLatin1Char('_') + word)
        || contains(text, QLatin1Char('(') + word);
}
