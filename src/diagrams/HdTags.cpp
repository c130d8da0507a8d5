#include "diagrams/HdTags.h"

#include "platform/Localizer.h"

HdTags::HdTags()
{
    static const char* const keys[TagCount] = { "", "Name", "Refer", "Father", "Mother", "Consanguinity", "Title",
        "IdNo", "Birth", "Spouse", "Death", "Notes", "Siblings", "SiblingsList", "SpousesAncestorsList", "Picture",
        nullptr };
    for (int t = Name; t < TagCount; ++t) {
        if (t == IdNo)
            m_words[t] = QStringLiteral("IdNo");
        else if (t == SpousePicture)
            m_words[t] = m_words[Spouse] + m_words[Picture];
        else
            m_words[t] = LocalizedString(QString::fromLatin1(keys[t]));
        // The first tag keeps a word that two share; the strings table's tests keep them apart.
        if (!m_tags.contains(m_words[t]))
            m_tags.insert(m_words[t], Tag(t));
    }
}

QString HdTags::text(const QString& line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    return colon < 0 ? line : line.mid(colon + 1);
}
