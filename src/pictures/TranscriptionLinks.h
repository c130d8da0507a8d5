#pragma once

#include <QRectF>
#include <QString>

#include <optional>

class QTextCharFormat;
class QTextDocument;

// The links of a transcription: a range of the text tied to a rectangle of the transcribed picture. A link is an
// anchor whose href is the rectangle's text "{{x, y}, {w, h}}" (picture pixels, as crop rectangles are written),
// drawn blue and underlined; the transcription keeps it in its rich text.
//
//   const auto refusal = TranscriptionLinks::createLink(*document, start, length, rectangle, &typing);
//   if (refusal != TranscriptionLinks::Refusal::None) ... alert LocalizedString(messageKey(refusal))
//   if (const auto link = TranscriptionLinks::followLink(*document, index)) ... link->rectangle, link->position
class TranscriptionLinks {
public:
    // Why a link command changed nothing; each has its message under the title "CreateLink".
    enum class Refusal {
        None,
        NoSelectionToUnlink, // "CreateLinkTxt1"
        NoTextSelected, // "CreateLinkTxt2"
        NoRectangle, // "CreateLinkTxt3"
    };
    static QString messageKey(Refusal refusal);

    // Links the `length` characters at `position` to `rectangle`: they take the format of the first of them with
    // the link, a blue foreground and a single underline. A blank is inserted after them with that format less the
    // link, black and not underlined, so that typing on after the link is plain; `typing` receives that format.
    // Refused without selected text, or for a rectangle without width or height.
    static Refusal createLink(QTextDocument& document, int position, int length, const QRectF& rectangle,
        QTextCharFormat* typing = nullptr);
    // The `length` characters at `position` lose their link and every other attribute (their font included):
    // black, not underlined. `typing` receives that format. Refused without a selection.
    static Refusal removeLink(QTextDocument& document, int position, int length, QTextCharFormat* typing = nullptr);

    // The format a link gives its text: `base` with the href of `rectangle`, blue and underlined.
    static QTextCharFormat linkFormat(const QTextCharFormat& base, const QRectF& rectangle);
    // The rectangle an href names; null for any text that is not a rectangle's.
    static std::optional<QRectF> rectangleOfLink(const QString& href);

    // A followed link: its rectangle and the whole range of text that carries it.
    struct Link {
        QRectF rectangle;
        int position = 0;
        int length = 0;
    };
    // The link of the character at `index`. Null where there is no link, or where its href is no rectangle.
    static std::optional<Link> followLink(const QTextDocument& document, int index);
};
