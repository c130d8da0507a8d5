#pragma once

// "DOvurV5": an older model of the family database, made up for the conversion's tests and benchmark from the
// current model's declarations, with one difference of each kind a conversion meets:
//   - Person "soundexCode": an attribute the current model dropped;
//   - Source "flags": an attribute the current model added (missing here);
//   - Person "story": to-many here, to-one in the current model (a relationship of another kind);
//   - "Repository", linked to its sources: an entity the current model lacks.
// SyntheticDatabase writes none of these, so it fills a store of this model as well as a current one.
//
//   RegisteredDOvurV5 v5;                               // the program now reads "DOvurV5" stores
//   createDOvurV5Store(path, [](ObjectContext& ctx) { SyntheticDatabase::build(ctx, 1000); });

#include "model/DOvurV6Schema.h"
#include "model/FTMoc.h"
#include "model/OlderModels.h"

#include "platform/store/ObjectContext.h"
#include "platform/store/StoreSchema.h"

#include <QString>

#include <functional>

inline const StoreSchema& olderModelDOvurV5()
{
    static const StoreSchema* schema = [] {
        auto* s = new StoreSchema(QStringLiteral("DOvurV5"));
        declareDOvurV6Entities(*s);
        s->entity("Person")
            .attribute("soundexCode", AttributeType::String)
            .remove("story")
            .toMany("story", "Story", "person", DeleteRule::Cascade);
        s->entity("Source").remove("flags").toOne("repository", "Repository", "sources");
        s->entity("Repository")
            .attribute("name", AttributeType::String)
            .attribute("address", AttributeType::String)
            .toMany("sources", "Source", "repository");
        s->finalize();
        return s;
    }();
    return *schema;
}

// The program reads "DOvurV5" stores for as long as this lives.
class RegisteredDOvurV5 {
public:
    RegisteredDOvurV5() { OlderModels::registerSchema(olderModelDOvurV5()); }
    ~RegisteredDOvurV5() { OlderModels::unregisterSchema(olderModelDOvurV5().name()); }
    RegisteredDOvurV5(const RegisteredDOvurV5&) = delete;
    RegisteredDOvurV5& operator=(const RegisteredDOvurV5&) = delete;
};

// A new "DOvurV5" store at `path` (which must not exist), filled by `fill` and saved; false with `error` set when
// it cannot be made.
inline bool createDOvurV5Store(const QString& path, const std::function<void(ObjectContext&)>& fill,
                               QString* error = nullptr)
{
    ObjectContext ctx(olderModelDOvurV5());
    if (!ctx.open(path, ObjectContext::OpenMode::CreateIfMissing, error))
        return false;
    ctx.setMetadataValue(FTMoc::kMomKey, olderModelDOvurV5().name());
    if (fill)
        fill(ctx);
    return ctx.save(error);
}
