#include "gedcom/GedcomWriter.h"

#include "gedcom/GedcomDate.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTextBoundaryFinder>
#include <QVariant>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029);
}

bool isControl(QChar c) { return c.category() == QChar::Other_Control; }

QString trimmedOfControls(const QString& line)
{
    int begin = 0, end = line.size();
    while (begin < end && isControl(line[begin]))
        ++begin;
    while (end > begin && isControl(line[end - 1]))
        --end;
    return line.mid(begin, end - begin);
}

// Identifiers are written between "@" signs; accept them with or without.
QString bareXref(const QString& xref)
{
    int begin = 0, end = xref.size();
    while (begin < end && (xref[begin] == u'@' || xref[begin].isSpace()))
        ++begin;
    while (end > begin && (xref[end - 1] == u'@' || xref[end - 1].isSpace()))
        --end;
    return xref.mid(begin, end - begin);
}

// Where a piece of `line` that starts at `start` and would end at `start + length` may really end:
// at a character boundary, so that neither a surrogate pair nor a letter and its accents are cut.
int pieceLength(const QString& line, QTextBoundaryFinder& graphemes, int start, int length)
{
    const int end = start + length;
    graphemes.setPosition(end);
    if (graphemes.isAtBoundary())
        return length;
    const int previous = graphemes.toPreviousBoundary();
    if (previous > start)
        return previous - start;
    // One cluster longer than a whole piece: cut it, but between code points.
    if (line[end - 1].isHighSurrogate() && line[end].isLowSurrogate())
        return length - 1;
    return length;
}

QString todayText(const QDateTime& now)
{
    const QDate date = now.date();
    return GedcomDate::gedcomDate(0, date.day(), date.month(), date.year());
}

} // namespace

struct GedcomWriter::Private {
    GedcomExportOptions options;
    QIODevice* device = nullptr;
    std::unique_ptr<QFile> file;   // set when this writer created the output
    QString path;
    bool failed = false;
    QString failure;
    QByteArray bytes; // the line being written, kept from line to line
};

GedcomWriter::GedcomWriter(GedcomExportOptions options) : d(std::make_unique<Private>())
{
    d->options = std::move(options);
}

GedcomWriter::~GedcomWriter()
{
    if (d->file && d->file->isOpen())
        d->file->close();
}

const GedcomExportOptions& GedcomWriter::options() const { return d->options; }
QString GedcomWriter::path() const { return d->path; }
bool GedcomWriter::hasError() const { return d->failed; }

bool GedcomWriter::create(const QString& path, QString* error)
{
    auto file = std::make_unique<QFile>(path);
    // NewOnly: an older export of the same name is never replaced, even one that appears after the
    // name was chosen.
    if (!file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        FTLog(QStringLiteral("createGedcomFile: unable to create/open Gedcom File %1 (%2)").arg(path, file->errorString()));
        if (error)
            *error = LocalizedString(QStringLiteral("Unable to create the file for the Gedcom output"));
        return false;
    }
    d->file = std::move(file);
    d->path = path;
    writeTo(d->file.get());
    return true;
}

static QString candidatePath(const QString& folder, const QString& name, const QString& extension, qint64 n)
{
    if (n == 0)
        return QStringLiteral("%1/%2.%3").arg(folder, name, extension);
    return QStringLiteral("%1/%2_%3.%4").arg(folder, name).arg(n).arg(extension);
}

