#pragma once

#include <QString>

class FTPerson;
class FTSpouseRel;

// A partner of the person's own gender, made when the name is typed into the same-sex partner dialog: the
// partner, the couple and a step link from the partner to each of the person's natural children.
//
//   FTSpouseRel* couple = nullptr;
//   if (FTPerson* partner = SameSexPartnership::createPartner(anne, "Mary Jones", &couple)) ...
class SameSexPartnership {
public:
    // Makes the partner named `name` (already checked) with the person's gender, joins the two as a couple
    // (without the warning about a couple of one sex: it is what the user asked for) and links the person's
    // natural children to the partner as step children (a child who is the partner's ancestor is left out).
    // Null, with nothing made, when the user discards the name because people of that name exist.
    static FTPerson* createPartner(FTPerson* person, const QString& name, FTSpouseRel** couple = nullptr);
};
