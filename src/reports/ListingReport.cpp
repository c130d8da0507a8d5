#include "reports/ListingReport.h"

#include "shell/RtfWriter.h"

#include "platform/Localizer.h"

bool ListingReport::begin(RtfWriter& writer, const QString& baseName, int colours, const QStringList& styles)
{
    writer.setColourTable(RtfWriter::standardColourTable(colours));
    writer.setStyles(styles);
    writer.setFooter(true);
    if (!writer.createOutputFileName(baseName) || !writer.openOutputFile())
        return false;
    // Listings are laid out on A4 whatever the country, as the narrative reports are.
    return writer.printRTFHeader(QStringLiteral("A4"));
}

QString ListingReport::baseName(const QString& modelName, const QString& reportKey)
{
    return QStringLiteral("%1_%2").arg(modelName, LocalizedString(reportKey));
}

int ListingReport::leadingInteger(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    qint64 value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i)
        value = qMin<qint64>(value * 10 + (t[i].unicode() - '0'), 1'000'000'000);
    return int(negative ? -value : value);
}

QString ListingReport::label(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString ListingReport::rtf(const QString& text)
{
    return RtfWriter::rtfText(text, false);
}
