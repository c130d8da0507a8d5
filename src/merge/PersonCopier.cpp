#include "merge/PersonCopier.h"

#include "shell/DisplayMsg.h"
#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"
#include "model/ModelFlags.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/TextMatch.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString quotedName(const FTPerson* p)
{
    return QStringLiteral("\"%1\"").arg(p->nameWithBirthAndDeathYears());
}

int birthYear(const FTPerson* p)
{
    const FTEvent* birth = p ? p->birth() : nullptr;
    return birth ? birth->year() : 0;
}

bool isMale(const FTPerson* p)
{
    return p->gender() == L("MaleShort");
}

// While people are copied in, the model's citing takes what it describes from the copied record and opens no
// citation sheet. Cleared on every way out.
struct MergeFlag {
    MergeFlag() { gMergeFromAnotherDatabase = true; }
    ~MergeFlag() { gMergeFromAnotherDatabase = false; }
    MergeFlag(const MergeFlag&) = delete;
    MergeFlag& operator=(const MergeFlag&) = delete;
};
}

PersonCopier::PersonCopier(FTPerson* sourcePerson, FTPerson* owner, long ancLevel, int pcRelType)
    : m_initialSourcePerson(sourcePerson)
    , m_owner(owner)
    , m_moc(owner ? owner->moc() : nullptr)
    , m_sourceMoc(sourcePerson ? sourcePerson->moc() : nullptr)
    , m_ancLevel(ancLevel)
    , m_pcRelType(pcRelType)
    , m_outline(sourcePerson, ancLevel != kChildBox)
{
}

PersonCopier::~PersonCopier() = default;

// ---- Texts --------------------------------------------------------------------------------------------------------

QString PersonCopier::targetText() const
{
    QString word;
    if (m_ancLevel > 0)
        word = L("Parent");
    else if (m_ancLevel == kSpouseBox)
        word = L(m_owner && isMale(m_owner) ? "Wife" : "Husband");
    else
        word = L("Child");
    return QStringLiteral("%1 %2 %3")
        .arg(word, L("ConjunctiveOf"), m_owner ? m_owner->nameWithBirthAndDeathYears() : QString());
}

QString PersonCopier::windowTitle() const
{
    return QStringLiteral("%1 %2").arg(L("CopyPerson"), m_sourceMoc ? m_sourceMoc->modelName() : QString());
}

QString PersonCopier::includeTitle() const
{
    return L(bAncestors() ? "IncAncSpouses" : "IncDescSpouses");
}

void PersonCopier::setIncludeAncestors(bool on)
{
    m_includeAncestors = on;
    m_includeDescendants = on;
}

QString PersonCopier::reportPath() const
{
    return Utils::reportsDirectory() + QStringLiteral("/MergePersonFromOtherModel.txt");
}

bool PersonCopier::personIsSelected(const FTPerson* person) const
{
    return person == m_initialSourcePerson || m_outline.isPersonSelected(person);
}

void PersonCopier::CopySet::add(FTPerson* p)
{
    if (p && !members.contains(p)) {
        members.insert(p);
        people << p;
    }
}
void PersonCopier::CopySet::add(FTPcRel* link)
{
    if (link && !members.contains(link)) {
        members.insert(link);
        links << link;
    }
}
void PersonCopier::CopySet::add(FTSpouseRel* couple)
{
    if (couple && !members.contains(couple)) {
        members.insert(couple);
        couples << couple;
    }
}

// ---- The copy -----------------------------------------------------------------------------------------------------

