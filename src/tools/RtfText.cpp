#include "tools/RtfText.h"

#include "shell/RtfWriter.h"

#include "model/FTPerson.h"

#include <QStringList>

#include <algorithm>

QString rtfUserText(const QString& text)
{
    QStringList out;
    for (const QString& piece : text.split(QLatin1Char('{'))) {
        QStringList inner;
        for (const QString& part : piece.split(QLatin1Char('}')))
            inner << RtfWriter::rtfText(part, true);
        out << inner.join(QStringLiteral("\\}"));
    }
    return out.join(QStringLiteral("\\{"));
}

void sortByNameWithYears(QList<FTPerson*>& people)
{
    // The text is built once a person, not once a comparison.
    QList<std::pair<QString, FTPerson*>> keyed;
    keyed.reserve(people.size());
    for (FTPerson* p : people)
        keyed.push_back({p->nameWithBirthAndDeathYears(), p});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        const int c = a.first.compare(b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first;
    });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        people[i] = keyed[i].second;
}
