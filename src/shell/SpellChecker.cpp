#include "shell/SpellChecker.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

namespace {
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.category() == QChar::Mark_NonSpacing; }
bool isApostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }
}

SpellChecker& SpellChecker::shared()
{
    static SpellChecker* checker = [] {
        QString name = QLocale::system().name(); // "en_US", or "C"
        if (name == QLatin1String("C") || name == QLatin1String("POSIX") || name.isEmpty())
            name = QStringLiteral("en_US");
        auto* full = new SpellChecker(name);
        if (full->isAvailable() || !name.contains(QLatin1Char('_')))
            return full;
        auto* language = new SpellChecker(name.section(QLatin1Char('_'), 0, 0));
        if (language->isAvailable()) {
            delete full;
            return language;
        }
        delete language;
        return full;
    }();
    return *checker;
}

QStringList SpellChecker::dictionaryDirectories()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
            QStringLiteral("/usr/share/myspell")};
}

SpellChecker::SpellChecker(const QString& language, const QStringList& directories)
    : m_language(language)
{
    for (const QString& dir : directories.isEmpty() ? dictionaryDirectories() : directories) {
        const QString aff = dir + QLatin1Char('/') + language + QStringLiteral(".aff");
        const QString dic = dir + QLatin1Char('/') + language + QStringLiteral(".dic");
        if (!QFileInfo(aff).isFile() || !QFileInfo(dic).isFile())
            continue;
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
        const QString encoding = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper();
        m_utf8 = encoding.isEmpty() || encoding == QLatin1String("UTF-8");
        break;
    }
}

SpellChecker::~SpellChecker() = default;

QByteArray SpellChecker::encode(const QString& word) const
{
    // Dictionaries in a one-byte set are nearly all Latin-1 (ISO8859-1, -15); a character outside it cannot be in
    // such a dictionary, and the '?' it becomes marks the word as misspelled.
    return m_utf8 ? word.toUtf8() : word.toLatin1();
}

QString SpellChecker::decode(const std::string& word) const
{
    return m_utf8 ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool SpellChecker::isCorrect(const QString& word) const
{
    if (!m_hunspell || word.isEmpty())
        return true;
    return m_hunspell->spell(encode(word).toStdString());
}

QStringList SpellChecker::suggestions(const QString& word) const
{
    QStringList result;
    if (!m_hunspell || word.isEmpty())
        return result;
    for (const std::string& s : m_hunspell->suggest(encode(word).toStdString()))
        result << decode(s);
    return result;
}

QList<SpellChecker::Range> SpellChecker::words(const QString& text)
{
    QList<Range> result;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const int start = i;
        bool digit = false;
        while (i < n) {
            if (isWordChar(text[i])) {
                digit = digit || text[i].isDigit();
                ++i;
            } else if (isApostrophe(text[i]) && i + 1 < n && text[i + 1].isLetter()) {
                ++i; // "don't", "O'Brien"
            } else {
                break;
            }
        }
        if (!digit)
            result.append({start, i - start});
    }
    return result;
}

QList<SpellChecker::Range> SpellChecker::misspelled(const QString& text) const
{
    QList<Range> result;
    if (!m_hunspell)
        return result;
    for (const Range& r : words(text))
        if (!isCorrect(text.mid(r.start, r.length)))
            result.append(r);
    return result;
}
