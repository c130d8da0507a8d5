#include "gedcom/GedcomFileReader.h"

#include "gedcom/AnselTable.h"
#include "gedcom/GedRec.h"
#include "gedcom/GedRecArena.h"
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
#include <QTemporaryFile>

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

qsizetype byteOrderMarkLength(QByteArrayView line) { return line.startsWith("\xEF\xBB\xBF") ? 3 : 0; }
qsizetype byteOrderMarkLength(QStringView line) { return line.startsWith(QChar(0xFEFF)) ? 1 : 0; }

// The first line that holds more than blanks (a byte-order mark counts as none): blank lines carry nothing, so
// one before the header does not make the header's line any less the first.
template <class View> View firstNonBlankLineOf(const View text)
{
    qsizetype begin = 0;
    while (true) {
        qsizetype end = begin;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const View line = text.sliced(begin, end - begin);
        qsizetype i = begin == 0 ? byteOrderMarkLength(line) : 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i < line.size() || end >= text.size())
            return line;
        begin = end + 1;
    }
}
// Views only: the line returned lies in the caller's text.
QByteArrayView firstNonBlankLine(QByteArrayView text) { return firstNonBlankLineOf(text); }
QStringView firstNonBlankLine(QStringView text) { return firstNonBlankLineOf(text); }

// Where the cleaned lines come from in the user's file: identity unless BLOB data was left out.
// Each entry starts a run of lines: (index of the cleaned line, its number in the file).
struct LineMap {
    std::vector<std::pair<qsizetype, int>> runs;

    void clear() { runs.clear(); }
    int lineNumber(qsizetype index) const
    {
        auto it = std::upper_bound(runs.begin(), runs.end(), index,
                                   [](qsizetype i, const std::pair<qsizetype, int>& r) { return i < r.first; });
        if (it == runs.begin())
            return int(index + 1);
        --it;
        return int(it->second + (index - it->first));
    }
    void note(qsizetype index, int number)
    {
        if (lineNumber(index) != number)
            runs.emplace_back(index, number);
    }
};

// Cleans bytes in place: the cleaned text is never longer than the original but for the line end
// it may add after the last line, which is made room for first.
void cleanInPlace(QByteArray& bytes, LineMap* map, int* skipped)
{
    // A file whose first line ends in a CR alone ends its lines with CR (an LF right after a CR
    // belongs to that line end, a lone LF ends a line too); any other file ends them with LF and
    // loses every CR.
    const qsizetype firstLength = qMin<qsizetype>(bytes.size(), 3999);
    qsizetype firstEnd = 0;
    while (firstEnd < firstLength && bytes[firstEnd] != '\n' && bytes[firstEnd] != '\r')
        ++firstEnd;
    const bool crMode = firstEnd < firstLength && bytes[firstEnd] == '\r'
        && !(firstEnd + 1 < bytes.size() && bytes[firstEnd + 1] == '\n');

    const bool hadEnd = !bytes.isEmpty() && (bytes.back() == '\n' || (crMode && bytes.back() == '\r'));
    if (!bytes.isEmpty() && !hadEnd)
        bytes.append('\n');
    char* s = bytes.data();
    const qsizetype n = bytes.size();

    qsizetype r = 0, w = 0;
    qsizetype written = 0;
    int lineNo = 0;
    int dropped = 0;
    bool inBlob = false;
    while (r < n) {
        ++lineNo;
        const qsizetype lineStart = w;
        // Copy the line without its leading blanks (and without CRs unless they end lines).
        if (crMode) {
            bool leading = true;
            for (; r < n; ++r) {
                const char c = s[r];
                if (c == '\n' || c == '\r')
                    break;
                if (leading && (c == ' ' || c == '\t'))
                    continue;
                leading = false;
                s[w++] = c;
            }
        } else {
            // The common case, a run at a time: up to the line end, less any CR.
            while (r < n && (s[r] == ' ' || s[r] == '\t' || s[r] == '\r'))
                ++r;
            const char* lf = r < n ? static_cast<const char*>(std::memchr(s + r, '\n', size_t(n - r))) : nullptr;
            const qsizetype end = lf ? lf - s : n;
            while (r < end) {
                const char* cr = static_cast<const char*>(std::memchr(s + r, '\r', size_t(end - r)));
                const qsizetype stop = cr ? cr - s : end;
                if (w != r)
                    std::memmove(s + w, s + r, size_t(stop - r));
                w += stop - r;
                r = cr ? stop + 1 : stop;
            }
        }
        // Past the line end (CR LF is one).
        if (r < n && s[r] == '\r' && r + 1 < n && s[r + 1] == '\n')
            ++r;
        ++r;
        const QByteArrayView l(s + lineStart, w - lineStart);
        bool write;
        if (r >= n && !hadEnd && l.isEmpty()) {
            write = false;  // the blanks after the last line end are no line
            --lineNo;
        } else if (!l.isEmpty() && l.front() == '1' && l.startsWith("1 BLOB")) {  // the first byte spares the call
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
            s[w++] = '\n';
            if (map)
                map->note(written, lineNo);
            ++written;
        } else {
            w = lineStart;
            if (!(r >= n && !hadEnd && l.isEmpty()))
                ++dropped;
        }
    }
    bytes.truncate(w);
    if (skipped)
        *skipped = dropped;
}

} // namespace