PersonCopier::Result PersonCopier::copy()
{
    if (!m_initialSourcePerson || !m_owner || !m_moc)
        return Result::NotCopied;
    m_now = m_clock ? m_clock() : QDateTime::currentDateTime();

    if (backupBeforeCopy) {
        bool backedUp = false;
        if (m_backupPanel && Utils::saveBeforeBackup(*m_moc).isEmpty())
            backedUp = Utils::backupCurrentModel(m_moc->databaseURL(), *m_backupPanel);
        if (!backedUp
            && !Utils::displayYesNoQuery(QStringLiteral("%1 %2?").arg(L("CopyQuery"), m_initialSourcePerson->name()),
                                         L("Yes"), L("No")))
            return Result::NotCopied;
    }
    m_numPeopleCopied = 0;
    if (personExistsInTargetModel(m_initialSourcePerson))
        return Result::NotCopied;

    auto countMessage = [this] {
        DisplayMsg(QStringLiteral("%1 %2 %3")
                       .arg(m_numPeopleCopied)
                       .arg(L(m_numPeopleCopied == 1 ? "personWas" : "peopleWere"), L("CopyMsg")));
    };
    // Refusals come before anything is made: a refused copy leaves the database and its active source as they were.
    if (!boxTakesThePerson()) {
        countMessage();
        return Result::Refused;
    }

    FTMocUndoManager* undo = m_moc->undoManager();
    FTSource* previousSource = m_moc->activeSource();
    const QString previousPageRef = m_moc->activeSourcePageRef();
    // Whatever the user did before stays an undo step of its own; the copy is one more.
    undo->closeOpenGroups();
    undo->beginUndoGrouping();
    undo->setActionName(L("MergeFromDB"));
    FTPerson* copied = nullptr;
    try {
        createActiveSourceInTargetDatabase();
        {
            const MergeFlag flag;
            if (m_ancLevel == kSpouseBox) {
                copied = copyAsSpouse(m_initialSourcePerson, m_owner);
                if (copied && m_includeAncestors)
                    cloneSet(createAncestorsSetFor(m_initialSourcePerson));
            } else if (m_ancLevel == kChildBox) {
                copied = copyAsChild(m_initialSourcePerson, m_owner);
                if (copied)
                    cloneSet(createDescendantsSetFor(m_initialSourcePerson));
            } else {
                copied = m_pcRelType == FTPcRel::kNatural ? copyNaturalParent(m_initialSourcePerson, m_owner)
                                                          : copyStepParent(m_initialSourcePerson, m_owner);
                if (copied && m_includeAncestors)
                    cloneSet(createAncestorsSetFor(m_initialSourcePerson));
            }
        }
        countMessage();
        if (copied) {
            generateReport();
            m_moc->resetPlaces();
        }
    } catch (...) {
        Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("copy"));
    }
    m_moc->setActiveSource(previousSource);
    m_moc->setActiveSourcePageRef(previousPageRef);
    undo->endUndoGrouping();
    if (!copied)
        return Result::Refused;
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
    return Result::Copied;
}

bool PersonCopier::boxTakesThePerson()
{
    FTPerson* src = m_initialSourcePerson;
    if (m_ancLevel == kChildBox)
        return checkParentChildAgeDifference(m_owner, src);
    if (m_ancLevel == kSpouseBox) {
        if (src->gender() != m_owner->gender())
            return true;
        DisplayMsg(QStringLiteral("%1'%2 %3 %4")
                       .arg(m_owner->nameWithBirthAndDeathYears(), L("possessiveSuffix"), L("CopyAsSpouse"),
                            L(isMale(m_owner) ? "Female" : "Male")));
        return false;
    }
    if (m_pcRelType == FTPcRel::kNatural) {
        const bool secondFather = isMale(src) && m_owner->naturalFather();
        const bool secondMother = src->gender() == L("FemaleShort") && m_owner->naturalMother();
        if (secondFather || secondMother) {
            DisplayMsg(QStringLiteral("%1 %2").arg(L("OnlyOneNatural"), L(secondFather ? "Father" : "Mother")));
            return false;
        }
    }
    return checkParentChildAgeDifference(src, m_owner);
}

