#include "editor/FamilyCouple.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString notesOf(const FTEvent* event)
{
    return event && !event->isDeleted() ? event->notes() : QString();
}
}

int FamilyCouple::labelStyle()
{
    return int(UserDefaults::standard().integerForKey(QStringLiteral("familyLabelStyle")));
}

FamilyCouple FamilyCouple::forSelectedPerson(FTPerson* selected, const std::function<bool(FTPerson*)>& diagramShows)
{
    FamilyCouple c;
    if (!selected || selected->isDeleted())
        return c;
    c.m_selected = selected;
    c.m_selectedIsHusband = selected->gender() == L("MaleShort");
    c.m_spouses = selected->spouses();
    FTMoc* moc = selected->moc();
    FTPerson* spouse = spouseToShow(c.m_spouses, moc ? moc->focalPerson() : nullptr, diagramShows);
    (c.m_selectedIsHusband ? c.m_husband : c.m_wife) = selected;
    (c.m_selectedIsHusband ? c.m_wife : c.m_husband) = spouse;
    c.findSpouseRel();
    return c;
}

FTPerson* FamilyCouple::spouseToShow(
    const QList<FTPerson*>& spouses, const FTPerson* focal, const std::function<bool(FTPerson*)>& diagramShows)
{
    if (spouses.isEmpty())
        return nullptr;
    if (spouses.size() == 1)
        return spouses.first();
    for (FTPerson* s : spouses)
        if (s == focal)
            return s;
    if (diagramShows)
        for (FTPerson* s : spouses)
            if (diagramShows(s))
                return s;
    return spouses.first();
}

FamilyCouple FamilyCouple::withSpouse(FTPerson* spouse) const
{
    FamilyCouple c = *this;
    if (spouse && m_spouses.contains(spouse)) {
        (c.m_selectedIsHusband ? c.m_wife : c.m_husband) = spouse;
        c.findSpouseRel();
    }
    return c;
}

void FamilyCouple::findSpouseRel()
{
    m_spouseRel = nullptr;
    if (!m_husband || !m_wife)
        return;
    const QList<FTSpouseRel*> couples = m_husband->spouseRels();
    // Of two couples of the same pair the husband's first counts; one couple needs no ordering.
    qsizetype found = 0;
    for (FTSpouseRel* couple : couples)
        if (couple->partnerOf(m_husband) == m_wife && ++found > 1)
            break;
    if (found == 0)
        return;
    for (FTSpouseRel* couple : found == 1 ? couples : m_husband->spouseRelsArray())
        if (couple->partnerOf(m_husband) == m_wife) {
            m_spouseRel = couple;
            return;
        }
}

QString FamilyCouple::spouseLabel(const QString& gender, bool plural, bool selectedPerson, int style)
{
    if (selectedPerson)
        return {};
    QString label;
    switch (style) {
    case HusbandWife:
        label = L(gender == L("MaleShort") ? "Husband" : "Wife");
        break;
    case SpouseStyle:
        label = L("Spouse");
        break;
    case PartnerStyle:
        label = L("Partner");
        break;
    default:
        return {};
    }
    if (plural)
        label = label == L("Wife") ? L("Wives") : label + L("pluralization");
    return label;
}

FamilyCouple::Labels FamilyCouple::labels(int style) const
{
    if (!m_selected)
        return {};
    // The spouse's side is the opposite of the selected person's.
    const QString otherGender = L(m_selectedIsHusband ? "FemaleShort" : "MaleShort");
    FTPerson* spouse = this->spouse();
    const qsizetype n = m_spouses.size();
    QString spouseText = spouseLabel(otherGender, false, false, style);
    if (n >= 2)
        spouseText = QStringLiteral("%1 (%2)").arg(spouseLabel(otherGender, true, false, style)).arg(n);
    else if (n == 1 && spouse)
        spouseText = spouseLabel(spouse->gender(), false, false, style);

    if (style == AutoAssigned && m_husband && m_wife) {
        const FTSpouseRel* couple = spouseRel();
        const bool married = couple && !couple->isDeleted() && couple->marriage();
        spouseText = married ? L(m_selectedIsHusband ? "Wife" : "Husband") : L("Spouse/Partner");
        const qsizetype couples = m_selected->spouseRels().size();
        if (couples >= 2)
            spouseText = QStringLiteral("%1 (%2)").arg(spouseText).arg(couples);
    }
    Labels labels;
    (m_selectedIsHusband ? labels.wife : labels.husband) = spouseText;
    return labels;
}

bool FamilyCouple::isEnabled(int tag) const
{
    switch (tag) {
    case HusbandGender:
    case HusbandBirthDate:
    case HusbandBirthPlace:
    case HusbandDeathDate:
    case HusbandDeathPlace:
        return m_husband;
    case WifeGender:
    case WifeBirthDate:
    case WifeBirthPlace:
    case WifeDeathDate:
    case WifeDeathPlace:
        return m_wife;
    case MarriageDate:
    case MarriagePlace:
    case MarriageNotes:
    case ChildrenTable:
        return m_husband && m_wife;
    default:
        return true;
    }
}

FTPerson* FamilyCouple::partnerFor(int tag) const
{
    if ((tag >= 4 && tag < 100) || (tag >= 700 && tag < 800) || (tag >= 1000 && tag < 1010) || tag == 1230)
        return m_husband;
    if ((tag >= 104 && tag < 200) || (tag >= 800 && tag < 900) || (tag >= 1010 && tag < 1020) || tag == 1231)
        return m_wife;
    return nullptr;
}

QString FamilyCouple::notesFor(int buttonTag) const
{
    if (buttonTag == MarriageNotesButton) {
        const FTSpouseRel* couple = spouseRel();
        return couple && !couple->isDeleted() ? notesOf(couple->marriage()) : QString();
    }
    const FTPerson* p = partnerFor(buttonTag);
    if (!p || p->isDeleted())
        return {};
    switch (buttonTag % 10) {
    case 0:
        return p->notes();
    case 1:
        return notesOf(p->birth());
    case 2:
        return notesOf(p->death());
    default:
        return {};
    }
}

FTPerson* FamilyCouple::createSpouse(FTPerson* partner, const QString& name, const QString& gender)
{
    if (!partner || name.trimmed().isEmpty())
        return nullptr;
    FTMoc* moc = partner->moc();
    FTPerson* spouse = partner->addSpouse(name, gender);
    if (!spouse)
        return nullptr;
    const bool male = gender == L("MaleShort");
    for (FTPerson* child : partner->naturalChildren()) {
        const FTPerson* already = male ? child->naturalFather() : child->naturalMother();
        spouse->attachChild(child, already ? FTPcRel::kStep : FTPcRel::kNatural, false, nullptr);
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    return spouse;
}
