#include "sources/SourceTypeAssignment.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QSet>

#include <algorithm>

namespace {
constexpr int kShortName = 4;

// Blanks only: a type never keeps the blank that made a short name match as a word, but keeps its line ends.
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}
}

QStringList SourceTypeAssignment::getSourceTypeNames(const FTMoc* moc)
{
    QSet<QString> names;
    for (const QString& type : moc->sourceTypes())
        names.insert(type);
    for (int i = 1; i <= 102; ++i) {
        const QString key = QStringLiteral("SrcsAutoType%1").arg(i);
        if (i != 101)
            names.insert(LocalizedHelpString(key));
    }
    names.remove(LocalizedHelpString(QStringLiteral("SrcsAutoType103")));
    names.remove(LocalizedHelpString(QStringLiteral("SrcsAutoType104")));
    names.remove(QString());
    QStringList ordered(names.begin(), names.end());
    std::sort(ordered.begin(), ordered.end(),
        [](const QString& a, const QString& b) { return a.size() != b.size() ? a.size() > b.size() : a < b; });
    return ordered;
}

bool SourceTypeAssignment::setSourceTypeFor(FTSource* source, const QStringList& types)
{
    QStringList fields;
    for (const QString& value : { source->abbreviatedTitle(), source->title(), source->author(), source->publisher(),
             source->location(), source->notes() })
        if (!value.isEmpty())
            fields << (value + QLatin1Char(' ')).toCaseFolded();
    for (const QString& type : types) {
        QString name = type;
        if (name.size() <= kShortName)
            name += QLatin1Char(' ');
        QString plural;
        if (name.endsWith(QLatin1Char('y')) && !name.endsWith(QLatin1String("ey")))
            plural = (name.chopped(1) + QStringLiteral("ies")).toCaseFolded();
        const QString folded = name.toCaseFolded();
        for (const QString& field : fields) {
            if (field.contains(folded) || (!plural.isEmpty() && field.contains(plural))) {
                source->setType(trimBlanks(name));
                return true;
            }
        }
    }
    return false;
}

std::optional<int> SourceTypeAssignment::autoPopulateSourceTypes(FTMoc* moc)
{
    if (Prompts::current().chooseWithTitle(Prompts::kAlertTitle,
            LocalizedHelpString(QStringLiteral("helpForSourcesAutoPopulateMsg")),
            LocalizedHelpString(QStringLiteral("helpForSourcesAutoPopulateInfo")),
            { LocalizedString(QStringLiteral("Proceed")), LocalizedString(QStringLiteral("Cancel")) })
        != 0)
        return std::nullopt;
    const QStringList names = getSourceTypeNames(moc);
    int count = 0;
    ReleasingWalk walk(*moc);
    for (FTSource* source : moc->fetch<FTSource>()) {
        walk.releasePoint();
        if (source->type().trimmed().isEmpty() && setSourceTypeFor(source, names))
            ++count;
    }
    DisplayMsg(QStringLiteral("%1 %2").arg(count).arg(LocalizedString(QStringLiteral("SrcRecTypeUpdated"))));
    return count;
}

void SourceTypeAssignment::correctSourceTypesWithTrailingSpaces(FTMoc* moc)
{
    for (FTSource* source :
        moc->fetch<FTSource>([](const FTSource* s) { return s->type().endsWith(QLatin1Char(' ')); }))
        source->setType(source->type().trimmed());
}
