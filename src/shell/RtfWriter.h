#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QFile;
class QImage;
class QSizeF;

// Writes one report file in the reports folder: an RTF text file, or an RTFD folder holding "TXT.rtf" and the
// pictures, or (through the same naming and opening) a CSV or plain-text file. A report calls, in order:
// createOutputFileName, openOutputFile, printRTFHeader, then writes its paragraphs (user text through
// writeText or rtfText), writes the final "}", closeOutputFile and handOver.
class RtfWriter {
public:
    // The file type comes from the user default "rtfFileType" ("rtfd" or "rtf").
    RtfWriter();
    ~RtfWriter();
    RtfWriter(const RtfWriter&) = delete;
    RtfWriter& operator=(const RtfWriter&) = delete;

    // "rtf", "rtfd", or another extension ("csv", "txt") for files that get no RTF header.
    void setFileType(const QString& type);
    QString fileType() const { return m_fileType; }
    bool isRtfd() const { return m_fileType == QLatin1String("rtfd"); }

    // What the header holds; each report sets its own.
    void setColourTable(const QList<QColor>& colours) { m_colours = colours; }
    void setStyles(const QStringList& styleLines) { m_styles = styleLines; }
    void setFooter(bool footer) { m_footer = footer; }

    // The moment the report prints (now unless set; tests fix it). dateText() gives its date as "d MMMM, yyyy",
    // titleDateText() the moment as report titles show it, "Thursday 10-Dec-26 at 14:05" (English).
    void setDateTime(const QDateTime& moment) { m_moment = moment; }
    void setDate(const QDate& date) { m_moment = QDateTime(date, QTime(0, 0)); }
    QDateTime dateTime() const;
    QDate date() const { return dateTime().date(); }
    QString dateText() const;
    QString titleDateText() const;
    static QString titleDateText(const QDateTime& moment);

    // Chooses the first free name for the base name (its "/" made "|", a report extension dropped) in the
    // reports folder; for "rtfd" makes the empty RTFD folder. False, after a message, when no name is free.
    bool createOutputFileName(const QString& baseName);
    // Creates the file, never over an existing one, and writes the UTF-8 byte-order mark (which the RTF header
    // then overwrites). False, after a message, when it cannot be created.
    bool openOutputFile();
    // The header: code page, fonts, colour table, style sheet, page size ("A4", else US Letter), footer.
    bool printRTFHeader(const QString& paper);
    // Writes RTF as it is (UTF-8).
    bool write(const QString& rtf);
    bool writeBytes(const QByteArray& bytes);
    // Writes user text made safe for RTF, its line breaks as paragraph breaks.
    bool writeText(const QString& text) { return write(rtfText(text, true)); }
    // A picture of a person: for "rtfd" a TIFF file "<name>_P<id>.tiff" in the folder (kept when already there),
    // referenced from the text; for "rtf" the JPEG bytes inline. `points` is the size shown on the page.
    bool writePicture(const QImage& image, const QString& personName, const QString& numericId, const QSizeF& points);
    bool closeOutputFile();

    QString localFilename() const { return m_localFilename; }
    QString rtfFilePath() const { return m_rtfFilePath; }
    QString wrapperPath() const { return m_wrapperPath; }
    // The file or folder that the user opens: the RTFD folder, else the text file.
    QString outputPath() const { return isRtfd() ? m_wrapperPath : m_rtfFilePath; }
    // "Report saved to file: <path>", for the report window's progress field.
    QString savedMessage() const;
    // Opens the finished report: RTF in the application chosen for RTF files ("defaultRtfApp"), any other type
    // in the desktop's default application for it.
    bool handOver() const;
    // The application handOver() opens the report with instead ("" is the desktop's default), for a window
    // where the user picks one.
    void setOpeningApplication(const QString& application) { m_openingApplication = application; m_openingChosen = true; }

    // User text inside RTF: escaped (Utils::cleanTheRtfString) and, with `lineBreaks`, its line ends written
    // as paragraph breaks.
    static QString rtfText(const QString& text, bool lineBreaks);
    // In place: braces become blanks, CR LF and CR become LF, and every LF becomes " \par ".
    static void replaceLineFeedsInText(QString& text);

    // The shared colour table: black, blue, cyan, green, yellow, red, magenta, dark green (8), and brown (9).
    static QList<QColor> standardColourTable(int count);
    // The narrative reports' styles by number (0-9, 13, 23, 24, 26), one style-sheet line each; `normalPoints`
    // sets the size of style 0.
    static QStringList standardStyles(const QList<int>& numbers, int normalPoints = 10);

private:
    bool fail(const QString& key, const QString& path);
    QString m_fileType;
    QString m_openingApplication;
    bool m_openingChosen = false;
    QList<QColor> m_colours;
    QStringList m_styles;
    bool m_footer = true;
    QDateTime m_moment;
    QString m_localFilename;
    QString m_rtfFilePath;
    QString m_wrapperPath;
    std::unique_ptr<QFile> m_file;
};
