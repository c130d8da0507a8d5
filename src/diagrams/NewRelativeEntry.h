#pragma once

#include <QString>

#include <functional>

class CdPerson;
class FTPerson;

// What the family diagram's entry box does with its text: the prompt it opens with on an empty slot, the split of
// "<name>, <gender letter>" and the making of the new relative. The window (CdEditBox) only shows the text and
// forwards Return.
//
//   box.setPlainText(NewRelativeEntry::promptString(slot, layout.findPerson(moc->selectedPerson())));
//   FTPerson* added = NewRelativeEntry::createNewPerson(owner, slot->ancLevel(), slot->pcRelType(), text);
namespace NewRelativeEntry {
// "<family name>, <gender>": the family name the new relative most likely has (a child's from the father, a
// father's from the child; none for a spouse, a mother or a step parent) and the slot's gender. A step parent's
// slot proposes the gender opposite to the selected parent's (`selectedBox`, when it is a natural parent's box), so
// that the newcomer partners that parent. A slot without an owner person gives the localised "SomethingWrong".
QString promptString(const CdPerson* slot, const CdPerson* selectedBox);

// Splits "<name>, <gender letter>": the name trimmed, the gender upper-cased and trimmed. Refused with a message: no
// comma, a gender that is neither "M" nor "F" (localised "MaleShort", "FemaleShort") or an empty name: the message
// says what to type. A third part is reported and left out.
bool extractNameAndGender(const QString& text, QString* name, QString* gender);

// Makes the person typed into an empty slot of `owner`'s: `kind` is the slot's ancLevel (-1 a child, -2 a spouse,
// else a parent: natural with `pcRelType` 1, else a step parent). The gender is confirmed against the name's usual
// one, a spouse of the owner's own gender is refused ("SameSexUnion"), and the user may discard a duplicate name.
// `showText` is given the cleaned text ("<name>, <gender>") before the duplicate question. The model's creators
// link the newcomer and run their dialogs; the undo step is named "Add <name>" and "AddedChildInPcd",
// "AddedSpouseInPcd" or "AddedParentInPcd" is posted with the new person. Null when nobody was made (the user was
// told why, or cancelled); `told` says whether a message already told why (a wrongly typed text, a partner of the
// owner's sex), so that the caller adds none of its own.
FTPerson* createNewPerson(FTPerson* owner, long kind, int pcRelType, const QString& text,
                          const std::function<void(const QString&)>& showText = {}, bool* told = nullptr);
}
