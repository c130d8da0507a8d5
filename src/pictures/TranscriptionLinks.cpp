#include "pictures/TranscriptionLinks.h"

#include "model/UtilsPics.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <vector>

namespace {
// One run of equally formatted text, as the document keeps it.
struct Run {
    int position;
    int length;
    QString href; // empty outside links
};

std::vector<Run> runsOf(const QTextDocument& document)
{
    std::vector<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            runs.push_back({ fragment.position(), fragment.length(),
                format.isAnchor() ? format.anchorHref() : QString() });
        }
    return runs;
}

QTextCharFormat formatAt(const QTextDocument& document, int index)
{
    const QTextBlock block = document.findBlock(index);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(index))
            return fragment.charFormat();
    }
    return block.charFormat();
}

bool validRange(const QTextDocument& document, int position, int length)
{
    // The last position of a document is its closing paragraph mark, which is no text.
    return position >= 0 && length > 0 && position + length <= document.characterCount() - 1;
}

QTextCharFormat plainFormat(QTextCharFormat format)
{
    format.clearProperty(QTextFormat::IsAnchor);
    format.clearProperty(QTextFormat::AnchorHref);
    format.clearProperty(QTextFormat::AnchorName);
    format.setForeground(Qt::black);
    format.setFontUnderline(false);
    return format;
}
}

QString TranscriptionLinks::messageKey(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NoSelectionToUnlink:
        return QStringLiteral("CreateLinkTxt1");
    case Refusal::NoTextSelected:
        return QStringLiteral("CreateLinkTxt2");
    case Refusal::NoRectangle:
        return QStringLiteral("CreateLinkTxt3");
    case Refusal::None:
        break;
    }
    return {};
}

QTextCharFormat TranscriptionLinks::linkFormat(const QTextCharFormat& base, const QRectF& rectangle)
{
    QTextCharFormat link = base;
    link.setAnchor(true);
    link.setAnchorHref(UtilsPics::stringFromRect(rectangle));
    link.setForeground(Qt::blue);
    link.setFontUnderline(true);
    return link;
}

TranscriptionLinks::Refusal TranscriptionLinks::createLink(
    QTextDocument& document, int position, int length, const QRectF& rectangle, QTextCharFormat* typing)
{
    if (!validRange(document, position, length))
        return Refusal::NoTextSelected;
    if (!(rectangle.width() > 0) || !(rectangle.height() > 0))
        return Refusal::NoRectangle;
    const QTextCharFormat link = linkFormat(formatAt(document, position), rectangle);
    const QTextCharFormat plain = plainFormat(link);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.setPosition(position + length);
    cursor.insertText(QStringLiteral(" "), plain);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(link);
    cursor.endEditBlock();
    if (typing)
        *typing = plain;
    return Refusal::None;
}

TranscriptionLinks::Refusal TranscriptionLinks::removeLink(
    QTextDocument& document, int position, int length, QTextCharFormat* typing)
{
    if (!validRange(document, position, length))
        return Refusal::NoSelectionToUnlink;
    QTextCharFormat plain;
    plain.setForeground(Qt::black);
    plain.setFontUnderline(false);
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(plain);
    if (typing)
        *typing = plain;
    return Refusal::None;
}

std::optional<QRectF> TranscriptionLinks::rectangleOfLink(const QString& href)
{
    static const QString number = QStringLiteral("\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)\\s*");
    static const QRegularExpression pattern(QStringLiteral("^\\s*\\{\\s*\\{%1,%1\\}\\s*,\\s*\\{%1,%1\\}\\s*\\}\\s*$")
                                                .arg(number));
    const QRegularExpressionMatch match = pattern.match(href);
    if (!match.hasMatch())
        return std::nullopt;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = match.captured(i + 1).toDouble();
        if (!std::isfinite(v[i]))
            return std::nullopt;
    }
    return QRectF(v[0], v[1], v[2], v[3]);
}

std::optional<TranscriptionLinks::Link> TranscriptionLinks::followLink(const QTextDocument& document, int index)
{
    if (index < 0 || index >= document.characterCount() - 1)
        return std::nullopt;
    const std::vector<Run> runs = runsOf(document);
    size_t at = 0;
    while (at < runs.size() && !(runs[at].position <= index && index < runs[at].position + runs[at].length))
        ++at;
    if (at == runs.size() || runs[at].href.isEmpty())
        return std::nullopt;
    const QString href = runs[at].href;
    const std::optional<QRectF> rectangle = rectangleOfLink(href);
    if (!rectangle)
        return std::nullopt;
    // The neighbouring runs of the same link, across paragraph marks too.
    size_t first = at, last = at;
    while (first > 0 && runs[first - 1].href == href
        && runs[first - 1].position + runs[first - 1].length + 1 >= runs[first].position)
        --first;
    while (last + 1 < runs.size() && runs[last + 1].href == href
        && runs[last].position + runs[last].length + 1 >= runs[last + 1].position)
        ++last;
    const int start = runs[first].position;
    return Link { *rectangle, start, runs[last].position + runs[last].length - start };
}
