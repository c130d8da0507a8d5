#include "gedcom/GedcomFileReader.h"

#include "gedcom/AnselTable.h"
#include "gedcom/GedRec.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomHeaderInfo.h"
#include "gedcom/GedcomReadObserver.h"
#include "gedcom/GedcomTextDecoder.h"
#include "platform/FTLog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>

using Enc = GedcomTextDecoder;

namespace {

GedcomReadObserver gSilentObserver;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isUtf16(unsigned code)
{
    return code == Enc::Unicode || code == Enc::UTF16BE || code == Enc::UTF16LE;
}

// The header lines of decoded text, by the same rules as the raw-byte header scan.
QStringList headerLinesOfText(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n' && text[i] != u'\r')
            continue;
        QStringView l = text.sliced(start, i - start);
        start = i + 1;
        while (!l.isEmpty() && isBlank(l.front()))
            l = l.sliced(1);
        if (l.isEmpty())
            continue;
        if (!lines.isEmpty() && l.startsWith(u'0'))
            break;
        lines.append(l.toString());
    }
    return lines;
}

} // namespace

struct GedcomFileReader::Private {
    GedcomReadObserver* observer = &gSilentObserver;
    QString tempFolder;
    const AnselTable* anselTable = nullptr;

    unsigned encoding = Enc::Undetermined;
    GedcomHeaderInfo header;
    QString text;
    std::vector<qsizetype> starts;
    std::vector<int> lengths;
    std::vector<int> lineNumbers;
    std::unique_ptr<GedcomForest> forest = std::make_unique<GedcomForest>();
    QStringList messages;
    qint64 fileSize = 0;
    int numLines = 0;
    int numGedRecs = 0;
    int blobRecordsIgnored = 0;
    int blobLinesCleaned = 0;
    QString cleanedCopyPath;

    void splitLines();
    QString decode(const QByteArray& cleaned, const QString& path);
    void writeCleanedCopy(const QByteArray& cleaned, const QString& path);
};

GedcomFileReader::GedcomFileReader(GedcomReadObserver* observer)
    : d(std::make_unique<Private>())
{
    if (observer)
        d->observer = observer;
}

GedcomFileReader::~GedcomFileReader() = default;

void GedcomFileReader::setTempFolder(const QString& folder)
{
    d->tempFolder = folder;
}

void GedcomFileReader::setAnselTable(const AnselTable* table)
{
    d->anselTable = table;
}

bool GedcomFileReader::readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        d->observer->showMessage(QStringLiteral("Unable to open gedcom file:\n%1").arg(path));
        return false;
    }
    QByteArray bytes = f.readAll();
    f.close();
    const bool ok = loadLinesArray(bytes, path);
    bytes = QByteArray();  // the records need only the decoded text
    if (ok)
        createGedRecs();
    return ok;
}

bool GedcomFileReader::readData(const QByteArray& bytes, const QString& fileName)
{
    if (!loadLinesArray(bytes, fileName))
        return false;
    createGedRecs();
    return true;
}

// ---- character set ----

QStringList GedcomFileReader::fileHeaderRecord(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        QByteArrayView l = bytes.sliced(start, i - start);
        start = i + 1;
        while (!l.isEmpty() && (l.front() == ' ' || l.front() == '\t'))
            l = l.sliced(1);
        if (l.isEmpty())
            continue;
        if (!lines.isEmpty() && l.startsWith('0'))
            break;
        lines.append(QString::fromLatin1(l));
    }
    return lines;
}

