#pragma once

class FTPerson;
class FTSourceRel;

// Making the person behind a citation the focal person, as the active source panel and the review of a source's
// citations offer it. The person is the citation's own person, or the person who owns its event; for an event
// of a couple the user picks the husband or the wife by their first names ("promoteHusbandOrWife"). A couple
// without both partners, a citation of a picture or of nothing, and a deleted citation promote nobody.
//
//   if (FTPerson* p = CitationOwnerPromotion::promoteToFocalPerson(citation)) ... the diagram refocuses on p
class CitationOwnerPromotion {
public:
    // The person made focal, or null when nobody was.
    static FTPerson* promoteToFocalPerson(FTSourceRel* citation);
};
