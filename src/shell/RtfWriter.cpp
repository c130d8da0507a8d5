#include "shell/RtfWriter.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QSizeF>

namespace {
const char* const kCrLf = "\r\n";

struct StandardStyle {
    int number;
    const char* format;  // before the font; "%1" is the size of style 0 in half points
    const char* attributes;
    const char* name;
};

// Paragraph formatting, then character formatting, as the narrative reports use them.
const StandardStyle kStyles[] = {
    {0, "", "\\f0\\fs%1\\lang1033 ", "Normal"},
    {1, "\\sb280\\sa100\\keepn ", "\\b\\f2\\fs28\\lang1033 ", "Person's Name"},
    {2, "\\qj\\li400 ", "\\f0\\fs20\\cf6\\lang1033 ", "Notes"},
    {3, "", "\\f0\\fs20\\lang1033 ", "Parents"},
    {4, "", "\\f0\\fs20\\lang1033 ", "Children"},
    {5, "", "\\f0\\fs20\\lang1033 ", "Birth/Death/Marriage"},
    {6, "", "\\f0\\fs20\\lang1033 ", "Title/Occupation"},
    {7, "", "\\f0\\fs20\\lang1033 ", "Relatives"},
    {8, "\\li800 ", "\\f0\\fs20\\lang1033 ", "Relationship"},
    {9, "\\qj\\li400 ", "\\f0\\fs20\\cf8\\lang1033 ", "Source Refs"},
    {13, "\\li800 ", "\\f0\\fs20\\lang1033 ", "Index Item"},
    {23, "\\qj\\li400\\tx800 ", "\\f0\\fs16\\cf2\\lang1033 ", "Events"},
    {24, "\\qj\\li400 ", "\\f0\\fs20\\cf9\\lang1033 ", "Comments"},
    {26, "\\li800 ", "\\f0\\fs20\\lang1033 ", "Pictures Text"},
};

// Extensions that a report's base name may already carry.
bool isReportExtension(const QString& suffix)
{
    static const QStringList known{"rtf", "rtfd", "csv", "txt", "html", "htm", "ged"};
    return known.contains(suffix.toLower());
}
}

RtfWriter::RtfWriter()
{
    const QString type = UserDefaults::standard().stringForKey(QStringLiteral("rtfFileType"));
    m_fileType = type == QLatin1String("rtfd") ? type : QStringLiteral("rtf");
}

RtfWriter::~RtfWriter() { closeOutputFile(); }

void RtfWriter::setFileType(const QString& type) { m_fileType = type.isEmpty() ? QStringLiteral("rtf") : type; }

QDateTime RtfWriter::dateTime() const { return m_moment.isValid() ? m_moment : QDateTime::currentDateTime(); }

QString RtfWriter::dateText() const { return QLocale(QLocale::English).toString(date(), QStringLiteral("d MMMM, yyyy")); }

QString RtfWriter::titleDateText() const { return titleDateText(dateTime()); }

QString RtfWriter::titleDateText(const QDateTime& moment)
{
    return QLocale(QLocale::English).toString(moment, QStringLiteral("dddd dd-MMM-yy 'at' HH:mm"));
}

bool RtfWriter::fail(const QString& key, const QString& path)
{
    Prompts::current().message(QStringLiteral("%1: %2").arg(LocalizedString(key), path));
    return false;
}

bool RtfWriter::createOutputFileName(const QString& baseName)
{
    QString name = baseName;
    const QFileInfo fi(Utils::replaceForwardSlashInString(name));
    if (isReportExtension(fi.suffix()) && !fi.completeBaseName().isEmpty())
        name = fi.completeBaseName();
    name = Utils::safeFileName(name, QStringLiteral("Report"));
    QString error;
    const QString path = Utils::uniquePathInFolder(Utils::reportsDirectory(), name, m_fileType, 100, &error);
    if (path.isEmpty()) {
        Prompts::current().message(error);
        return false;
    }
    m_localFilename = QFileInfo(path).fileName();
    if (isRtfd()) {
        m_wrapperPath = path;
        m_rtfFilePath = path + QStringLiteral("/TXT.rtf");
        if (!QDir().mkdir(path))
            return fail(QStringLiteral("UnableToCreateReport"), path);
    } else {
        m_wrapperPath.clear();
        m_rtfFilePath = path;
    }
    return true;
}

bool RtfWriter::openOutputFile()
{
    if (m_rtfFilePath.isEmpty())
        return false;
    auto file = std::make_unique<QFile>(m_rtfFilePath);
    // NewOnly: a report never replaces a file that is already there.
    if (!file->open(QIODevice::ReadWrite | QIODevice::NewOnly))
        return fail(QFileInfo::exists(m_rtfFilePath) ? QStringLiteral("UnableToCreateReport")
                                                     : QStringLiteral("UnableToOpenReport"),
                    m_rtfFilePath);
    if (file->write("\xEF\xBB\xBF", 3) != 3)
        return fail(QStringLiteral("UnableToOpenReport"), m_rtfFilePath);
    m_file = std::move(file);
    return true;
}

bool RtfWriter::write(const QString& rtf) { return writeBytes(rtf.toUtf8()); }

bool RtfWriter::writeBytes(const QByteArray& bytes)
{
    return m_file && m_file->isOpen() && m_file->write(bytes) == bytes.size();
}