unsigned GedcomFileReader::getEncoding(QByteArrayView bytes, QStringList* headerLines, QStringList* alerts)
{
    if (bytes.size() < 2)
        return Enc::Undetermined;
    const uchar b0 = uchar(bytes[0]), b1 = uchar(bytes[1]);
    const uchar b2 = bytes.size() > 2 ? uchar(bytes[2]) : 0;
    auto hex = [](uchar b) { return QString::number(b, 16).toUpper(); };
    FTLog(QStringLiteral("first 3 chars of gedcom file = 0x%1 0x%2 0x%3").arg(hex(b0), hex(b1), hex(b2)));
    if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE))
        return Enc::Unicode;
    // UTF-16 without its byte-order mark still shows itself: every ASCII character has a zero byte.
    if (b0 == 0 && b1 != 0)
        return Enc::UTF16BE;
    if (b0 != 0 && b1 == 0)
        return Enc::UTF16LE;
    const bool bom = b0 == 0xEF && b1 == 0xBB && b2 == 0xBF;

    const QStringList lines = fileHeaderRecord(bytes);
    if (headerLines)
        *headerLines = lines;
    if (bom)
        return Enc::UTF8;
    if (lines.isEmpty() || !lines.first().startsWith(QLatin1String("0 HEAD")))
        return Enc::Undetermined;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString l = lines[i];
        l.replace(QLatin1String("  "), QLatin1String(" "));
        qsizetype b = 0;
        while (b < l.size() && isBlank(l[b]))
            ++b;
        l = l.mid(b);
        if (l.startsWith(u'0'))
            return Enc::CP1252;
        if (!l.startsWith(QLatin1String("1 CHAR ")))
            continue;
        const QString set = l.mid(7);
        auto is = [&](const char* name) { return set.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
        if (is("ANSEL"))
            return Enc::ANSEL;
        if (is("ASCII"))
            return Enc::ASCII;
        if (is("IBM WINDOWS") || is("IBMPC") || is("ANSI"))
            return Enc::CP1252;
        if (is("UTF-8"))
            return Enc::UTF8;
        if (is("UNICODE")) {
            if (alerts)
                alerts->append(QStringLiteral(
                    "The Gedcom file header indicates that this file should be Unicode encoded.\n\n"
                    "However, the first 2 characters of the file, the Unicode Byte Order Mark are missing.\n\n"
                    "Will attempt to read the file as ANSI Windows CP1252\n\n"));
            return Enc::CP1252;
        }
        if (is("MACINTOSH"))
            return Enc::MacRoman;
        return Enc::CP1252;
    }
    return Enc::CP1252;
}

// ---- cleaned copy ----

QByteArray GedcomFileReader::cleanBytes(QByteArrayView bytes, std::vector<int>* lineNumbers, int* skipped)
{
    const char* s = bytes.data();
    const qsizetype n = bytes.size();

    // A file whose first line ends in a CR alone ends its lines with CR (an LF right after a CR
    // belongs to that line end, a lone LF ends a line too); any other file ends them with LF and
    // loses every CR.
    const QByteArrayView first = bytes.first(qMin<qsizetype>(n, 3999));
    qsizetype firstEnd = 0;
    while (firstEnd < first.size() && first[firstEnd] != '\n' && first[firstEnd] != '\r')
        ++firstEnd;
    const bool crMode = firstEnd < first.size() && first[firstEnd] == '\r'
        && !(firstEnd + 1 < n && s[firstEnd + 1] == '\n');

    QByteArray out;
    out.reserve(n + 16);
    QByteArray line;
    int lineNo = 1;
    int dropped = 0;
    bool inBlob = false;

    auto finish = [&](int number) {
        qsizetype b = 0;
        while (b < line.size() && (line[b] == ' ' || line[b] == '\t'))
            ++b;
        const QByteArrayView l = QByteArrayView(line).sliced(b);
        bool write;
        if (l.startsWith("1 BLOB")) {
            inBlob = true;
            write = false;
        } else if (inBlob) {
            write = l.startsWith("0 ") || l.startsWith("1 ");
            if (write)
                inBlob = false;
        } else {
            write = true;
        }
        if (write) {
            out.append(l);
            out.append('\n');
            if (lineNumbers)
                lineNumbers->push_back(number);
        } else {
            ++dropped;
        }
        line.clear();
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char c = s[i];
        if (crMode) {
            if (c == '\r' || c == '\n') {
                finish(lineNo++);
                if (c == '\r' && i + 1 < n && s[i + 1] == '\n')
                    ++i;
                continue;
            }
        } else {
            if (c == '\n') {
                finish(lineNo++);
                continue;
            }
            if (c == '\r')
                continue;
        }
        line.append(c);
    }
    // The last line needs no line end to count.
    bool tail = false;
    for (char c : line)
        tail = tail || (c != ' ' && c != '\t');
    if (tail)
        finish(lineNo);
    if (skipped)
        *skipped = dropped;
    return out;
}