struct GedcomFileReader::Private {
    GedcomReadObserver* observer = &gSilentObserver;
    QString tempFolder;
    const AnselTable* anselTable = nullptr;
    QString releaseTag;
    QStringList keptTags;

    unsigned encoding = Enc::Undetermined;
    unsigned decoder = Enc::Undetermined;  // what the cleaned bytes are decoded with
    GedcomHeaderInfo header;
    QByteArray source;  // the cleaned bytes, or
    QString text;       // the decoded text of a UTF-16 file
    LineMap lineMap;
    // The decoded lines, made only when the line accessors are used.
    bool cached = false;
    QString cacheText;
    std::vector<qsizetype> starts;
    std::vector<int> lengths;

    std::unique_ptr<GedcomForest> forest = std::make_unique<GedcomForest>();
    QStringList messages;
    qint64 fileSize = 0;
    int numLines = 0;
    int numGedRecs = 0;
    int blobRecordsIgnored = 0;
    int blobLinesCleaned = 0;
    QString cleanedCopyPath;
    std::unique_ptr<QTemporaryFile> cleanedCopy; // removed with the reader

    bool load(QByteArray bytes, const QString& path);
    QString decodeBytes(QByteArrayView bytes, bool atStart, QStringList* decodeMessages,
                        const std::vector<int>* lineNumbers) const;
    void writeCleanedCopy(const QByteArray& cleaned, const QString& path);
    void buildLineCache();
    void dropLines();
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

void GedcomFileReader::setReleasedEarly(const QString& recordTag, const QStringList& keptTags)
{
    d->releaseTag = recordTag;
    d->keptTags = keptTags;
}

bool GedcomFileReader::readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        d->observer->showMessage(QStringLiteral("Unable to open gedcom file:\n%1").arg(path));
        return false;
    }
    // Read into a buffer of the file's size: readAll() grows its buffer by doubling, which for a
    // large file costs up to twice its size for the time of the read.
    QByteArray bytes;
    const qint64 size = f.size();
    if (size > 0 && !f.isSequential()) {
        bytes.reserve(size + 1);  // room for the line end the cleaning may add
        bytes.resize(size);
        qint64 got = 0;
        while (got < size) {
            const qint64 n = f.read(bytes.data() + got, size - got);
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
        if (got == size)
            bytes += f.readAll();  // the file grew while it was read
    } else {
        bytes = f.readAll();
    }
    f.close();
    // The buffer is handed over: it is cleaned where it lies.
    if (!d->load(std::move(bytes), path))
        return false;
    createGedRecs();
    return true;
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
    QByteArray out = bytes.toByteArray();
    LineMap map;
    cleanInPlace(out, lineNumbers ? &map : nullptr, skipped);
    if (lineNumbers) {
        const qsizetype lines = out.count('\n');
        lineNumbers->reserve(lineNumbers->size() + size_t(lines));
        for (qsizetype i = 0; i < lines; ++i)
            lineNumbers->push_back(map.lineNumber(i));
    }
    return out;
}

