#pragma once

#include <QString>

class FTAssociation;
class FTMoc;
class FTPerson;

// What the associated-people dialogs do to the database.
//
//   FTPerson* godfather = AssociatedPeople::addAssociatedPerson(moc, "Karl Weber", "M", "Godfather", "");
class AssociatedPeople {
public:
    // A new person, and an association from the database's focal person to that person with the relationship
    // text and the notes trimmed. A name that is blank once trimmed ("EmptyNameTryAgain") or a gender other
    // than the two short forms, in either case ("GenderQualification"), makes nothing: null after the message.
    static FTPerson* addAssociatedPerson(FTMoc* moc, const QString& name, const QString& gender,
                                         const QString& description, const QString& notes);
    // The first association between the two, made from either; null when there is none.
    static FTAssociation* associationBetween(const FTPerson* first, const FTPerson* second);
    // Deletes the association, then offers to delete each of its two people who is now linked to nobody and is
    // not the focal person (the one it was made from first). Answers how many people were deleted.
    static int deleteAssociation(FTAssociation* association);
};