QString GedcomWriter::uniquePath(const QString& folder, const QString& name, const QString& extension)
{
    for (qint64 n = 0;; ++n) {
        const QString candidate = candidatePath(folder, name, extension, n);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString GedcomWriter::createUnique(const QString& folder, const QString& name, const QString& extension,
                                   QString* error)
{
    // The numbers go on as far as they must: running out of them must not mean replacing a file.
    for (qint64 n = 0;; ++n) {
        const QString candidate = candidatePath(folder, name, extension, n);
        if (QFileInfo::exists(candidate))
            continue;
        if (create(candidate, error))
            return candidate;
        if (!QFileInfo::exists(candidate))
            return {};   // not a name taken in the meantime: the folder itself refuses
    }
}

void GedcomWriter::writeTo(QIODevice* device)
{
    d->device = device;
    d->failed = false;
    static const char bom[] = "\xEF\xBB\xBF";
    if (device->write(bom, 3) != 3)
        d->failed = true;
}

bool GedcomWriter::finish(QString* error)
{
    if (d->file) {
        if (d->file->isOpen()) {
            if (!d->file->flush())
                d->failed = true;
            d->file->close();
            if (d->file->error() != QFileDevice::NoError)
                d->failed = true;
        }
        if (d->failed) {
            FTLog(QStringLiteral("Gedcom export: writing %1 failed: %2").arg(d->path, d->file->errorString()));
            d->file->remove();
        }
    }
    if (d->failed && error)
        *error = LocalizedString(QStringLiteral("Unable to write the Gedcom file %@")).replace(QLatin1String("%@"), d->path);
    return !d->failed;
}

void GedcomWriter::put(const QString& line)
{
    if (!d->device || d->failed)
        return;
    // A file of a million people has some sixteen million lines, most of them ASCII: they are copied into one
    // buffer kept from line to line, the others encoded.
    QByteArray& bytes = d->bytes;
    const qsizetype n = line.size();
    bytes.resize(n + 2);
    char* out = bytes.data();
    const QChar* in = line.constData();
    qsizetype ascii = 0;
    while (ascii < n && in[ascii].unicode() < 0x80) {
        out[ascii] = char(in[ascii].unicode());
        ++ascii;
    }
    if (ascii == n) {
        out[n] = '\r';
        out[n + 1] = '\n';
    } else {
        bytes = line.toUtf8() + "\r\n";
    }
    if (d->device->write(bytes) != bytes.size())
        d->failed = true;
}

QString GedcomWriter::formatLine(int level, const QString& xref, const QString& tag, const QString& value,
                                 bool valueIsPointer, bool indent)
{
    // Grown in place, one allocation a line: the export writes millions of them.
    QString line;
    line.reserve(3 * qMax(level, 0) * int(indent) + 8 + xref.size() + tag.size() + value.size());
    if (indent)
        line.fill(u' ', 3 * qMax(level, 0));
    if (level >= 0 && level <= 9)
        line += QChar(u'0' + level);
    else
        line += QString::number(level);
    const auto pointer = [&line](const QString& bare) {
        line += u" @";
        line += bare;
        line += u'@';
    };
    if (const QString id = bareXref(xref); !id.isEmpty())
        pointer(id);
    line += u' ';
    line += tag;
    if (valueIsPointer) {
        if (const QString target = bareXref(value); !target.isEmpty())
            pointer(target);
    } else if (!value.isEmpty()) {
        line += u' ';
        line += escapeValue(oneLine(value));
    }
    return line;
}

void GedcomWriter::writeLine(int level, const QString& tag, const QString& value, const QString& xref)
{
    put(formatLine(level, xref, tag, value, false, d->options.indentGedcomLines));
}

void GedcomWriter::writePointerLine(int level, const QString& tag, const QString& target, const QString& xref)
{
    put(formatLine(level, xref, tag, target, true, d->options.indentGedcomLines));
}

void GedcomWriter::writeText(int level, const QString& tag, const QString& text, const QString& xref)
{
    writeLine(level, tag, {}, xref);
    writeContinuation(level, text);
}

void GedcomWriter::writeContinuation(int ownerLevel, const QString& text)
{
    for (const TextPiece& piece : splitText(text))
        writeLine(ownerLevel + 1, piece.tag, piece.value);
}

void GedcomWriter::writeShortText(int level, const QString& tag, const QString& text)
{
    if (text.isEmpty())
        return;
    if (text.size() <= 200 && std::none_of(text.begin(), text.end(), isLineBreak))
        writeLine(level, tag, text);
    else
        writeText(level, tag, text);
}

void GedcomWriter::writeNoteRecord(const QString& xref, const QString& notes)
{
    QString text = notes.trimmed();
    if (text.isEmpty())
        text = QStringLiteral(" ");
    writeText(0, QStringLiteral("NOTE"), text, xref);
}

QList<GedcomWriter::TextPiece> GedcomWriter::splitText(const QString& text)
{
    QList<TextPiece> pieces;
    if (text.isEmpty())
        return pieces;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (QChar c : {QChar(u'\r'), QChar(0x2028), QChar(0x2029)})
        t.replace(c, u'\n');
    // No-break spaces and daggers stay: the file is UTF-8, and a dagger before a year of death is the user's own.

    const QStringList lines = t.split(u'\n');
    QString tag = QStringLiteral("CONC");
    for (int n = 0; n < lines.size(); ++n) {
        if (n > 0)
            tag = QStringLiteral("CONT");
        const QString line = trimmedOfControls(lines[n]);
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, line);
        int start = 0;
        while (line.size() - start > kTextLineLength) {
            // Prefer to end a piece just after a blank in its second half.
            int length = kTextLineLength;
            for (int i = kTextLineLength - 2; i > 75; --i) {
                const QChar c = line[start + i];
                if (c == u' ' || c == u'\t') {
                    length = i + 1;
                    break;
                }
            }
            length = pieceLength(line, graphemes, start, length);
            pieces.append({tag, line.mid(start, length)});
            tag = QStringLiteral("CONC");
            start += length;
        }
        pieces.append({tag, line.mid(start)});
    }
    return pieces;
}

QStringList GedcomWriter::splitValue(const QString& value, int length)
{
    if (value.size() <= length)
        return {value};
    QStringList pieces;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, value);
    const auto isBlankAt = [&](qsizetype i) { return value[i] == u' ' || value[i] == u'\t'; };
    qsizetype start = 0;
    while (value.size() - start > length) {
        // A reader may trim the blanks at either end of a value: a piece ends between two characters that are not
        // blanks, where it can, and never inside a character.
        qsizetype cut = 0;
        for (qsizetype end = start + length; end > start + length / 2 && cut == 0; --end) {
            graphemes.setPosition(int(end));
            if (graphemes.isAtBoundary() && !isBlankAt(end - 1) && !isBlankAt(end))
                cut = end;
        }
        if (cut == 0)
            cut = start + pieceLength(value, graphemes, int(start), length);
        pieces.append(value.mid(start, cut - start));
        start = cut;
    }
    pieces.append(value.mid(start));
    return pieces;
}