void GedcomFileReader::Private::writeCleanedCopy(const QByteArray& cleaned, const QString& path)
{
    cleanedCopyPath.clear();
    if (tempFolder.isEmpty() || path.isEmpty())
        return;
    const QString copy = tempFolder + u'/' + QFileInfo(path).fileName();
    QDir().mkpath(tempFolder);
    QFile::remove(copy);
    QFile f(copy);
    if (!f.open(QIODevice::WriteOnly) || f.write(cleaned) != cleaned.size()) {
        // The copy is for looking at afterwards; the import goes on from memory.
        messages.append(QStringLiteral("Unable to open temporary file:\n%1").arg(copy));
        return;
    }
    cleanedCopyPath = copy;
}

// ---- decoding ----

QString GedcomFileReader::Private::decode(const QByteArray& cleaned, const QString& path)
{
    QString decoderName = Enc::encodingName(encoding);
    QString result;
    switch (encoding) {
    case Enc::ANSEL: {
        observer->setDialogMessage(QStringLiteral("Converting ANSEL encoded strings"));
        const AnselTable& table = anselTable ? *anselTable : AnselTable::shared();
        if (table.isEmpty())
            messages.append(QStringLiteral("The ANSEL character table %1 could not be read: accented "
                                           "characters are shown as U+FFFD.")
                                .arg(AnselTable::sharedTablePath()));
        result = table.decode(cleaned, header.bGene, &messages, &lineNumbers);
        break;
    }
    case Enc::ASCII:
        result = Enc::decodeAscii(cleaned);
        break;
    case Enc::CP1252:
        result = Enc::decodeCp1252(cleaned);
        break;
    case Enc::MacRoman:
        result = Enc::decodeMacRoman(cleaned);
        break;
    default:
        result = Enc::decodeUtf8(cleaned, &messages, &lineNumbers);
        break;
    }
    if (result.isNull()) {
        observer->showMessage(QStringLiteral("Unable to read the data in file: \n\n%1\n\nusing the %2 decoder.\n\n"
                                             "Will try a generic decoder with lossy conversion.\n\n")
                                  .arg(path, decoderName));
        decoderName = QStringLiteral("Generic");
        result = Enc::decodeCp1252(cleaned);
    }
    FTLog(QStringLiteral("Gedcom file was read using %1 decoder.").arg(decoderName));
    return result;
}

void GedcomFileReader::Private::splitLines()
{
    starts.clear();
    lengths.clear();
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c != u'\n' && c != u'\r')
            continue;
        starts.push_back(start);
        lengths.push_back(int(i - start));
        if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n) {
        starts.push_back(start);
        lengths.push_back(int(n - start));
    }
}

bool GedcomFileReader::loadLinesArray(const QByteArray& bytes, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    d->text.clear();
    d->starts.clear();
    d->lengths.clear();
    d->lineNumbers.clear();
    d->messages.clear();
    d->cleanedCopyPath.clear();
    d->blobLinesCleaned = 0;
    d->fileSize = bytes.size();

    QStringList headerLines, alerts;
    d->encoding = getEncoding(bytes, &headerLines, &alerts);
    for (const QString& a : alerts)
        d->observer->showMessage(a);
    if (d->encoding == Enc::Undetermined) {
        d->observer->showMessage(QStringLiteral("Unable to determine the character encoding that was used to write "
                                                "the Gedcom file.\n\nWill assume it is UTF-8 and try to continue."));
        d->encoding = Enc::UTF8;
    }

    if (isUtf16(d->encoding)) {
        // Decoded as a whole: the byte-level cleaning would cut its two-byte characters apart.
        d->text = Enc::decodeUtf16(bytes, d->encoding == Enc::UTF16BE, &d->messages);
        d->header = GedcomHeaderInfo::fromHeaderLines(headerLinesOfText(d->text));
    } else {
        d->header = GedcomHeaderInfo::fromHeaderLines(headerLines);
        d->observer->setDialogMessage(QStringLiteral("Checking the Gedcom file format"));
        const QByteArray cleaned = cleanBytes(bytes, &d->lineNumbers, &d->blobLinesCleaned);
        d->writeCleanedCopy(cleaned, path);
        FTLog(QStringLiteral("%1 msecs to read gedcom file and write temp file")
                  .arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 1));
        d->text = d->decode(cleaned, path);
    }
    d->splitLines();
    if (!d->lineNumbers.empty() && d->lineNumbers.size() != d->starts.size())
        d->lineNumbers.clear();  // cannot happen with the decoders here; fall back to counting

    QStringView firstLine = d->starts.empty() ? QStringView() : lineView(0);
    while (!firstLine.isEmpty() && (isBlank(firstLine.front()) || firstLine.front() == QChar(0xFEFF)))
        firstLine = firstLine.sliced(1);
    if (!firstLine.startsWith(QLatin1String("0 HEAD"))) {
        if (d->text.trimmed().isEmpty())
            d->observer->showMessage(QStringLiteral("Unable to determine the correct character encoding in the Gedcom file"));
        else
            d->observer->showMessage(QStringLiteral("Wrong format in the first line of the Gedcom file.\n\n "
                                                    "It should have been \"0 HEAD\""));
        d->text.clear();
        d->starts.clear();
        d->lengths.clear();
        d->lineNumbers.clear();
        return false;
    }
    return true;
}

