#include "publishing/HtmlEscape.h"

#include <QUrl>

namespace {
QString escape(const QString& value, bool quotes)
{
    QString out;
    out.reserve(value.size() + value.size() / 8);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '\'':
            out += quotes ? QLatin1String("&#39;") : QLatin1String("'");
            break;
        case '"':
            out += quotes ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        default:
            out += c;
        }
    }
    return out;
}
} // namespace

QString HtmlEscape::text(const QString& value)
{
    return value.isNull() ? value : escape(value, false);
}

QString HtmlEscape::attribute(const QString& value)
{
    return value.isNull() ? value : escape(value, true);
}

QString HtmlEscape::comment(const QString& value)
{
    if (value.isEmpty())
        return value;
    QString out;
    out.reserve(value.size() + 4);
    for (const QChar c : value) {
        if (c == QLatin1Char('-') && out.endsWith(QLatin1Char('-')))
            out += QLatin1Char(' ');
        out += c;
    }
    if (out.startsWith(QLatin1Char('>')) || out.startsWith(QLatin1Char('-')))
        out.prepend(QLatin1Char(' '));
    if (out.endsWith(QLatin1Char('-')))
        out += QLatin1Char(' ');
    return out;
}

QString HtmlEscape::anchor(const QString& value)
{
    if (value.isEmpty())
        return QStringLiteral("_");
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(value.size() + 8);
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-') {
            out += c;
            continue;
        }
        out += QLatin1Char('_');
        out += QLatin1Char(hex[(u >> 12) & 0xF]);
        out += QLatin1Char(hex[(u >> 8) & 0xF]);
        out += QLatin1Char(hex[(u >> 4) & 0xF]);
        out += QLatin1Char(hex[u & 0xF]);
    }
    return out;
}

QString HtmlEscape::httpLink(const QUrl& url)
{
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    return attribute(url.toString(QUrl::FullyEncoded));
}

QString HtmlEscape::httpLink(const QString& url)
{
    return httpLink(QUrl(url.trimmed()));
}

QString HtmlEscape::multiline(const QString& value)
{
    if (value.isNull())
        return value;
    const QString escaped = text(value.trimmed());
    QString out;
    out.reserve(escaped.size() + 16);
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char16_t u = escaped.at(i).unicode();
        if (u == '\r' || u == '\n' || u == 0x2028 || u == 0x2029) {
            if (u == '\r' && i + 1 < escaped.size() && escaped.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\n<br/>");
        } else {
            out += escaped.at(i);
        }
    }
    return out;
}