bool PersonCopier::checkParentChildAgeDifference(FTPerson* parent, FTPerson* child)
{
    const int parentYear = birthYear(parent);
    const int childYear = birthYear(child);
    if (parentYear == 0 || childYear == 0) {
        DisplayMsg(L("CopyCondition"));
        return false;
    }
    const int d = childYear - parentYear;
    const QString possessive = L(isMale(child) ? "his" : "her");
    // "<child> would be born when his parent <parent> was <d> years old"
    const QString atBirth = QStringLiteral("%1 %2 %3 %4 %5%6 %7 %8")
                                .arg(quotedName(child), L("CopyClarify4"), possessive, L("CopyClarify3"),
                                     quotedName(parent), L("was"))
                                .arg(d)
                                .arg(L("CopyClarify5"));
    if (d <= 0) {
        DisplayMsg(QStringLiteral("%1\n\n%2: %3 %4 %5 %6 %7 %8 %9")
                       .arg(L("NoCopy"), L("Reason"), quotedName(child), L("CopyClarify1"))
                       .arg(-d)
                       .arg(L("CopyClarify2"), possessive, L("CopyClarify3"), quotedName(parent)));
        return false;
    }
    if (d > 79) {
        DisplayMsg(QStringLiteral("%1\n\n%2: %3").arg(L("NoCopy"), L("Reason"), atBirth));
        return false;
    }
    if (d >= 16 && d <= 44)
        return true;
    return Prompts::current().chooseWithTitle(L("CopyClarifyTitle"), QStringLiteral("%1: %2").arg(L("Warning"), atBirth),
                                              QString(), {L("Continue"), L("Cancel")})
        == 0;
}

bool PersonCopier::personExistsInTargetModel(FTPerson* person)
{
    if (!person || !m_moc)
        return false;
    if (const auto it = m_existsAnswers.constFind(person); it != m_existsAnswers.constEnd())
        return *it;
    if (!m_namesIndexed) {
        m_namesIndexed = true;
        ReleasingWalk walk(*m_moc);
        for (FTPerson* p : m_moc->fetch<FTPerson>()) {
            walk.releasePoint();
            m_namesInTarget[TextMatch::fold(p->name())] << p;
        }
    }
    // The name is matched as written: a "*" or "?" in it is no wildcard.
    QList<FTPerson*> candidates = m_namesInTarget.value(TextMatch::fold(person->name()));
    candidates.removeIf([](const FTPerson* p) { return p->isDeleted(); });
    if (const int year = birthYear(person); year != 0)
        candidates.removeIf([year](const FTPerson* p) {
            const int y = birthYear(p);
            return y != 0 && std::abs(y - year) > 10;
        });
    if (candidates.isEmpty())
        return false;

    const bool one = candidates.size() == 1;
    const QString text = one ? L("ThereIs1")
                             : QStringLiteral("%1 %2 %3").arg(L("ThereAre")).arg(candidates.size()).arg(L("InModel"));
    QString info = QStringLiteral("%1\n\n\"%2\"\n\n%3%4 %5\n\n")
                       .arg(L("CopyPersonResult1"), person->nameWithBirthAndDeathYears(), L("CopyPersonResult2"),
                            L(one ? "was" : "wasPlural"), L("CopyPersonResult3"));
    for (const FTPerson* c : std::as_const(candidates))
        info += c->nameWithBirthAndDeathYears() + QLatin1Char('\n');
    info += QLatin1Char('\n');
    const bool present = Prompts::current().chooseWithTitle(L("CopyConfirmTitle"), text, info,
                                                            {L("CopyConfirmYes"), L("CopyConfirmNo")})
        != 0;
    m_existsAnswers.insert(person, present);
    return present;
}

// ---- The four kinds of box ----------------------------------------------------------------------------------------

void PersonCopier::record(FTPerson* sourcePerson, FTPerson* copy)
{
    m_personXref.insert(sourcePerson, copy);
    m_peopleAdded << copy;
    m_added.insert(copy);
    if (m_namesIndexed)
        m_namesInTarget[TextMatch::fold(copy->name())] << copy;
}

