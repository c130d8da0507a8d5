#include "platform/store/TextMatch.h"

#include <QDateTime>
#include <QStringList>

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
}

QString TextMatch::fold(const QString& text, int options)
{
    if (options == Exact || text.isEmpty())
        return text;
    if (isAscii(text))
        return (options & CaseInsensitive) ? text.toLower() : text;
    QString s = text;
    if (options & DiacriticInsensitive) {
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
    if (options & CaseInsensitive)
        s = s.toCaseFolded();
    return s;
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

bool TextMatch::beginsWord(const QString& text, const QString& word)
{
    return beginsWith(text, word) || contains(text, QLatin1Char(' ') + word) || contains(text, QLatin1Char('_') + word)
        || contains(text, QLatin1Char('(') + word);
}
