#include "shell/FieldValidation.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QStringList>

namespace {
void collapseBlanks(QString& s)
{
    while (s.contains(QStringLiteral("  ")))
        s.replace(QStringLiteral("  "), QStringLiteral(" "));
}

FieldValidation accept(const QString& text) { return {true, text, {}, {}}; }
FieldValidation refuse(const QString& text, const QString& message, const QString& info = {})
{
    return {false, text, message, info};
}
}

bool FieldValidation::report() const
{
    if (!message.isEmpty())
        Prompts::current().message(message, info);
    return accepted;
}

FieldValidation ValidateNameField(const QString& typed)
{
    QString s = typed;
    for (QChar c : {QChar('/'), QChar('\\'), QChar('\n'), QChar('\r')})
        s.replace(c, QChar(' '));
    s.remove('\t');
    collapseBlanks(s);
    s = s.trimmed();
    if (UserDefaults::standard().boolForKey(QStringLiteral("uppercaseFamilyName")))
        s = Utils::uppercaseFamilyName(s);
    if (s.isEmpty())
        return refuse(typed, QStringLiteral("Name field may not be blank"),
                      QStringLiteral("To Delete a Person - Right Click on a person in the Context Diagram and then "
                                     "select Delete Person from the pop-up menu.\n\nUse Edit Undo (Ctrl+Z) to undo the "
                                     "changes to the person's name"));
    return accept(s);
}

FieldValidation ValidateNameFieldForChild(const QString& typed, const QString& parentFamilyName)
{
    QString s = typed;
    collapseBlanks(s);
    s = s.trimmed();
    // A blank name stays blank: the family name alone would make a nameless child look named.
    if (s.isEmpty())
        return refuse(typed, QStringLiteral("Name field may not be blank"));
    const QString family = parentFamilyName.trimmed();
    if (UserDefaults::standard().boolForKey(QStringLiteral("autoAddFamilyName")) && !family.isEmpty()) {
        const QStringList words = s.split(' ');
        if (words.size() == 1)
            s = QStringLiteral("%1 %2").arg(s, family);
        else if (!words.last().isEmpty() && words.last().compare(family, Qt::CaseInsensitive) != 0)
            s = QStringLiteral("%1 %2").arg(s, family);
    }
    if (UserDefaults::standard().boolForKey(QStringLiteral("uppercaseFamilyName")))
        s = Utils::uppercaseFamilyName(s);
    return accept(s);
}

FieldValidation ValidateGenderText(const QString& typed, const QString& currentGender)
{
    const QString male = LocalizedString("MaleShort");
    const QString female = LocalizedString("FemaleShort");
    const QString first = typed.trimmed().toUpper().left(1);
    if (first.isEmpty() || (first != male.toUpper() && first != female.toUpper()))
        return refuse(currentGender, LocalizedString("GenderQualification"));
    return accept(first == male.toUpper() ? male : female);
}

int SingleLineEntryFieldLimit(const QString& kind)
{
    static const std::pair<const char*, int> kLimits[] = {
        {"Place", 120},          {"Title/Occupation", 120}, {"CauseOfDeath", 90}, {"EventName", 90},
        {"AncestralFileNo", 12}, {"UserReferenceNo", 20},   {"PageRef", 248},     {"SourceRefTopic", 248},
    };
    for (const auto& [name, limit] : kLimits)
        if (kind.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return limit;
    return 248;
}

FieldValidation ValidateSingleLineEntryField(const QString& typed, const QString& kind)
{
    const int limit = SingleLineEntryFieldLimit(kind);
    QString s = typed.trimmed();
    if (s.isEmpty())
        return accept(s);
    const qsizetype lineEnds = s.count('\n') + s.count('\r');
    s.replace('\n', ' ').replace('\r', ' ').replace('\t', ' ');
    collapseBlanks(s);
    bool cut = false;
    if (s.size() > limit) {
        qsizetype keep = limit;
        // Never keep half of a character written as two UTF-16 units.
        if (s[keep - 1].isHighSurrogate())
            --keep;
        s.truncate(keep);
        cut = true;
    }
    if (lineEnds == 0 && !cut)
        return accept(s);
    const QString tail =
        cut ? QStringLiteral("\nThe field has been truncated to be %1 characters long.").arg(limit) : QString();
    return refuse(s, QStringLiteral("A %1 must be single line of text with a maximum of %2 characters.\n%3")
                         .arg(kind, QString::number(limit), tail));
}

FieldValidation ValidatePlaceField(const QString& typed) { return ValidateSingleLineEntryField(typed, QStringLiteral("Place")); }
