#include "tools/RtfText.h"

#include "shell/RtfWriter.h"

#include "model/FTPerson.h"

#include <QStringList>

#include <algorithm>
#include <vector>

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

QStringList sortByNameWithYears(QList<FTPerson*>& people)
{
    // The text and its case-folded form are made once a person, not once a comparison: comparing folded texts
    // exactly is the case-blind comparison without folding each character again at every step of the sort.
    struct Keyed {
        QString folded;
        QString text;
        FTPerson* person;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(people.size()));
    for (FTPerson* p : people) {
        QString text = p->nameWithBirthAndDeathYears();
        QString folded = text.toCaseFolded();
        keyed.push_back({std::move(folded), std::move(text), p});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int c = QString::compare(a.folded, b.folded, Qt::CaseSensitive);
        return c != 0 ? c < 0 : a.text < b.text;
    });
    QStringList texts;
    texts.reserve(people.size());
    for (size_t i = 0; i < keyed.size(); ++i) {
        people[qsizetype(i)] = keyed[i].person;
        texts << std::move(keyed[i].text);
    }
    return texts;
}