void GedcomFileReader::Private::writeCleanedCopy(const QByteArray& cleaned, const QString& path)
{
    cleanedCopy.reset();
    cleanedCopyPath.clear();
    if (tempFolder.isEmpty() || path.isEmpty())
        return;
    QDir().mkpath(tempFolder);
    // A name of its own, made create-only: never the file being read (which may lie in this very folder) and
    // never another import's copy.
    const QFileInfo info(path);
    QString name = tempFolder + u'/' + info.completeBaseName() + QStringLiteral("-XXXXXX");
    if (!info.suffix().isEmpty())
        name += u'.' + info.suffix();
    auto copy = std::make_unique<QTemporaryFile>(name);
    if (!copy->open() || copy->write(cleaned) != cleaned.size() || !copy->flush()) {
        // The copy is for looking at while the import runs; the import goes on from memory.
        messages.append(QStringLiteral("Unable to open temporary file:\n%1")
                            .arg(copy->fileName().isEmpty() ? name : copy->fileName()));
        return;
    }
    copy->close();
    cleanedCopyPath = copy->fileName();
    cleanedCopy = std::move(copy);
}

// ---- decoding ----

QString GedcomFileReader::Private::decodeBytes(QByteArrayView bytes, bool atStart, QStringList* decodeMessages,
                                               const std::vector<int>* lineNumbers) const
{
    switch (decoder) {
    case Enc::ANSEL: {
        const AnselTable& table = anselTable ? *anselTable : AnselTable::shared();
        return table.decode(bytes, header.bGene, decodeMessages, lineNumbers);
    }
    case Enc::ASCII:
        return Enc::decodeAscii(bytes);
    case Enc::CP1252:
        return Enc::decodeCp1252(bytes);
    case Enc::MacRoman:
        return Enc::decodeMacRoman(bytes);
    default:
        return Enc::decodeUtf8(bytes, decodeMessages, lineNumbers, atStart);
    }
}

void GedcomFileReader::Private::buildLineCache()
{
    if (cached)
        return;
    cached = true;
    cacheText = source.isNull() ? text : decodeBytes(source, true, nullptr, nullptr);
    const char16_t* s = reinterpret_cast<const char16_t*>(cacheText.constData());
    const qsizetype n = cacheText.size();
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

void GedcomFileReader::Private::dropLines()
{
    source = QByteArray();
    text = QString();
    cached = false;
    cacheText = QString();
    starts = std::vector<qsizetype>();
    lengths = std::vector<int>();
}

bool GedcomFileReader::loadLinesArray(const QByteArray& bytes, const QString& path)
{
    return d->load(bytes, path);
}

bool GedcomFileReader::Private::load(QByteArray bytes, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    dropLines();
    lineMap.clear();
    messages.clear();
    cleanedCopyPath.clear();
    blobLinesCleaned = 0;
    fileSize = bytes.size();

    QStringList headerLines, alerts;
    encoding = getEncoding(bytes, &headerLines, &alerts);
    for (const QString& a : alerts)
        observer->showMessage(a);
    if (encoding == Enc::Undetermined) {
        observer->showMessage(QStringLiteral("Unable to determine the character encoding that was used to write "
                                             "the Gedcom file.\n\nWill assume it is UTF-8 and try to continue."));
        encoding = Enc::UTF8;
    }
    decoder = encoding;

    QStringView firstLine;
    QString firstLineText;
    if (isUtf16(encoding)) {
        // Decoded as a whole: the byte-level cleaning would cut its two-byte characters apart.
        text = Enc::decodeUtf16(bytes, encoding == Enc::UTF16BE, &messages);
        bytes = QByteArray();
        header = GedcomHeaderInfo::fromHeaderLines(headerLinesOfText(text));
        firstLine = firstNonBlankLine(text);
    } else {
        header = GedcomHeaderInfo::fromHeaderLines(headerLines);
        observer->setDialogMessage(QStringLiteral("Checking the Gedcom file format"));
        cleanInPlace(bytes, &lineMap, &blobLinesCleaned);
        writeCleanedCopy(bytes, path);
        FTLog(QStringLiteral("%1 msecs to read gedcom file and write temp file")
                  .arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 1));
        QString decoderName = Enc::encodingName(encoding);
        if (encoding == Enc::ASCII) {
            // The ASCII decoder refuses the whole text for one byte above 127.
            bool clean = true;
            for (char c : std::as_const(bytes))
                clean = clean && uchar(c) < 0x80;
            if (!clean) {
                observer->showMessage(
                    QStringLiteral("Unable to read the data in file: \n\n%1\n\nusing the %2 decoder.\n\n"
                                   "Will try a generic decoder with lossy conversion.\n\n")
                        .arg(path, decoderName));
                decoderName = QStringLiteral("Generic");
                decoder = Enc::CP1252;
            }
        }
        if (encoding == Enc::ANSEL) {
            observer->setDialogMessage(QStringLiteral("Converting ANSEL encoded strings"));
            const AnselTable& table = anselTable ? *anselTable : AnselTable::shared();
            if (table.isEmpty())
                messages.append(QStringLiteral("The ANSEL character table %1 could not be read: accented "
                                               "characters are shown as U+FFFD.")
                                    .arg(AnselTable::sharedTablePath()));
        }
        FTLog(QStringLiteral("Gedcom file was read using %1 decoder.").arg(decoderName));
        source = std::move(bytes);
        const QByteArrayView first = firstNonBlankLine(source);
        firstLineText = decodeBytes(first, first.data() == source.constData(), nullptr, nullptr);
        firstLine = firstLineText;
    }

    while (!firstLine.isEmpty() && (isBlank(firstLine.front()) || firstLine.front() == QChar(0xFEFF)))
        firstLine = firstLine.sliced(1);
    if (!firstLine.startsWith(QLatin1String("0 HEAD"))) {
        const bool empty = source.isNull() ? text.trimmed().isEmpty()
                                           : decodeBytes(source, true, nullptr, nullptr).trimmed().isEmpty();
        if (empty)
            observer->showMessage(QStringLiteral("Unable to determine the correct character encoding in the Gedcom file"));
        else
            observer->showMessage(QStringLiteral("Wrong format in the first line of the Gedcom file.\n\n "
                                                 "It should have been \"0 HEAD\""));
        dropLines();
        lineMap.clear();
        return false;
    }
    return true;
}

