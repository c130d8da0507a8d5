#include "model/SourceCiting.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelFlags.h"
#include "model/ModelHooks.h"

#include "platform/Prompts.h"

namespace {
void report(const char* method)
{
    ModelHooks::reportException("SourceCiting", __LINE__, QString::fromLatin1(method));
}
}

FTSourceRel* SourceCiting::cite(FTSource* source) const
{
    FTMoc* moc = owner ? owner->moc() : nullptr;
    if (!source || !moc)
        return nullptr;
    FTSourceRel* citation = nullptr;
    try {
        QList<FTSourceRel*> existing;
        for (FTSourceRel* c : ownCitations)
            if (c->source() == source)
                existing << c;
        if (existing.isEmpty()) {
            citation = FTSourceRel::initInMoc(moc, source, owner, itemDescribed);
            moc->saveMoc();
        } else {
            Prompts::current().message(existing.size() == 1 ? oneFound() : severalFound(int(existing.size())));
            citation = existing.first();
        }
    } catch (...) {
        report("addReferenceToSource_1");
    }
    try {
        if (citation && !moc->importThreadIsActive() && !gMergeFromAnotherDatabase)
            if (CitationDialogs* dialogs = CitationDialogs::current())
                dialogs->beginCitationSheet(kind, citation, didEnd);
    } catch (...) {
        report("addReferenceToSource_2");
    }
    return citation;
}