// ---- lines into records ----

void GedcomFileReader::createGedRecs()
{
    QElapsedTimer timer;
    timer.start();
    d->forest = std::make_unique<GedcomForest>();
    d->blobRecordsIgnored = d->blobLinesCleaned;
    d->numLines = 0;
    d->numGedRecs = 0;

    QHash<QStringView, QString> tags;  // one shared string per distinct tag
    auto internTag = [&](QStringView t) -> QString {
        auto it = tags.constFind(t);
        if (it != tags.constEnd())
            return *it;
        const QString s = t.toString();
        tags.insert(QStringView(s), s);
        return s;
    };

    std::vector<GedRec*> levels;  // the latest line at each level of the file
    int previousLevel = 0;
    int blobLevel = -1;           // inside a BLOB: the BLOB line's level
    const qsizetype count = lineCount();

    for (qsizetype index = 0; index < count; ++index) {
        ++d->numLines;
        if (d->numLines % 1000 == 0) {
            d->observer->setDialogMessage(QStringLiteral("Reading Gedcom Records: %1").arg(d->numLines));
            d->observer->setCurrentProgress(index, count);
        }
        const QStringView line = lineView(index);
        const int lineNo = lineNumber(index);

        if (line.isEmpty()) {
            d->messages.append(QStringLiteral("Empty line in Gedcom file at line %1 was ignored.").arg(lineNo));
            continue;
        }
        if (line.size() == 1)
            continue;

        // Level number.
        qsizetype pos = 0;
        const qsizetype len = line.size();
        while (pos < len && line[pos].isSpace())
            ++pos;
        bool negative = false;
        if (pos < len && (line[pos] == u'-' || line[pos] == u'+'))
            negative = line[pos++] == u'-';
        const qsizetype digitsStart = pos;
        qint64 level = 0;
        while (pos < len && line[pos] >= u'0' && line[pos] <= u'9') {
            if (level <= kMaxLevel)
                level = level * 10 + (line[pos].unicode() - u'0');
            ++pos;
        }
        const bool hasNumber = pos > digitsStart && !negative;

        if (hasNumber && blobLevel >= 0) {
            if (level > blobLevel) {
                ++d->blobRecordsIgnored;
                continue;
            }
            blobLevel = -1;
        }
        if (hasNumber && level > kMaxLevel && level <= previousLevel + 1) {
            d->messages.append(QStringLiteral("Record ignored because it is nested deeper than %1 levels in Gedcom "
                                              "file at line %2. The record was: %3")
                                   .arg(kMaxLevel).arg(lineNo).arg(line));
            continue;
        }
        if (!hasNumber || level > previousLevel + 1 || (level > 0 && qsizetype(levels.size()) < level)) {
            if (line.trimmed().isEmpty())
                d->messages.append(QStringLiteral("Empty line in Gedcom file at line %1 was ignored.").arg(lineNo));
            else
                d->messages.append(QStringLiteral("Record ignored because of inconsistent levels in Gedcom file at "
                                                  "line %1. The record was: %2")
                                       .arg(lineNo).arg(line));
            continue;
        }

        GedRec* owner = level > 0 ? levels[level - 1] : nullptr;
        if (owner && owner->type() == QLatin1String("BLOB")) {
            blobLevel = int(level) - 1;
            ++d->blobRecordsIgnored;
            continue;
        }

        // Optional @identifier@, then the tag.
        auto word = [&]() -> QStringView {
            while (pos < len && line[pos].isSpace())
                ++pos;
            const qsizetype b = pos;
            while (pos < len && !line[pos].isSpace())
                ++pos;
            return line.sliced(b, pos - b);
        };
        QStringView ptr;
        QStringView tag = word();
        if (tag.startsWith(u'@')) {
            ptr = tag;
            tag = word();
        }
        if (tag.isEmpty()) {
            d->messages.append(QStringLiteral("Bad record format at line %1. The record was: %2").arg(lineNo).arg(line));
            continue;
        }
        // The value is the rest of the line less its one separating blank.
        if (pos < len && isBlank(line[pos]))
            ++pos;
        const QStringView value = line.sliced(pos);

        // One program writes source citations under the continuation lines of a note: such a
        // citation belongs to the note's owner.
        if (d->header.bReunion && owner && owner->owner() && tag == QLatin1String("SOUR")
            && (owner->type() == QLatin1String("CONT") || owner->type() == QLatin1String("CONC")
                || owner->type() == QLatin1String("SOUR")))
            owner = owner->owner();

        std::unique_ptr<GedRec> root;
        GedRec* rec;
        if (owner) {
            rec = new GedRec(owner, ptr.toString(), internTag(tag), value.toString());
        } else {
            root = std::make_unique<GedRec>(nullptr, ptr.toString(), internTag(tag), value.toString());
            rec = root.get();
        }
        rec->setLineNo(lineNo);
        levels.resize(size_t(level) + 1);
        levels[level] = rec;
        previousLevel = int(level);
        ++d->numGedRecs;

        if (root) {
            GedRec* first = nullptr;
            d->forest->addRecord(std::move(root), &first);
            if (first) {
                const QString what = rec->ptr().isEmpty() ? QStringLiteral("%1 record").arg(rec->type())
                                                          : QStringLiteral("identifier @%1@").arg(rec->ptr());
                d->messages.append(QStringLiteral("Duplicate %1 at line %2, first used at line %3: both records were "
                                                  "kept, the later one under the key \"%4\".")
                                       .arg(what).arg(lineNo).arg(first->lineNo()).arg(d->forest->keyOf(rec)));
            }
            if (rec->type() == QLatin1String("TRLR")) {
                int unread = 0;
                for (qsizetype k = index + 1; k < count; ++k)
                    if (lineView(k).trimmed().size() > 1)
                        ++unread;
                if (unread)
                    d->messages.append(QStringLiteral("%1 lines after the trailer record at line %2 were not read.")
                                           .arg(unread).arg(lineNo));
                break;
            }
        }
    }
    d->observer->setCurrentProgress(count, count);
    FTLog(QStringLiteral("%1 msecs to end of create GedRecs").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
}

// ---- results ----

unsigned GedcomFileReader::gedFileEncoding() const { return d->encoding; }
const GedcomHeaderInfo& GedcomFileReader::headerInfo() const { return d->header; }
qsizetype GedcomFileReader::lineCount() const { return qsizetype(d->starts.size()); }

QStringView GedcomFileReader::lineView(qsizetype index) const
{
    return QStringView(d->text).sliced(d->starts[size_t(index)], d->lengths[size_t(index)]);
}

QStringList GedcomFileReader::lines() const
{
    QStringList result;
    result.reserve(lineCount());
    for (qsizetype i = 0; i < lineCount(); ++i)
        result.append(line(i));
    return result;
}

int GedcomFileReader::lineNumber(qsizetype index) const
{
    return d->lineNumbers.empty() ? int(index + 1) : d->lineNumbers[size_t(index)];
}

GedcomForest& GedcomFileReader::forest() { return *d->forest; }

std::unique_ptr<GedcomForest> GedcomFileReader::takeForest()
{
    auto f = std::move(d->forest);
    d->forest = std::make_unique<GedcomForest>();
    return f;
}

const QStringList& GedcomFileReader::errorMessages() const { return d->messages; }
QStringList GedcomFileReader::takeErrorMessages() { return std::exchange(d->messages, QStringList()); }
qint64 GedcomFileReader::fileSize() const { return d->fileSize; }
int GedcomFileReader::numLines() const { return d->numLines; }
int GedcomFileReader::numGedRecs() const { return d->numGedRecs; }
int GedcomFileReader::blobRecordsIgnored() const { return d->blobRecordsIgnored; }
QString GedcomFileReader::cleanedCopyPath() const { return d->cleanedCopyPath; }
