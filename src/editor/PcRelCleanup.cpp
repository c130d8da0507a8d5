#include "editor/PcRelCleanup.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

namespace {
bool isUnwanted(const FTPcRel* link)
{
    const int type = link->intPcRelType();
    return type == FTPcRel::kUnknown || type == FTPcRel::kNotRelated;
}

QString quoted(const FTPerson* p)
{
    return QLatin1Char('"') + (p ? p->name() : QString()) + QLatin1Char('"');
}
}

void PcRelCleanup::setStringPcRelType(FTPcRel* link, const QString& word)
{
    if (!link || link->isDeleted())
        return;
    const int before = link->intPcRelType();
    link->setStringPcRelType(word);
    if (before == FTPcRel::kNotRelated || link->intPcRelType() != FTPcRel::kNotRelated)
        return;
    const std::pair<ObjectContext*, qint64> key { link->context(), link->primaryKey() };
    if (!m_setNotRelated.contains(key))
        m_setNotRelated << key;
}

int PcRelCleanup::deleteChosenLinks()
{
    int deleted = 0;
    for (const auto& [context, key] : std::as_const(m_setNotRelated)) {
        auto* link = static_cast<FTPcRel*>(context->objectWithPrimaryKey(QString::fromLatin1(FTPcRel::kEntityName), key));
        if (link && link->intPcRelType() == FTPcRel::kNotRelated) {
            deleteLink(link);
            ++deleted;
        }
    }
    m_setNotRelated.clear();
    return deleted;
}

int PcRelCleanup::deleteUnwantedLinks(const QList<FTPcRel*>& links)
{
    int deleted = 0;
    for (FTPcRel* link : links) {
        if (link && !link->isDeleted() && isUnwanted(link)) {
            deleteLink(link);
            ++deleted;
        }
    }
    return deleted;
}

void PcRelCleanup::deleteLink(FTPcRel* link)
{
    FTMoc* moc = link->moc();
    FTPerson* parent = link->parent();
    FTPerson* child = link->child();
    FTPerson* focal = moc && m_message != NoMessage ? moc->focalPerson() : nullptr;
    if (focal && m_message == ParentIsFocalPerson && parent == focal)
        Prompts::current().message(quoted(child) + QLatin1Char('\n') + LocalizedString("personNotDisplayed")
            + QLatin1Char('\n') + quoted(parent));
    else if (focal && m_message == ChildIsFocalPerson && child == focal)
        Prompts::current().message(quoted(parent) + QLatin1Char('\n') + LocalizedString("personNotDisplayed")
            + QLatin1Char('\n') + quoted(child));
    if (FTMocUndoManager* undo = moc ? moc->undoManager() : nullptr)
        undo->setActionName(LocalizedString("DeletePCRel"));
    link->context()->deleteObject(link);
}
