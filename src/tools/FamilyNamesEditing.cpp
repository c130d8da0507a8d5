#include "tools/FamilyNamesEditing.h"

#include "tools/UndoPass.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelProgress.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QSet>

#include <algorithm>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

bool textBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// "uppercaseFamilyName" off while names are written, put back whatever way the run ends.
class UppercaseOff {
public:
    UppercaseOff()
        : m_saved(UserDefaults::standard().boolForKey(kKey))
    {
        UserDefaults::standard().setBool(kKey, false);
    }
    ~UppercaseOff() { UserDefaults::standard().setBool(kKey, m_saved); }
    UppercaseOff(const UppercaseOff&) = delete;
    UppercaseOff& operator=(const UppercaseOff&) = delete;

private:
    static inline const QString kKey = QStringLiteral("uppercaseFamilyName");
    bool m_saved;
};

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool onlyLettersAndDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}
}

FamilyNamesEditing::FamilyNamesEditing(FTMoc* moc)
    : m_moc(moc)
{
}

QString FamilyNamesEditing::capitalised(const QString& word)
{
    if (word.isEmpty())
        return word;
    return word.left(1).toUpper() + word.mid(1).toLower();
}

QStringList FamilyNamesEditing::familyNames() const
{
    if (!m_moc)
        return {};
    QSet<QString> distinct;
    ReleasingWalk walk(*m_moc);
    m_moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&distinct, &walk](ManagedObject* o) {
        walk.releasePoint();
        const QString family = static_cast<FTPerson*>(o)->familyName();
        if (!family.isEmpty() && !family.contains(QLatin1Char(' ')))
            distinct.insert(family);
        return true;
    });
    QStringList names(distinct.begin(), distinct.end());
    std::sort(names.begin(), names.end(), textBefore);
    return names;
}

QStringList FamilyNamesEditing::filtered(const QStringList& names, const QString& text)
{
    if (text.isEmpty())
        return names;
    const QString part = TextMatch::fold(text);
    QStringList out;
    for (const QString& name : names)
        if (TextMatch::fold(name).contains(part))
            out << name;
    return out;
}

QList<FTPerson*> FamilyNamesEditing::peopleWithFamilyName(const QString& familyName) const
{
    if (!m_moc)
        return {};
    QList<FTPerson*> people;
    if (familyName.isEmpty()) {
        people = m_moc->fetch<FTPerson>();
    } else {
        const QString ending = TextMatch::fold(QLatin1Char(' ') + familyName);
        ReleasingWalk walk(*m_moc);
        people = m_moc->fetch<FTPerson>([&ending, &walk](const FTPerson* p) {
            walk.releasePoint();
            const QString name = p->name();
            // Most names are plain ASCII: compared in place, without the folded copy (a quarter of the time).
            if (isAscii(name))
                return QStringView(name).endsWith(ending, Qt::CaseInsensitive);
            return TextMatch::fold(name).endsWith(ending);
        });
    }
    std::stable_sort(people.begin(), people.end(),
        [](const FTPerson* a, const FTPerson* b) { return textBefore(a->name(), b->name()); });
    return people;
}

int FamilyNamesEditing::changeFamilyNamesFrom(
    const QString& oldName, const QString& newNameTyped, const QList<FTPerson*>& people)
{
    const QString newName = newNameTyped.trimmed();
    if (!m_moc || oldName.isEmpty() || newName.isEmpty() || oldName == newName)
        return 0;
    if (newName.contains(QLatin1Char(' '))) {
        DisplayMsg(L("SpaceNames"));
        return 0;
    }
    int changed = 0;
    {
        UppercaseOff uppercaseOff;
        UndoPass pass(m_moc, QStringLiteral("%1: %2 -> %3").arg(L("RenameFamilyName"), oldName, newName));
        for (FTPerson* person : people) {
            const QString name = person->name();
            if (!name.endsWith(oldName, Qt::CaseSensitive))
                continue;
            const QString renamed = name.left(name.size() - oldName.size()) + newName;
            const QString question = QStringLiteral("%1\n\n%2\n\n%3\n\n%4\n")
                                         .arg(L("Change"), name, L("ConjunctiveTo"), renamed);
            if (Prompts::current().choose(question, {}, {L("Yes"), L("No")}) != 0)
                continue;
            person->setName(renamed);
            ++changed;
        }
    }
    if (changed > 0)
        m_moc->saveMoc();
    return changed;
}

int FamilyNamesEditing::convertAllFamilyNamesUsingMode(int mode, ModelProgress* progress)
{
    if (!m_moc || (mode != Capitalised && mode != Uppercase))
        return 0;
    const QString question = mode == Capitalised ? L("Decapitalize") : L("Capitalize");
    if (Prompts::current().choose(question, {}, {L("Continue"), L("Cancel")}) != 0)
        return -1;
    int changed = 0;
    QSet<QString> ignored;
    {
        UppercaseOff uppercaseOff;
        UndoPass pass(m_moc, mode == Capitalised ? L("CapitaliseFamilyNames") : L("UppercaseFamilyNames"));
        ReleasingWalk walk(*m_moc);
        const QList<FTPerson*> people = m_moc->fetch<FTPerson>();
        ModelProgress::Steps steps(progress, people.size(), 5);
        if (progress)
            progress->setPercent(0);
        for (qsizetype i = 0; i < people.size(); ++i) {
            steps.at(i);
            walk.releasePoint();
            FTPerson* person = people[i];
            const QString family = person->familyName();
            if (!onlyLettersAndDigits(family)) {
                ignored.insert(family);
                continue;
            }
            const QString converted = mode == Capitalised ? capitalised(family) : family.toUpper();
            const QString name = person->name();
            if (converted.isEmpty() || name == family || !name.endsWith(family, Qt::CaseInsensitive))
                continue;
            if (name.endsWith(converted, Qt::CaseSensitive))
                continue;
            person->setName(name.left(name.size() - family.size()) + converted);
            ++changed;
        }
    }
    if (changed > 0)
        m_moc->saveMoc();
    if (progress)
        progress->setPercent(0);
    DisplayMsg(QStringLiteral("%1 %2").arg(changed).arg(L("NumNamesChanged")));
    if (!ignored.isEmpty()) {
        QStringList list(ignored.begin(), ignored.end());
        std::sort(list.begin(), list.end(), textBefore);
        QString info;
        for (const QString& name : std::as_const(list))
            info += QStringLiteral("  %1\n").arg(name);
        Utils::showMe(QStringLiteral("\n%1").arg(L("NamesIgnored")), info);
    }
    return changed;
}