// ---- lines into records ----

namespace {

// Where the line that starts at s[i] ends: the first CR or LF from i, or n. Eight characters at a time
// where the processor can: this scan looks at every character of the file.
qsizetype lineEnd(const char16_t* s, qsizetype i, qsizetype n)
{
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i cr = _mm_set1_epi16(u'\r');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, lf), _mm_cmpeq_epi16(v, cr)));
        if (hits)
            return i + std::countr_zero(unsigned(hits)) / 2;
    }
#endif
    while (i < n && s[i] != u'\n' && s[i] != u'\r')
        ++i;
    return i;
}

// Hands out the lines of the cleaned bytes (decoded a block at a time) or of a decoded text, with
// their numbers in the user's file.
class LineCursor {
public:
    LineCursor(bool fromText, const QByteArray& source, const QString& text, const LineMap& map,
               std::function<QString(QByteArrayView, bool, QStringList*, const std::vector<int>*)> decode,
               QStringList* decodeMessages)
        : m_fromText(fromText)
        , m_source(source)
        , m_text(text)
        , m_map(map)
        , m_decode(std::move(decode))
        , m_decodeMessages(decodeMessages)
    {
        if (m_fromText) {
            m_block = QStringView(m_text);
            m_blockDone = true;  // the text is the one block
        }
    }

