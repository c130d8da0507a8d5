#pragma once

#include <QString>

class FTPerson;

// The small pieces that relationship labels are made of, shared by the relatives lists, the event rows and the
// kinship tree.
namespace RelationshipWords {
// The localised "Foster", "Adopted" or "Step" for link types 4, 8 and 2; empty for any other type.
QString typeWord(int pcRelType);
// "<type word> <word>", or the bare word when the type has no word ("Adopted Son", "Mother").
QString withTypeWord(int pcRelType, const QString& word);
// `male`, `female` or `neither` by the person's gender text (a null person is neither).
QString byGender(const FTPerson* person, const QString& male, const QString& female, const QString& neither);
}
