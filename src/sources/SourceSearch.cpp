#include "sources/SourceSearch.h"

#include "model/FTSource.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/store/TextMatch.h"

namespace {
const QString kOptionDefault = QStringLiteral("sourceSearchMenuOption");

QString rawField(const FTSource* source, SourceSearch::Option field)
{
    switch (field) {
    case SourceSearch::Number:
        return QString::number(source->numericId());
    case SourceSearch::Type:
        return source->type();
    case SourceSearch::Title:
        return source->title();
    case SourceSearch::ShortTitle:
        return source->abbreviatedTitle();
    case SourceSearch::Author:
        return source->author();
    case SourceSearch::Publisher:
        return source->publisher();
    case SourceSearch::Date:
        return source->date();
    case SourceSearch::Location:
        return source->location();
    case SourceSearch::Notes:
        return source->notes();
    default:
        return QString();
    }
}
}

const QStringList& SourceSearch::optionKeys()
{
    static const QStringList keys { QStringLiteral("SourceSearchAny"), QStringLiteral("SourceSearchNum"),
        QStringLiteral("SourceSearchType"), QStringLiteral("SourceSearchTitle"), QStringLiteral("SourceSearchShTit"),
        QStringLiteral("SourceSearchAuth"), QStringLiteral("SourceSearchPubl"), QStringLiteral("SourceSearchDate"),
        QStringLiteral("SourceSearchLocn"), QStringLiteral("SourceSearchNotes") };
    return keys;
}

QStringList SourceSearch::optionTitles()
{
    QStringList titles;
    for (const QString& key : optionKeys())
        titles << LocalizedString(key);
    return titles;
}

QString SourceSearch::optionTitle(Option option)
{
    return option >= Any && option < None ? LocalizedString(optionKeys().at(option)) : QString();
}

SourceSearch::Option SourceSearch::optionForTitle(const QString& title)
{
    const QStringList titles = optionTitles();
    const qsizetype i = titles.indexOf(title);
    return i < 0 ? None : Option(i);
}

QString SourceSearch::storedOptionTitle()
{
    UserDefaults& defaults = UserDefaults::standard();
    if (!defaults.contains(kOptionDefault))
        defaults.setString(kOptionDefault, optionTitle(Any));
    return defaults.stringForKey(kOptionDefault);
}

void SourceSearch::storeOptionTitle(const QString& title)
{
    UserDefaults::standard().setString(kOptionDefault, title);
}

QString SourceSearch::placeholder(const QString& optionTitle)
{
    return QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("FindIn")), optionTitle);
}

const QString& SourceSearch::foldedField(const FTSource* source, Option field)
{
    Entry& e = m_cache[source];
    const QString raw = rawField(source, field);
    // A value equal to the one folded last needs no new fold; comparing is far cheaper than folding.
    if (!e.known[field] || raw != e.raw[field]) {
        e.folded[field] = field == Number ? raw : TextMatch::fold(raw);
        e.raw[field] = raw;
        e.known[field] = true;
    }
    return e.folded[field];
}

bool SourceSearch::matchesFolded(const FTSource* source, Option option, const QString& foldedText)
{
    if (foldedText.isEmpty() || option == None || !source)
        return true;
    switch (option) {
    case Any:
        for (int f = Number; f <= Notes; ++f)
            if (matchesFolded(source, Option(f), foldedText))
                return true;
        return false;
    case Number:
        return foldedField(source, Number).startsWith(foldedText);
    default:
        return foldedField(source, option).contains(foldedText);
    }
}

bool SourceSearch::matches(const FTSource* source, Option option, const QString& text)
{
    return matchesFolded(source, option, TextMatch::fold(text));
}

QList<FTSource*> SourceSearch::filter(const QList<FTSource*>& sources, Option option, const QString& text)
{
    if (text.isEmpty() || option == None)
        return sources;
    const QString folded = TextMatch::fold(text);
    QList<FTSource*> out;
    for (FTSource* s : sources)
        if (matchesFolded(s, option, folded))
            out << s;
    return out;
}
