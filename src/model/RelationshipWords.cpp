#include "model/RelationshipWords.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace RelationshipWords {

QString typeWord(int pcRelType)
{
    switch (pcRelType) {
    case FTPcRel::kFoster:
        return LocalizedString("Foster");
    case FTPcRel::kAdopted:
        return LocalizedString("Adopted");
    case FTPcRel::kStep:
        return LocalizedString("Step");
    default:
        return QString(QLatin1String(""));
    }
}

QString withTypeWord(int pcRelType, const QString& word)
{
    const QString type = typeWord(pcRelType);
    return type.isEmpty() ? word : type + QLatin1Char(' ') + word;
}

QString byGender(const FTPerson* person, const QString& male, const QString& female, const QString& neither)
{
    if (person && person->isMale())
        return male;
    if (person && person->isFemale())
        return female;
    return neither;
}

}