void GedcomWriter::writeLongValue(int level, const QString& tag, const QString& value)
{
    const QStringList pieces = splitValue(oneLine(value), kLongValueLength);
    writeLine(level, tag, pieces.first());
    for (qsizetype i = 1; i < pieces.size(); ++i)
        writeLine(level + 1, QStringLiteral("CONC"), pieces[i]);
}

QString GedcomWriter::oneLine(const QString& value)
{
    if (std::none_of(value.begin(), value.end(), isLineBreak))
        return value;
    QString t = value;
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : t)
        if (isLineBreak(c))
            c = u' ';
    return t;
}

QString GedcomWriter::escapeValue(const QString& value)
{
    if (!value.contains(u'@'))
        return value;
    QString t = value;
    return t.replace(QLatin1String("@"), QLatin1String("@@"));
}

QString GedcomWriter::ldsDataFor(const QVariant& object)
{
    if (object.typeId() != QMetaType::QString)
        return {};
    QString s = object.toString();
    if (s.trimmed().isEmpty())
        return {};
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(u'\r', u'\n');
    s.replace(QLatin1String("\n"), QLatin1String(", "));
    s.replace(QLatin1String(", ,"), QLatin1String(","));
    s.replace(QLatin1String(",,"), QLatin1String(", "));
    s.replace(QLatin1String("  "), QLatin1String(" "));
    return s;
}

QString GedcomWriter::gedcomSex(const QString& gender)
{
    const QString g = gender.trimmed();
    if (g.isEmpty())
        return QStringLiteral("U");
    auto is = [&](const QString& word) { return g.compare(word, Qt::CaseInsensitive) == 0; };
    if (is(LocalizedString(QStringLiteral("MaleShort"))) || is(QStringLiteral("M")))
        return QStringLiteral("M");
    if (is(LocalizedString(QStringLiteral("FemaleShort"))) || is(QStringLiteral("F")))
        return QStringLiteral("F");
    return QStringLiteral("U");
}

QString GedcomWriter::xref(const QString& prefix, qint64 number) { return prefix + QString::number(number); }

QString GedcomWriter::depersonalizeOptionText(int option)
{
    switch (option) {
    case 0: return QStringLiteral("Gender Only");
    case 1: return QStringLiteral("Gender and First Name");
    case 2: return QStringLiteral("Gender, First Name and Birth Year");
    default: return QStringLiteral("??");
    }
}

QStringList GedcomWriter::scopeNoteLines(const GedcomExportOptions& o)
{
    const QString words = depersonalizeOptionText(o.depersonalizeOption);
    QStringList lines;
    if (o.includeRecentlyDead) {
        lines << QStringLiteral("Includes Recently Deceased People");
        lines << (o.depersonalizeRecentlyDead
                      ? QStringLiteral("Recently Deceased People have been Depersonalized to %1").arg(words)
                      : QStringLiteral("Recently Deceased People have not been Depersonalized"));
    } else {
        lines << QStringLiteral("Excludes Recently Deceased People");
    }
    if (o.includeLivingPeople) {
        lines << QStringLiteral("Includes Living People");
        lines << (o.depersonalizeLivingPeople ? QStringLiteral("Living People have been Depersonalized to %1").arg(words)
                                              : QStringLiteral("Living People have not been Depersonalized"));
    } else {
        lines << QStringLiteral("Excludes Living People");
    }
    lines << QStringLiteral("\"Recently Deceased People\" are those that died within the last %1 years")
                 .arg(o.recentlyDeadYears);
    return lines;
}

