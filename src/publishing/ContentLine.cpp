#include "publishing/ContentLine.h"

namespace {
constexpr qsizetype kMaxOctets = 75;

qsizetype utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

void appendUtf8(QByteArray& out, char32_t c)
{
    // A lone surrogate cannot be written as UTF-8: it becomes the replacement character.
    if (c >= 0xd800 && c <= 0xdfff)
        c = 0xfffd;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xc0 | (c >> 6));
        out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += char(0xe0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    } else {
        out += char(0xf0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3f));
        out += char(0x80 | ((c >> 6) & 0x3f));
        out += char(0x80 | (c & 0x3f));
    }
}
}

QString ContentLine::escapedText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\\':
        case ';':
        case ',':
            out += QLatin1Char('\\');
            out += c;
            break;
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\\n");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        default:
            if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f)
                break;
            out += c;
        }
    }
    return out;
}

QByteArray ContentLine::folded(const QString& line)
{
    const QByteArray utf8 = line.toUtf8();
    if (utf8.size() <= kMaxOctets)
        return utf8 + "\r\n";
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 70 * 3 + 2);
    qsizetype used = 0; // octets on the current physical line
    for (qsizetype i = 0; i < line.size();) {
        char32_t c = line.at(i).unicode();
        qsizetype units = 1;
        if (line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(line.at(i), line.at(i + 1));
            units = 2;
        }
        const qsizetype octets = utf8Length(c);
        if (used + octets > kMaxOctets) {
            out += "\r\n ";
            used = 1;
        }
        appendUtf8(out, c);
        used += octets;
        i += units;
    }
    return out + "\r\n";
}