void PersonCopier::assume(FTPerson* child, int pcRelType, FTPerson* parent)
{
    m_assumptions << QStringLiteral("%1 %2 %3 %4 %5 %6")
                         .arg(L("CopyAsChild1"), quotedName(child), L("CopyAsChild2"),
                              L(pcRelType == FTPcRel::kNatural ? "Natural" : "Step").toUpper(), L("childOf"),
                              quotedName(parent));
}

FTPerson* PersonCopier::copyAsChild(FTPerson* sourcePerson, FTPerson* parent)
{
    FTPerson* child = parent->addChild(sourcePerson->name(), sourcePerson->gender(), FTPcRel::kNatural);
    if (!child)
        return nullptr;
    record(sourcePerson, child);
    clonePersonsProperties(sourcePerson, child);
    const QList<FTPerson*> spouses = parent->spouses();
    for (qsizetype i = 0; i < spouses.size(); ++i) {
        const int type = i == 0 ? FTPcRel::kNatural : FTPcRel::kStep;
        spouses[i]->attachChild(child, type, false, nullptr);
        assume(child, type, spouses[i]);
    }
    return child;
}

FTPerson* PersonCopier::copyAsSpouse(FTPerson* sourcePerson, FTPerson* person)
{
    FTPerson* spouse = FTPerson::initInMoc(m_moc, sourcePerson->name(), sourcePerson->gender());
    record(sourcePerson, spouse);
    clonePersonsProperties(sourcePerson, spouse);
    person->addSpouseRel(spouse);
    const QList<FTPerson*> children = person->naturalChildren();
    const int type = person->spouses().size() == 1 ? FTPcRel::kNatural : FTPcRel::kStep;
    for (FTPerson* child : children)
        spouse->attachChild(child, type, false, nullptr);
    return spouse;
}

FTPerson* PersonCopier::copyNaturalParent(FTPerson* sourcePerson, FTPerson* child)
{
    FTPerson* parent = child->addParent(sourcePerson->name(), sourcePerson->gender(), FTPcRel::kNatural);
    if (!parent)
        return nullptr;
    record(sourcePerson, parent);
    clonePersonsProperties(sourcePerson, parent);
    if (child->parentRels().size() < 2)
        return parent;
    FTPerson* other = isMale(parent) ? child->naturalMother() : child->naturalFather();
    if (!other || other == parent)
        return parent;
    FTSpouseRel* couple = parent->addSpouseRel(other);
    // The couple as the other database knows it, when the source person married someone of that name there.
    for (FTSpouseRel* theirs : sourcePerson->spouseRelsArray()) {
        const FTPerson* partner = theirs->partnerOf(sourcePerson);
        if (partner && partner->name().compare(other->name(), Qt::CaseInsensitive) == 0) {
            cloneSpouseRelPropertiesFrom(theirs, couple);
            break;
        }
    }
    const int type = other->spouses().size() == 1 ? FTPcRel::kNatural : FTPcRel::kStep;
    for (FTPerson* halfSibling : other->naturalChildren()) {
        if (halfSibling == child)
            continue;
        parent->attachChild(halfSibling, type, false, nullptr);
        assume(halfSibling, type, parent);
    }
    return parent;
}

FTPerson* PersonCopier::copyStepParent(FTPerson* sourcePerson, FTPerson* child)
{
    FTPerson* parent = child->addParent(sourcePerson->name(), sourcePerson->gender(), FTPcRel::kStep);
    if (!parent)
        return nullptr;
    record(sourcePerson, parent);
    clonePersonsProperties(sourcePerson, parent);
    FTPerson* other = isMale(parent) ? child->naturalMother() : child->naturalFather();
    if (!other || other == parent)
        return parent;
    parent->addSpouseRel(other);
    for (FTPerson* stepChild : other->naturalChildren()) {
        if (stepChild == child)
            continue;
        parent->attachChild(stepChild, FTPcRel::kStep, false, nullptr);
        assume(stepChild, FTPcRel::kStep, parent);
    }
    return parent;
}

// ---- The source of the copy and the report ------------------------------------------------------------------------