const QList<std::pair<QString, QString>>& GedcomWriter::customTags()
{
    static const QList<std::pair<QString, QString>> tags{
        {"_CMTS", "The comments field for a Person. It may have CONT and CONC sub-records"},
        {"_CROP", "The crop rectangle for the thumbnail of a Picture"},
        {"_DATE", "The date entered for a thumbnail or of a Source"},
        {"_FPER", "The Focal Person of the database when the Gedcom file was created"},
        {"_FREL", "The father-child relationship type. Natural, Adopted, Step or Foster"},
        {"_GMAP", "The Google Maps Geocode for an Event Place"},
        {"_LATI", "The latitude of an Event Place"},
        {"_LONG", "The longitude of an Event Place"},
        {"_MREL", "The mother-child relationship type. Natural, Adopted, Step or Foster"},
        {"_OCTI", "The occupation/title of a Person"},
        {"_OFNM", "The original file name of a Picture"},
        {"_PROB", "The Probability that a parent-child relationship is true"},
        {"_SEQN", "The sequence number of a thumbnail for a Person"},
        {"_TOPI", "The topic of a Source Reference (Citation)"},
        {"_TYPE", "The type of a Source"},
    };
    return tags;
}

void GedcomWriter::writeHeaderRecords(const HeaderInfo& info)
{
    HeaderInfo filled = info;
    if (!filled.now.isValid())
        filled.now = QDateTime::currentDateTime();
    writeHeadRecord(filled);
    writeSubmissionRecord();
    writeSubmitterRecord(filled.now);
}

void GedcomWriter::writeHeadRecord(const HeaderInfo& info)
{
    const QDateTime now = info.now.isValid() ? info.now : QDateTime::currentDateTime();
    const QString version = info.version.isEmpty() ? QStringLiteral(KINLOOM_VERSION) : info.version;
    const QString fileName = info.fileName.isEmpty() ? QFileInfo(d->path).fileName() : info.fileName;

    writeLine(0, QStringLiteral("HEAD"));
    writeLine(1, QStringLiteral("SOUR"), kProgramName);
    writeLine(2, QStringLiteral("VERS"), version);
    writeLine(2, QStringLiteral("NAME"), kProgramName);
    writeLine(2, QStringLiteral("CORP"), QStringLiteral("Tolvane"));
    writeLine(2, QStringLiteral("DATA"), info.modelName);
    writeLine(1, QStringLiteral("DATE"), todayText(now));
    writeLine(2, QStringLiteral("TIME"), now.toString(QStringLiteral("HH:mm:ss")));
    writePointerLine(1, QStringLiteral("SUBM"), kSubmitterXref);
    writePointerLine(1, QStringLiteral("SUBN"), kSubmissionXref);
    writeLine(1, QStringLiteral("FILE"), fileName);
    writeLine(1, QStringLiteral("GEDC"));
    writeLine(2, QStringLiteral("VERS"), QStringLiteral("5.5"));
    writeLine(1, QStringLiteral("CHAR"), QStringLiteral("UTF-8"));
    writeLine(1, QStringLiteral("LANG"), QStringLiteral("ENGLISH"));

    writeLine(1, QStringLiteral("NOTE"), QStringLiteral("Options used when generating this Gedcom file"));
    for (const QString& line : scopeNoteLines(d->options))
        writeLine(2, QStringLiteral("CONT"), line);
    // The program's own tags are listed whether or not this run writes them.
    writeLine(2, QStringLiteral("CONT"));
    writeLine(2, QStringLiteral("CONT"), QStringLiteral("Custom Tags generated by %1 are as follows:").arg(kProgramName));
    for (const auto& [tag, description] : customTags())
        writeLine(2, QStringLiteral("CONT"), QStringLiteral("%1 = %2").arg(tag, description));
}

void GedcomWriter::writeSubmissionRecord()
{
    static const char* const tags[] = {"FAMF", "TEMP", "ANCE", "DESC", "ORDI", "RIN"};
    writeLine(0, QStringLiteral("SUBN"), {}, kSubmissionXref);
    writePointerLine(1, QStringLiteral("SUBM"), kSubmitterXref);
    const QStringList& keys = GedcomExportOptions::submissionKeys();
    for (int i = 0; i < keys.size(); ++i) {
        const QString value = ldsDataFor(d->options.submissionData.value(keys[i]));
        if (!value.isEmpty())
            writeLine(1, QString::fromLatin1(tags[i]), value);
    }
}

void GedcomWriter::writeSubmitterRecord(const QDateTime& now)
{
    static const char* const tags[] = {"NAME", "ADDR", "PHON", "LANG", "RFN"};
    writeLine(0, QStringLiteral("SUBM"), {}, kSubmitterXref);
    const QStringList& keys = GedcomExportOptions::submitterKeys();
    for (int i = 0; i < keys.size(); ++i) {
        const QString value = ldsDataFor(d->options.submissionData.value(keys[i]));
        if (!value.isEmpty())
            writeLine(1, QString::fromLatin1(tags[i]), value);
    }
    writeLine(1, QStringLiteral("DATE"), todayText(now.isValid() ? now : QDateTime::currentDateTime()));
}

void GedcomWriter::writeTrailer() { writeLine(0, QStringLiteral("TRLR")); }
