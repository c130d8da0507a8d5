#include "model/DOvurV6Schema.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"
#include "model/FTThumbnail.h"

#include "platform/store/StoreSchema.h"

// Delete rules: what a record owns goes with it (a person's events, couples, parent-child links, pictures, story,
// citations, associations and ancestral view; a couple's marriage events; an event's, picture's or source's
// citations; a source's picture; a picture's thumbnail records). Everything else only forgets the deleted record:
// a couple forgets a deleted partner, a link or citation its person, an event its type.
// One-to-one pairs store the link on the owned side (kHoldsKey); the five event kinds share one table and one
// `person` and one `spouseRel` column.
void declareDOvurV6Entities(StoreSchema& s)
{
    constexpr bool kHoldsKey = true;
    const AttributeOptions lazy { .lazy = true };
    s.entity("Person")
        .objectClass<FTPerson>()
        // Searched by the start of any word (the find-person search) and compared whole (duplicate names).
        .attribute("name", AttributeType::String, {}, { .words = true })
        .attribute("familyName", AttributeType::String)
        .attribute("givenNames", AttributeType::String)
        .attribute("gender", AttributeType::String)
        .attribute("title", AttributeType::String, {}, { .words = true })
        .attribute("notes", AttributeType::String)
        .attribute("comments", AttributeType::String)
        .attribute("causeOfDeath", AttributeType::String)
        .attribute("userId", AttributeType::String)
        .attribute("namePrefix", AttributeType::String)
        .attribute("nameSuffix", AttributeType::String)
        .attribute("nickName", AttributeType::String)
        .attribute("numericId", AttributeType::Integer32, 0)
        .attribute("extraData", AttributeType::Binary)
        .attribute("lastChange", AttributeType::Date)
        .toOne("birth", "BirthEvent", "person", DeleteRule::Cascade)
        .toOne("death", "DeathEvent", "person", DeleteRule::Cascade)
        .toMany("otherEvents", "OtherPersonalEvent", "person", DeleteRule::Cascade)
        .toMany("spouseRels", "SpouseRel", "partners", DeleteRule::Cascade)
        .toMany("parents", "PcRel", "child", DeleteRule::Cascade)
        .toMany("children", "PcRel", "parent", DeleteRule::Cascade)
        .toMany("pictures", "Picture", "owner", DeleteRule::Cascade)
        .toOne("defaultPicture", "Picture", "defaultPictureOwner", DeleteRule::Nullify, kHoldsKey)
        .toOne("story", "Story", "person", DeleteRule::Cascade)
        .toMany("sourceRels", "SourceRel", "person", DeleteRule::Cascade)
        .toMany("associationsTo", "Association", "fromPerson", DeleteRule::Cascade)
        .toMany("associationsFrom", "Association", "toPerson", DeleteRule::Cascade)
        .toOne("ancestralView", "ProjectView", "rootPersonInAncestralView", DeleteRule::Cascade)
        .toMany("projectViews", "ProjectView", "persons", DeleteRule::Nullify)
        .toOne("modelDefaultFocalPerson", "ModelDefaults", "focalPerson", DeleteRule::Nullify)
        .toOne("modelDefaultSelectedPerson", "ModelDefaults", "selectedPerson", DeleteRule::Nullify);
    s.entity("Event")
        .objectClass<FTEvent>()
        .abstract()
        .attribute("type", AttributeType::Integer32, 0)
        .attribute("subtype", AttributeType::String)
        .attribute("name", AttributeType::String)
        .attribute("date", AttributeType::String)
        .attribute("qual", AttributeType::Integer32, 0)
        .attribute("day", AttributeType::Integer32, 0)
        .attribute("month", AttributeType::Integer32, 0)
        .attribute("year", AttributeType::Integer32, 0)
        .attribute("place", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("comments", AttributeType::String)
        .attribute("causeOfEvent", AttributeType::String)
        .attribute("numericId", AttributeType::Integer32, 0)
        .attribute("extraData", AttributeType::Binary)
        .attribute("lastChange", AttributeType::Date)
        .toOne("eventType", "EventType", "events", DeleteRule::Nullify)
        .toMany("sourceRels", "SourceRel", "event", DeleteRule::Cascade);
    s.entity("BirthEvent").inherits("Event").toOne("person", "Person", "birth", DeleteRule::Nullify, kHoldsKey);
    s.entity("DeathEvent").inherits("Event").toOne("person", "Person", "death", DeleteRule::Nullify, kHoldsKey);
    s.entity("MarriageEvent")
        .inherits("Event")
        .toOne("spouseRel", "SpouseRel", "marriage", DeleteRule::Nullify, kHoldsKey);
    s.entity("OtherPersonalEvent").inherits("Event").toOne("person", "Person", "otherEvents", DeleteRule::Nullify);
    s.entity("OtherMarriageEvent")
        .inherits("Event")
        .toOne("spouseRel", "SpouseRel", "otherMarriageEvents", DeleteRule::Nullify);
    s.entity("SpouseRel")
        .objectClass<FTSpouseRel>()
        .attribute("numericId", AttributeType::Integer32, 0)
        .attribute("seqNo", AttributeType::Integer32, 0)
        .attribute("userId", AttributeType::String)
        .attribute("lastChange", AttributeType::Date)
        .toMany("partners", "Person", "spouseRels", DeleteRule::Nullify)
        .toOne("marriage", "MarriageEvent", "spouseRel", DeleteRule::Cascade)
        .toMany("otherMarriageEvents", "OtherMarriageEvent", "spouseRel", DeleteRule::Cascade);
    s.entity("PcRel")
        .objectClass<FTPcRel>()
        .attribute("pcRelType", AttributeType::Integer32, 0)
        .attribute("extraData", AttributeType::Binary)
        .attribute("lastChange", AttributeType::Date)
        .toOne("parent", "Person", "children", DeleteRule::Nullify)
        .toOne("child", "Person", "parents", DeleteRule::Nullify);
    s.entity("Source")
        .objectClass<FTSource>()
        .attribute("numericId", AttributeType::Integer32, 0)
        .attribute("type", AttributeType::String)
        .attribute("title", AttributeType::String)
        .attribute("abbreviatedTitle", AttributeType::String)
        .attribute("author", AttributeType::String)
        .attribute("publisher", AttributeType::String)
        .attribute("date", AttributeType::String)
        .attribute("location", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("userId", AttributeType::String)
        .attribute("flags", AttributeType::Integer32, 0)
        .attribute("lastChange", AttributeType::Date)
        .toMany("sourceRels", "SourceRel", "source", DeleteRule::Cascade)
        .toOne("picture", "Picture", "source", DeleteRule::Cascade);
    s.entity("SourceRel")
        .objectClass<FTSourceRel>()
        .attribute("reference", AttributeType::String)
        .attribute("itemDescribed", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("certainty", AttributeType::Integer32)
        .attribute("extraData", AttributeType::Binary)
        .attribute("lastChange", AttributeType::Date)
        .toOne("source", "Source", "sourceRels", DeleteRule::Nullify)
        .toOne("person", "Person", "sourceRels", DeleteRule::Nullify)
        .toOne("event", "Event", "sourceRels", DeleteRule::Nullify)
        .toOne("picture", "Picture", "sourceRels", DeleteRule::Nullify);
    s.entity("Picture")
        .objectClass<FTPicture>()
        .attribute("filename", AttributeType::String)
        .attribute("originalFilename", AttributeType::String)
        .attribute("name", AttributeType::String)
        .attribute("date", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("seqNo", AttributeType::Integer32, 0)
        .attribute("rotation", AttributeType::Integer32, 0)
        .attribute("rclCut", AttributeType::String)
        .attribute("transcriptionData", AttributeType::Binary, {}, lazy)
        .attribute("numericId", AttributeType::Integer32, 0)
        .attribute("extraData", AttributeType::Binary)
        .attribute("thumbNailImageData", AttributeType::Binary, {}, lazy)
        .attribute("lastChange", AttributeType::Date)
        .toOne("owner", "Person", "pictures", DeleteRule::Nullify)
        .toOne("source", "Source", "picture", DeleteRule::Nullify, kHoldsKey)
        .toOne("defaultPictureOwner", "Person", "defaultPicture", DeleteRule::Nullify)
        .toOne("originalPicture", "OriginalPicture", "picture", DeleteRule::Cascade)
        .toOne("thumbnail", "Thumbnail", "picture", DeleteRule::Cascade)
        .toMany("sourceRels", "SourceRel", "picture", DeleteRule::Cascade);
    s.entity("OriginalPicture")
        .objectClass<FTOriginalPicture>()
        .attribute("data", AttributeType::Binary, {}, lazy)
        .toOne("picture", "Picture", "originalPicture", DeleteRule::Nullify, kHoldsKey);
    s.entity("Thumbnail")
        .objectClass<FTThumbnail>()
        .attribute("data", AttributeType::Binary, {}, lazy)
        .toOne("picture", "Picture", "thumbnail", DeleteRule::Nullify, kHoldsKey);
    s.entity("Story")
        .objectClass<FTStory>()
        .attribute("data", AttributeType::Binary, {}, lazy)
        .attribute("lastChange", AttributeType::Date)
        .toOne("person", "Person", "story", DeleteRule::Nullify, kHoldsKey);
    s.entity("ProjectView")
        .objectClass<FTProjectView>()
        .attribute("name", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("comments", AttributeType::String)
        .attribute("lastChange", AttributeType::Date)
        .toMany("persons", "Person", "projectViews", DeleteRule::Nullify)
        .toOne("rootPersonInAncestralView", "Person", "ancestralView", DeleteRule::Nullify, kHoldsKey)
        .toOne("modelDefaultCurrentView", "ModelDefaults", "currentView", DeleteRule::Nullify);
    s.entity("ModelDefaults")
        .objectClass<FTModelDefaults>()
        .attribute("maxPersonId", AttributeType::Integer32, 0)
        .attribute("maxEventId", AttributeType::Integer32, 0)
        .attribute("maxSpouseRelId", AttributeType::Integer32, 0)
        .attribute("maxPictureId", AttributeType::Integer32, 0)
        .attribute("maxSourceId", AttributeType::Integer32, 0)
        .attribute("extraData", AttributeType::Binary)
        .toOne("focalPerson", "Person", "modelDefaultFocalPerson", DeleteRule::Nullify, kHoldsKey)
        .toOne("selectedPerson", "Person", "modelDefaultSelectedPerson", DeleteRule::Nullify, kHoldsKey)
        .toOne("currentView", "ProjectView", "modelDefaultCurrentView", DeleteRule::Nullify, kHoldsKey);
    s.entity("EventType")
        .objectClass<FTEventType>()
        .attribute("name", AttributeType::String)
        .attribute("gedcomCode", AttributeType::String)
        .attribute("group", AttributeType::String)
        .attribute("lastChange", AttributeType::Date)
        .toMany("events", "Event", "eventType", DeleteRule::Nullify);
    s.entity("Association")
        .objectClass<FTAssociation>()
        .attribute("fromRelationship", AttributeType::String)
        .attribute("notes", AttributeType::String)
        .attribute("lastChange", AttributeType::Date)
        .toOne("fromPerson", "Person", "associationsTo", DeleteRule::Nullify)
        .toOne("toPerson", "Person", "associationsFrom", DeleteRule::Nullify);
    // sources-pictures: the keys the source, citation and picture classes compute.
    FTSource::declareDerivedKeys(s);
    FTSourceRel::declareDerivedKeys(s);
    FTPicture::declareDerivedKeys(s);
}

const StoreSchema& DOvurV6Schema()
{
    static const StoreSchema* schema = [] {
        auto* built = new StoreSchema(QStringLiteral("DOvurV6"));
        declareDOvurV6Entities(*built);
        built->finalize();
        return built;
    }();
    return *schema;
}
