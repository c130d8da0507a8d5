#include "shell/CsvWriter.h"

#include <QStringList>

namespace {
QString withQuotes(QString text, const QString& quotes)
{
    if (text.isEmpty())
        return {};
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return quotes + text + quotes;
}
}

CsvWriter::CsvWriter() { setFileType(QStringLiteral("csv")); }

bool CsvWriter::create(const QString& baseName) { return createOutputFileName(baseName) && openOutputFile(); }

bool CsvWriter::writeLine(const QStringList& fields) { return write(fields.join(QLatin1Char(',')) + QLatin1Char('\n')); }

QString CsvWriter::escapedQuoted(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\n'), QLatin1String("\\n")).replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return withQuotes(s, QStringLiteral("\""));
}

QString CsvWriter::quoted(const QString& text) { return withQuotes(text, QStringLiteral("\"")); }

QString CsvWriter::tripleQuoted(const QString& text) { return withQuotes(text, QStringLiteral("\"\"\"")); }

QString CsvWriter::number(long long value) { return value == 0 ? QString() : QString::number(value); }