bool RtfWriter::printRTFHeader(const QString& paper)
{
    if (!m_file || !m_file->seek(0))
        return false;
    QString h;
    auto line = [&h](const QString& s) { h += s + kCrLf; };
    line(QStringLiteral("{\\rtf1\\mac\\ansicpg10000 \\deff0 "));
    line(QStringLiteral("{\\fonttbl"));
    line(QStringLiteral("{\\f0\\froman\\fcharset77 Times New Roman;}"));
    line(QStringLiteral("{\\f2\\fswiss\\fcharset77 Arial;}"));
    line(QStringLiteral("}"));

    QString colours = QStringLiteral("{\\colortbl;");
    for (const QColor& c : std::as_const(m_colours))
        colours += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    line(colours + '}');

    if (!m_styles.isEmpty() || m_footer) {
        line(QStringLiteral("{\\stylesheet"));
        for (const QString& s : std::as_const(m_styles))
            line(s);
        if (m_footer)
            line(QStringLiteral("{\\s242\\brdrt\\brdrs\\brdrw15\\brsp20 \\tqc\\tx4455\\tqr\\tx8910 \\f0\\fs20\\lang1033 "
                                "\\sbasedon0\\snext242 footer;}}"));
        else
            line(QStringLiteral("}"));
    }

    h += paper == QLatin1String("A4") ? QStringLiteral("\\paperw11907\\paperh16840")
                                      : QStringLiteral("\\paperw12240\\paperh15840");
    h += kCrLf;
    line(QStringLiteral("\\margl1800\\margr1080\\margt1150\\margb1150\\gutter0"));
    line(QStringLiteral("\\windowctrl\\ftnbj \\sectd \\linex0\\headery709\\footery709\\colsx709\\endnhere"));

    if (m_footer) {
        line(QStringLiteral("{\\footer \\pard\\plain \\s242\\brdrt\\brdrs\\brdrw15\\brsp20 \\tqc\\tx4455\\tqr\\tx8910 "
                            "\\f0\\fs20\\lang1033 "));
        line(QStringLiteral(".."));
        line(QStringLiteral("\\tab {\\field{\\*\\fldinst DATE \\\\@ \"d MMMM, yyyy\"} }"));
        line(QStringLiteral("\\tab Page {\\field{\\*\\fldinst PAGE}}"));
        h += QStringLiteral("\\par {\\plain \\fs18\\lang1033 \\par }}");
    }
    return write(h);
}

bool RtfWriter::writePicture(const QImage& image, const QString& personName, const QString& numericId,
                             const QSizeF& points)
{
    if (image.isNull() || !m_file)
        return false;
    const double twipsW = points.width() * 20.0, twipsH = points.height() * 20.0;
    if (isRtfd()) {
        QString name = QStringLiteral("%1_P%2.tiff").arg(personName, numericId);
        name.replace(' ', '_').replace('/', '|');
        const QString path = QStringLiteral("%1/%2").arg(m_wrapperPath, name);
        if (!QFileInfo::exists(path) && !image.save(path, "TIFF"))
            return false;
        return write(QStringLiteral("{{\\NeXTGraphic %1 \\width%2 \\height%3 } %4}")
                         .arg(name, QString::number(twipsW, 'f', 0), QString::number(twipsH, 'f', 0),
                              QString(QChar(0xAC))));
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 100))
        return false;
    const QString head = QStringLiteral("{\\*\\shppict {\\pict \\picw%1 \\pich%2 \\picwgoal%3 \\pichgoal%4 \\jpegblip \\bin%5 ")
                             .arg(image.width())
                             .arg(image.height())
                             .arg(QString::number(twipsW, 'f', 0), QString::number(twipsH, 'f', 0))
                             .arg(jpeg.size());
    return write(head) && writeBytes(jpeg) && write(QStringLiteral("}} "));
}

bool RtfWriter::closeOutputFile()
{
    if (!m_file)
        return false;
    const bool ok = m_file->flush();
    m_file->close();
    m_file.reset();
    return ok;
}

QString RtfWriter::savedMessage() const
{
    return QStringLiteral("%1: %2").arg(LocalizedString("ReportSavedToFile"), outputPath());
}

bool RtfWriter::handOver() const
{
    if (m_openingChosen)
        return Utils::displayFile(outputPath(), m_openingApplication);
    const bool rtf = m_fileType == QLatin1String("rtf") || isRtfd();
    return Utils::displayFile(outputPath(), rtf ? QStringLiteral("defaultRtfApp") : QString());
}

QString RtfWriter::rtfText(const QString& text, bool lineBreaks)
{
    QString s = text;
    Utils::cleanTheRtfString(s);
    if (lineBreaks)
        replaceLineFeedsInText(s);
    return s;
}

void RtfWriter::replaceLineFeedsInText(QString& text)
{
    text.replace('{', ' ').replace('}', ' ');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    text.replace(QStringLiteral("\n"), QStringLiteral(" \\par "));
}

QList<QColor> RtfWriter::standardColourTable(int count)
{
    const QList<QColor> all{QColor(0, 0, 0),     QColor(0, 0, 255),   QColor(0, 255, 255),
                            QColor(0, 255, 0),   QColor(255, 255, 0), QColor(255, 0, 0),
                            QColor(255, 0, 255), QColor(0, 128, 0),   QColor(167, 69, 0)};
    return all.mid(0, qBound(0, count, int(all.size())));
}

QStringList RtfWriter::standardStyles(const QList<int>& numbers, int normalPoints)
{
    QStringList out;
    for (int n : numbers)
        for (const StandardStyle& s : kStyles)
            if (s.number == n) {
                QString attributes = QString::fromLatin1(s.attributes);
                if (n == 0)
                    attributes = attributes.arg(normalPoints * 2);
                const QString tail = n == 0 ? QStringLiteral("\\snext0 ")
                                            : QStringLiteral("\\sbasedon0\\snext%1 ").arg(n == 1 ? 0 : n);
                out << QStringLiteral("{\\s%1 %2%3%4%5;}")
                           .arg(n)
                           .arg(QString::fromLatin1(s.format), attributes, tail, QString::fromLatin1(s.name));
            }
    return out;
}
