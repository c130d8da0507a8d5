#include "sources/SourceNotesLabels.h"

#include "platform/UserDefaults.h"

#include <algorithm>

namespace {
const QString kLabelsDefault = QStringLiteral("sourceNotesLabels");

void replaceUntilGone(QString& text, const QString& from, const QString& to)
{
    while (text.contains(from))
        text.replace(from, to);
}
}

QStringList SourceNotesLabels::labelSets()
{
    return UserDefaults::standard().stringListForKey(kLabelsDefault);
}

QString SourceNotesLabels::normalisedLabel(const QString& typed)
{
    QString label = typed.trimmed();
    if (label.isEmpty())
        return QString();
    label += QLatin1Char(':');
    label.remove(QLatin1Char(','));
    label.replace(QLatin1Char(';'), QLatin1Char(':'));
    replaceUntilGone(label, QStringLiteral(" :"), QStringLiteral(":"));
    replaceUntilGone(label, QStringLiteral(": "), QStringLiteral(":"));
    replaceUntilGone(label, QStringLiteral("::"), QStringLiteral(":"));
    label.replace(QLatin1Char(':'), QStringLiteral(": "));
    return label;
}

QStringList SourceNotesLabels::normalisedLabelSets(const QList<SourceLabel>& rows)
{
    QStringList sets;
    for (const SourceLabel& row : rows)
        if (const QString label = normalisedLabel(row.label()); !label.isEmpty())
            sets << label;
    std::stable_sort(sets.begin(), sets.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return sets;
}

void SourceNotesLabels::saveLabels(const QList<SourceLabel>& rows)
{
    UserDefaults::standard().setObject(kLabelsDefault, normalisedLabelSets(rows));
}

QString SourceNotesLabels::textToInsert(const QString& labelSet)
{
    QString text = labelSet;
    text.replace(QStringLiteral(": "), QStringLiteral(": \n"));
    return text;
}
