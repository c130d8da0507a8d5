#pragma once

#include <QHash>
#include <QString>

class QFont;
class QTextDocument;

// How much height a text takes when it is wrapped at a width: the diagrams size their boxes with it, the person
// editor its rows. The program measures with Qt's text layout (DocumentTextMeasurer); tests that check a layout
// measure with FixedTextMeasurer, whose answers do not depend on the fonts installed.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The height in points of `text` in `font`, wrapped at `width` points; 0 for an empty text.
    virtual double heightOfText(const QString& text, const QFont& font, double width) const = 0;
    // The height in points of a styled document laid out at `width` points (its own fonts and paragraph formats).
    virtual double heightOfDocument(const QTextDocument& document, double width) const = 0;
    // The same for a document made only to be measured: it is laid out at `width` in place, without a copy.
    virtual double heightOfDocumentAtWidth(QTextDocument& document, double width) const
    {
        return heightOfDocument(document, width);
    }
};

// Measures with QTextDocument, as the text is drawn.
class DocumentTextMeasurer : public TextMeasurer {
public:
    double heightOfText(const QString& text, const QFont& font, double width) const override;
    double heightOfDocument(const QTextDocument& document, double width) const override;
    double heightOfDocumentAtWidth(QTextDocument& document, double width) const override;
    // One shared instance (it holds no state).
    static const DocumentTextMeasurer& shared();
};

// Remembers the heights another measurer gave for plain texts, for drawings that measure the same names again and
// again (the web pages' context diagrams show each person in several diagrams). Holds at most `capacity` answers:
// when full it starts afresh. Documents are passed through.
class CachingTextMeasurer : public TextMeasurer {
public:
    explicit CachingTextMeasurer(const TextMeasurer& measurer, qsizetype capacity = 100000)
        : m_measurer(measurer)
        , m_capacity(capacity)
    {
    }
    double heightOfText(const QString& text, const QFont& font, double width) const override;
    double heightOfDocument(const QTextDocument& document, double width) const override
    {
        return m_measurer.heightOfDocument(document, width);
    }
    double heightOfDocumentAtWidth(QTextDocument& document, double width) const override
    {
        return m_measurer.heightOfDocumentAtWidth(document, width);
    }

private:
    const TextMeasurer& m_measurer;
    qsizetype m_capacity;
    mutable QHash<QString, double> m_heights;
};

// Fixed metrics: every character is `charWidthFactor` × the point size wide, every line `lineHeightFactor` × the
// point size high; a paragraph breaks into ceil(characters × character width / width) lines, at least one.
class FixedTextMeasurer : public TextMeasurer {
public:
    explicit FixedTextMeasurer(double charWidthFactor = 0.5, double lineHeightFactor = 1.2)
        : m_charWidthFactor(charWidthFactor)
        , m_lineHeightFactor(lineHeightFactor)
    {
    }
    double heightOfText(const QString& text, const QFont& font, double width) const override;
    double heightOfDocument(const QTextDocument& document, double width) const override;
    // The number of lines `text` takes at `width` in a font of `pointSize`.
    int lineCount(const QString& text, double pointSize, double width) const;

private:
    double m_charWidthFactor;
    double m_lineHeightFactor;
};