    bool next(QStringView* line, int* lineNo)
    {
        if (m_pos >= m_block.size() && !fill())
            return false;
        const char16_t* s = m_block.utf16();
        const qsizetype n = m_block.size();
        qsizetype i = lineEnd(s, m_pos, n);
        *line = m_block.sliced(m_pos, i - m_pos);
        if (i < n && s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n')
            ++i;
        m_pos = i + 1;
        *lineNo = m_map.lineNumber(m_index++);
        return true;
    }

    qint64 position() const { return m_fromText ? m_pos : m_sourcePos; }
    qint64 size() const { return m_fromText ? m_text.size() : m_source.size(); }

private:
    static constexpr qsizetype kBlockBytes = 64 * 1024;

    // Decodes the next block of whole lines.
    bool fill()
    {
        while (!m_blockDone && m_sourcePos < m_source.size()) {
            decodeBlock();
            if (!m_block.isEmpty())
                return true;
        }
        return false;
    }

    void decodeBlock()
    {
        qsizetype end = m_sourcePos + kBlockBytes;
        if (end >= m_source.size()) {
            end = m_source.size();
        } else {
            const qsizetype lf = m_source.indexOf('\n', end - 1);
            end = lf < 0 ? m_source.size() : lf + 1;
        }
        const QByteArrayView bytes = QByteArrayView(m_source).sliced(m_sourcePos, end - m_sourcePos);
        // The numbers of the block's lines in the user's file are only needed for a decoding
        // message, which few blocks have: the block is decoded again with them when it gives one.
        const qsizetype listed = m_decodeMessages ? m_decodeMessages->size() : 0;
        m_blockText = m_decode(bytes, m_sourcePos == 0, m_decodeMessages, nullptr);
        if (m_decodeMessages && m_decodeMessages->size() > listed) {
            m_decodeMessages->resize(listed);
            m_numbers.clear();
            const qsizetype lines = bytes.count('\n') + 1;
            for (qsizetype k = 0; k < lines; ++k)
                m_numbers.push_back(m_map.lineNumber(m_index + k));
            // The decoders stop adding to the list when it is full.
            m_blockText = m_decode(bytes, m_sourcePos == 0, m_decodeMessages, &m_numbers);
        }
        m_block = m_blockText;
        m_pos = 0;
        m_sourcePos = end;
    }

    bool m_fromText;
    const QByteArray& m_source;
    const QString& m_text;
    const LineMap& m_map;
    std::function<QString(QByteArrayView, bool, QStringList*, const std::vector<int>*)> m_decode;
    QStringList* m_decodeMessages;
    std::vector<int> m_numbers;
    QString m_blockText;
    QStringView m_block;
    bool m_blockDone = false;
    qsizetype m_pos = 0;        // in the block
    qsizetype m_sourcePos = 0;  // in the cleaned bytes
    qsizetype m_index = 0;      // of the next line
};

} // namespace

