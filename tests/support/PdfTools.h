#pragma once

// PDF files as tests read them, through the poppler utilities: the number of pages, the size of the first page,
// the text page by page, and a page rendered to an image.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace PdfTools {
// What a poppler tool printed; empty when it failed.
inline QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pageCount(const QString& path)
{
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), { path }));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The first page's size in points.
inline QSizeF pageSize(const QString& path)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
                                          .match(run(QStringLiteral("pdfinfo"), { path }));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// The text of each page, in order.
inline QStringList pageTexts(const QString& path)
{
    QStringList pages = run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), path, QStringLiteral("-") })
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The first page at `dpi`, as an image (null when it could not be rendered).
inline QImage firstPageImage(const QString& path, int dpi)
{
    const QString stem = path + QStringLiteral(".render");
    run(QStringLiteral("pdftoppm"),
        { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-singlefile"), path,
            stem });
    const QImage image(stem + QStringLiteral(".png"));
    QFile::remove(stem + QStringLiteral(".png"));
    return image;
}
}