void PersonCopier::createActiveSourceInTargetDatabase()
{
    const QString date = QLocale(QLocale::English).toString(m_now, QStringLiteral("dd-MMM-yy 'at' HH:mm"));
    const QString model = m_sourceMoc ? m_sourceMoc->modelName() : QString();
    m_mergeSource = FTSource::initInMoc(m_moc);
    m_mergeSource->setTitle(QStringLiteral("%1 %2 %3 %4").arg(L("SrcTitle"), model, L("ConjunctiveOn"), date));
    m_mergeSource->setType(L("DBMerge"));
    m_mergeSource->setAbbreviatedTitle(
        QStringLiteral("%1 %2 %3 %4").arg(L("SrcTitle2"), model, L("ConjunctiveOn"), date));
    m_mergeSource->setDate(date);
    m_mergeSource->setLocation(QStringLiteral("%1 = %2").arg(
        L("SrcLocation"), m_sourceMoc ? QDir::toNativeSeparators(m_sourceMoc->databaseURL()) : QString()));
    m_moc->setActiveSource(m_mergeSource);
    // The page reference belongs to the user's own source, not to this one.
    m_moc->setActiveSourcePageRef(QString());
}

void PersonCopier::generateReport()
{
    const QString path = reportPath();
    QFile::remove(path);
    QFile file(path);
    bool writing = true;
    if (!file.open(QIODevice::WriteOnly)) {
        DisplayMsg(QStringLiteral("%1:\n\n%2").arg(L("UnableToCreateMerge"), QDir::toNativeSeparators(path)));
        writing = false;
    }
    const QString heading = QStringLiteral("%1 %2\n").arg(L("CopyOn"), RtfWriter::titleDateText(m_now));

    QString text;
    if (!m_assumptions.isEmpty()) {
        text += QLatin1Char('\n');
        for (const QString& line : std::as_const(m_assumptions))
            text += line + QLatin1Char('\n');
    }
    const QString sourceName = m_sourceMoc ? m_sourceMoc->modelName() : QString();
    const QString targetName = m_moc->modelName();
    text += QStringLiteral("\n\n%1 %2 %3 %4 %5 %6 %7 %8\n")
                .arg(L("TheFollowing"), L(bAncestors() ? "Ancestors" : "Descendants"), L("ConjunctiveOf"),
                     m_owner->nameWithBirthAndDeathYears(), L("wereCopied"), sourceName, L("ConjunctiveTo"),
                     targetName);
    for (const Hierarchy* row : m_outline.rows()) {
        FTPerson* copy = m_personXref.value(row->person());
        if (!copy || !m_added.contains(copy))
            continue;
        text += QLatin1Char('\n') + QString(2 * row->level(), QLatin1Char(' ')) + copy->nameWithBirthAndDeathYears();
        if (!bAncestors())
            for (const FTPerson* spouse : copy->spouses())
                if (m_added.contains(spouse))
                    text += QStringLiteral(" + %1").arg(spouse->nameWithBirthAndDeathYears());
    }
    // Each line made once: a copy of tens of thousands of people compares each line many times.
    QStringList added;
    added.reserve(m_peopleAdded.size());
    for (const FTPerson* p : m_peopleAdded)
        added << p->nameWithBirthAndDeathYears();
    std::stable_sort(added.begin(), added.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    text += QStringLiteral("\n\n%1 %2 %3 %4 %5 %6\n")
                .arg(L("TheFollowing"))
                .arg(added.size())
                .arg(L("wereIncluded"), sourceName, L("ConjunctiveTo"), targetName);
    for (const QString& line : std::as_const(added))
        text += line + QLatin1Char('\n');

    if (writing) {
        const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + (heading + text).toUtf8();
        if (file.write(bytes) != bytes.size() || !file.flush())
            DisplayMsg(QStringLiteral("%1:\n\n%2").arg(L("UnableToOpenMerge"), QDir::toNativeSeparators(path)));
        file.close();
    }
    m_reportText = text.trimmed();
    m_mergeSource->setNotes(m_reportText);
}
