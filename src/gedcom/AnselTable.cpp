#include "gedcom/AnselTable.h"

#include "gedcom/GedcomTextDecoder.h"
#include "platform/AppPaths.h"

#include <QFile>
#include <QList>

#include <mutex>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// Marks kept on one letter. Real text has a few; composing a letter costs the square of its marks,
// so a line of nothing but marks must not become one letter with millions of them.
constexpr qsizetype kMaxMarks = 30;

bool isCombining(uchar b)
{
    return b > 0xDF;
}

void appendCodePoint(QString& s, int cp)
{
    if (cp <= 0)
        return;
    if (cp >= 0x10000) {
        s += QChar(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
        s += QChar(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
        s += QChar(char16_t(cp));
    }
}

} // namespace

AnselTable::AnselTable()
{
    m_single.fill(-1);
    for (int b = 1; b < 0x80; ++b)
        m_single[b] = b;
}

AnselTable AnselTable::parse(const QByteArray& text)
{
    AnselTable table;
    for (QByteArray line : text.split('\n')) {
        const qsizetype hash = line.indexOf('#');
        if (hash >= 0)
            line.truncate(hash);
        const QList<QByteArray> fields = line.trimmed().split('=');
        if (fields.size() != 2)
            continue;
        bool ok = false;
        const uint cp = fields[1].trimmed().toUInt(&ok, 16);
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            continue;
        QByteArray key;
        bool keyOk = true;
        for (const QByteArray& part : fields[0].trimmed().split('+')) {
            bool partOk = false;
            const uint b = part.toUInt(&partOk, 16);
            if (!partOk || b > 0xFF) {
                keyOk = false;
                break;
            }
            key.append(char(b));
        }
        if (!keyOk || key.isEmpty())
            continue;
        if (key.size() == 1) {
            if (uchar(key[0]) < 0x80)
                continue;  // the ASCII half is fixed
            table.m_single[uchar(key[0])] = int(cp);
        } else {
            table.m_sequences.insert(key, int(cp));
        }
        ++table.m_count;
    }
    return table;
}

AnselTable AnselTable::load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return AnselTable();
    return parse(f.readAll());
}

QString AnselTable::sharedTablePath()
{
    return AppPaths::sharedSupportDirectory() + QStringLiteral("/ans2uni.con");
}

const AnselTable& AnselTable::shared()
{
    static AnselTable table;
    static std::once_flag once;
    std::call_once(once, [] { table = load(sharedTablePath()); });
    return table;
}

QString AnselTable::decode(QByteArrayView bytes, bool geneQuirk, QStringList* messages,
                          const std::vector<int>* lineNumbers) const
{
    const uchar* s = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    int line = 1;

    auto byteAt = [&](qsizetype i) -> uchar {
        uchar b = s[i];
        if (geneQuirk) {
            if (b == 0xC5)
                b = 0xB2;
            else if (b == 0xB2)
                b = 0xB5;
        }
        return b;
    };
    auto unknown = [&](QByteArrayView seq) {
        if (!GedcomTextDecoder::roomForMessage(messages))
            return;
        QString hex;
        for (qsizetype k = 0; k < seq.size(); ++k)
            hex += (k ? QStringLiteral("+") : QString()) + QString::number(uchar(seq[k]), 16).toUpper();
        const int shown = lineNumbers && line <= int(lineNumbers->size()) ? (*lineNumbers)[line - 1] : line;
        messages->append(QStringLiteral("ANSEL character %1 in line %2 is unknown and was read as U+FFFD.")
                             .arg(hex)
                             .arg(shown));
    };

    QByteArray seq;
    qsizetype i = 0;
    while (i < n) {
        const uchar b = byteAt(i);
        if (b < 0x80) {
            if (b == 0) {
                text += QChar(kReplacement);
                unknown(QByteArrayView("\0", 1));
            } else {
                if (b == '\n')
                    ++line;
                text += QChar(char16_t(b));
            }
            ++i;
            continue;
        }
        // A combining mark takes the bytes after it until the letter it sits on.
        seq.clear();
        seq.append(char(b));
        ++i;
        qsizetype extraMarks = 0;
        while (isCombining(uchar(seq.back())) && i < n) {
            const uchar next = byteAt(i++);
            if (isCombining(next) && seq.size() >= kMaxMarks) {
                ++extraMarks;
                continue;
            }
            seq.append(char(next));
        }
        if (extraMarks && GedcomTextDecoder::roomForMessage(messages)) {
            const int shown = lineNumbers && line <= int(lineNumbers->size()) ? (*lineNumbers)[line - 1] : line;
            messages->append(QStringLiteral("ANSEL text in line %1 puts %2 combining marks on one letter: only the "
                                            "first %3 were kept.")
                                 .arg(shown)
                                 .arg(kMaxMarks + extraMarks)
                                 .arg(kMaxMarks));
        }

        if (seq.size() == 1) {
            const int cp = m_single[b];
            if (cp < 0) {
                text += QChar(kReplacement);
                unknown(seq);
            } else if (!isCombining(b)) {
                appendCodePoint(text, cp);
            }
            // A mark at the very end of the data has no letter to sit on: it is dropped.
            continue;
        }
        const auto whole = m_sequences.constFind(seq);
        if (whole != m_sequences.constEnd()) {
            appendCodePoint(text, *whole);
            continue;
        }
        const uchar base = uchar(seq.back());
        const QByteArrayView marks = QByteArrayView(seq).first(seq.size() - 1);
        if (isCombining(base))
            continue;  // only marks up to the end of the data
        if (base < 0x20) {
            // A mark before a line end has no letter either: the line end stays, the mark goes.
            if (base == 0) {
                text += QChar(kReplacement);
                unknown(QByteArrayView(seq).last(1));
            } else {
                if (base == '\n')
                    ++line;
                text += QChar(char16_t(base));
            }
            continue;
        }
        QString cluster;
        const int baseCp = m_single[base];
        if (baseCp < 0) {
            cluster += QChar(kReplacement);
            unknown(QByteArrayView(seq).last(1));
        } else {
            appendCodePoint(cluster, baseCp);
        }
        for (qsizetype k = 0; k < marks.size(); ++k) {
            const int markCp = m_single[uchar(marks[k])];
            if (markCp < 0) {
                cluster += QChar(kReplacement);
                unknown(marks.sliced(k, 1));
            } else {
                appendCodePoint(cluster, markCp);
            }
        }
        text += cluster.normalized(QString::NormalizationForm_C);
    }
    return text;
}
