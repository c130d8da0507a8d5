#include "model/FTPerson.h"

#include "model/CitationDialogs.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelFlags.h"
#include "model/ModelHooks.h"
#include "model/SourceCiting.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/EntityDescription.h"

#include <QSet>

#include <algorithm>
#include <exception>

namespace {
void report(int line, const char* method)
{
    if (const auto& hook = ModelHooks::shared().reportCurrentException)
        hook("FTPerson_Add", line, QString::fromLatin1(method));
    else
        FTLog(QStringLiteral("FTPerson_Add: an exception stopped %1").arg(QString::fromLatin1(method)));
}
}

FTPerson* FTPerson::addChild(const QString& name, const QString& gender, int pcRelType)
{
    FTPerson* child = initInMoc(moc(), name, gender);
    attachChild(child, pcRelType, false, nullptr);
    return child;
}

FTPerson* FTPerson::addParent(const QString& name, const QString& gender, int pcRelType)
{
    FTPerson* parent = initInMoc(moc(), name, gender);
    parent->attachChild(this, pcRelType, false, nullptr);
    return parent;
}

FTPerson* FTPerson::addSpouse(const QString& name, const QString& gender)
{
    FTPerson* spouse = initInMoc(moc(), name, gender);
    addSpouseRel(spouse);
    return spouse;
}

FTSpouseRel* FTPerson::addSpouseRel(FTPerson* other)
{
    if (!other)
        return nullptr;
    // Only two people known to be of one sex are warned about: two people of unknown gender are no such couple.
    if ((isMale() && other->isMale()) || (isFemale() && other->isFemale()))
        Prompts::current().message(QStringLiteral("%1 %2 %3 %4")
                                       .arg(LocalizedString("AddSameSexUnion"), name(),
                                           LocalizedString("ConjunctiveAnd"), other->name()));
    FTSpouseRel* couple = FTSpouseRel::initInMoc(moc());
    couple->addPartnersObject(this);
    couple->addPartnersObject(other);
    return couple;
}

bool FTPerson::hasNonStepAncestor(const FTPerson* other) const
{
    if (!other)
        return false;
    // Iterative, each person once: deep or looping ancestries neither overflow the stack nor run for ever.
    QSet<const FTPerson*> seen;
    QList<const FTPerson*> pending { this };
    while (!pending.isEmpty()) {
        const FTPerson* person = pending.takeLast();
        for (const FTPcRel* link : person->parents()) {
            const FTPerson* parent = link->parent();
            if (!parent || parent->isDeleted() || link->intPcRelType() == FTPcRel::kStep || seen.contains(parent))
                continue;
            if (parent == other)
                return true;
            seen.insert(parent);
            pending << parent;
        }
    }
    return false;
}

FTPcRel* FTPerson::attachChild(FTPerson* child, int pcRelType, bool checkAncestors, QString* reason)
{
    if (!child)
        return nullptr;
    if (child == this) {
        if (reason)
            *reason = LocalizedString("MergeChild1");
        return nullptr;
    }
    // The set itself is read, not a copy: an import links every child this way.
    static const Key kChildLinks("children");
    for (const ManagedObject* o : objects(kChildLinks)) {
        if (static_cast<const FTPcRel*>(o)->child() == child) {
            if (reason)
                *reason = QStringLiteral("%1 %2 %3").arg(child->name(), LocalizedString("MergeChild2"), name());
            return nullptr;
        }
    }
    if (checkAncestors && hasNonStepAncestor(child)) {
        Prompts::current().message(QStringLiteral("%1 %2 %3 %4")
                                       .arg(LocalizedString("AttachChildRecursion"), name(),
                                           LocalizedString("ConjunctiveAnd"), child->name()));
        if (reason)
            *reason = LocalizedString("RecursionFound");
        return nullptr;
    }
    FTPcRel* link = FTPcRel::initInMoc(moc());
    link->setParent(this);
    link->setChild(child);
    link->setPcRelType(pcRelType);
    return link;
}

// ---- Citations ---------------------------------------------------------------------------------------------------

FTSourceRel* FTPerson::addReferenceToSource(FTSource* source)
{
    if (!source || !moc())
        return nullptr;
    // The person's own citations; those of its events name the person too but are the events'.
    QList<FTSourceRel*> own;
    for (FTSourceRel* c : sourceRels())
        if (!c->event())
            own << c;
    return SourceCiting {
        CitationDialogs::Kind::Person,
        this,
        own,
        gMergeFromAnotherDatabase ? attributesBeingMerged()
                                  : QStringLiteral("%1, %2").arg(LocalizedString("Name"), LocalizedString("Notes")),
        [] { return LocalizedString("SourceChosenSingle"); },
        [source](int count) {
            return QStringLiteral("%1 %2 %3 %4 %5")
                .arg(LocalizedString("ThereAre"))
                .arg(count)
                .arg(LocalizedString("SourceChosenMultiple1"))
                .arg(source->numericId())
                .arg(LocalizedString("PersonSourceChosenMultiple2"));
        },
        [this] { addReferenceToSourceDidEnd(); } }
        .cite(source);
}

void FTPerson::addReferenceToSourceDidEnd()
{
    const auto& pageHook = ModelHooks::shared().personEditorPage;
    const QString page = pageHook ? pageHook() : QString();
    if (page == QLatin1String("pSources") || UserDefaults::standard().contains(QStringLiteral("cdCheckForMissingCitations")))
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc());
}

QString FTPerson::attributesBeingMerged() const
{
    static const QStringList kLeftOut { QStringLiteral("extraData"), QStringLiteral("familyName"),
        QStringLiteral("givenNames"), QStringLiteral("lastChange"), QStringLiteral("namePrefix"),
        QStringLiteral("nameSuffix"), QStringLiteral("nickName"), QStringLiteral("numericId") };
    QStringList names = entity()->attributeNames();
    std::sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QString text = LocalizedString("Person");
    bool first = true;
    for (const QString& key : names) {
        if (kLeftOut.contains(key) || !value(Key(key)).isValid())
            continue;
        text += first ? QStringLiteral(": ") : QStringLiteral(", ");
        first = false;
        text += key.left(1).toUpper() + key.mid(1).toLower();
    }
    return text;
}