void GedcomFileReader::createGedRecs()
{
    QElapsedTimer timer;
    timer.start();
    d->forest = std::make_unique<GedcomForest>();
    d->blobRecordsIgnored = d->blobLinesCleaned;
    d->numLines = 0;
    d->numGedRecs = 0;
    // The accessors' copy of the lines is not needed for this, and would double the text.
    d->cached = false;
    d->cacheText = QString();
    d->starts = std::vector<qsizetype>();
    d->lengths = std::vector<int>();

    GedcomForest& forest = *d->forest;
    if (!d->releaseTag.isEmpty())
        forest.setReleasedEarly(d->releaseTag, d->keptTags);
    QStringList decodeMessages, parseMessages;
    int unlistedParse = 0;
    auto report = [&](QString message) {
        if (parseMessages.size() < kMaxListedMessages)
            parseMessages.append(std::move(message));
        else
            ++unlistedParse;
    };
    Private* p = d.get();
    LineCursor cursor(
        !d->text.isNull(), d->source, d->text, d->lineMap,
        [p](QByteArrayView bytes, bool atStart, QStringList* m, const std::vector<int>* numbers) {
            return p->decodeBytes(bytes, atStart, m, numbers);
        },
        &decodeMessages);

    std::vector<GedRec*> levels;  // the latest line at each level of the file
    // The sub-records of each of those lines so far: handed over when the line ends, so that each list
    // is made once at its size. Only grows: the lists keep their room for the next lines.
    std::vector<std::vector<GedRec*>> pending;
    // Lines from `level` down are finished: their sub-record lists can take their final size.
    auto closeFrom = [&](size_t level) {
        for (size_t k = level; k < levels.size(); ++k) {
            levels[k]->setSubRecords(forest.arenaOf(levels[k]), pending[k].data(), qsizetype(pending[k].size()));
            pending[k].clear();
        }
    };
    // Whatever stops the reading, every line made is in its owner's list, where the forest frees it.
    struct CloseAll {
        decltype(closeFrom)& close;
        bool done = false;
        ~CloseAll()
        {
            if (!done)
                close(0);
        }
    } closeAll{closeFrom};
    int previousLevel = 0;
    int blobLevel = -1;           // inside a BLOB: the BLOB line's level
    // Known tags are shared strings: a line's tag is BLOB when it is that very string.
    const QString* const blobTag = GedRec::knownTag(u"BLOB", nullptr);
    QStringView line;
    int lineNo = 0;

    // The count of lines read is shown at a rate a reader can follow: an observer may hand each
    // message to another thread, and a large file would send thousands a second.
    QElapsedTimer shown;
    while (cursor.next(&line, &lineNo)) {
        ++d->numLines;
        if (d->numLines % 1000 == 0) {
            if (!shown.isValid() || shown.elapsed() >= 50) {
                d->observer->setDialogMessage(QStringLiteral("Reading Gedcom Records: %1").arg(d->numLines));
                shown.start();
            }
            d->observer->setCurrentProgress(cursor.position(), cursor.size());
        }

        if (line.isEmpty()) {
            report(QStringLiteral("Empty line in Gedcom file at line %1 was ignored.").arg(lineNo));
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
            report(QStringLiteral("Record ignored because it is nested deeper than %1 levels in Gedcom "
                                  "file at line %2. The record was: %3")
                       .arg(kMaxLevel).arg(lineNo).arg(line));
            continue;
        }
        if (!hasNumber || level > previousLevel + 1 || (level > 0 && qsizetype(levels.size()) < level)) {
            if (line.trimmed().isEmpty())
                report(QStringLiteral("Empty line in Gedcom file at line %1 was ignored.").arg(lineNo));
            else
                report(QStringLiteral("Record ignored because of inconsistent levels in Gedcom file at "
                                      "line %1. The record was: %2")
                           .arg(lineNo).arg(line));
            continue;
        }

        GedRec* owner = level > 0 ? levels[level - 1] : nullptr;
        if (owner && &owner->type() == blobTag) {
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
            report(QStringLiteral("Bad record format at line %1. The record was: %2").arg(lineNo).arg(line));
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

        GedRec* rec = GedRec::createUnlisted(forest.arenaForLine(owner, tag), owner, ptr, tag, value);
        rec->setLineNo(lineNo);
        if (owner) {
            // The line above, but for a citation moved up to the note's owner: an open line all the same.
            size_t k = size_t(level) - 1;
            while (k > 0 && levels[k] != owner)
                --k;
            Q_ASSERT(levels[k] == owner);
            pending[k].push_back(rec);
        }
        closeFrom(size_t(level));
        levels.resize(size_t(level) + 1);
        levels[size_t(level)] = rec;
        if (pending.size() < levels.size())
            pending.resize(levels.size());
        previousLevel = int(level);
        ++d->numGedRecs;

        if (!owner) {
            GedRec* first = nullptr;
            forest.addRecord(rec, &first);
            if (first) {
                const QString id = rec->ptr();
                const QString what = id.isEmpty() ? QStringLiteral("%1 record").arg(rec->type())
                                                  : QStringLiteral("identifier @%1@").arg(id);
                report(QStringLiteral("Duplicate %1 at line %2, first used at line %3: both records were "
                                      "kept, the later one under the key \"%4\".")
                           .arg(what).arg(lineNo).arg(first->lineNo()).arg(forest.keyOf(rec)));
            }
            if (rec->type() == QLatin1String("TRLR")) {
                int unread = 0, after = 0;
                while (cursor.next(&line, &after))
                    if (line.trimmed().size() > 1)
                        ++unread;
                if (unread)
                    report(QStringLiteral("%1 lines after the trailer record at line %2 were not read.")
                               .arg(unread).arg(lineNo));
                break;
            }
        }
    }
    closeFrom(0);
    closeAll.done = true;
    d->observer->setCurrentProgress(cursor.size(), cursor.size());

    // Decoding messages come first, as they did when the text was decoded before the lines were read.
    if (unlistedParse)
        parseMessages.append(QStringLiteral("%1 more messages about lines of the file were not listed.").arg(unlistedParse));
    d->messages += decodeMessages;
    d->messages += parseMessages;
    d->source = QByteArray();
    d->text = QString();
    FTLog(QStringLiteral("%1 msecs to end of create GedRecs").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
}

// ---- results ----

unsigned GedcomFileReader::gedFileEncoding() const { return d->encoding; }
const GedcomHeaderInfo& GedcomFileReader::headerInfo() const { return d->header; }

qsizetype GedcomFileReader::lineCount() const
{
    d->buildLineCache();
    return qsizetype(d->starts.size());
}

QStringView GedcomFileReader::lineView(qsizetype index) const
{
    d->buildLineCache();
    if (index < 0 || index >= qsizetype(d->starts.size()))
        return QStringView();
    return QStringView(d->cacheText).sliced(d->starts[size_t(index)], d->lengths[size_t(index)]);
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
    return d->lineMap.lineNumber(index);
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
