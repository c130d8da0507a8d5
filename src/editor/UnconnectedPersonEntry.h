#pragma once

#include <QString>

class FTMoc;
class FTPerson;

// A person added with no relatives: a name and a gender, nothing else.
//
//   if (FTPerson* p = UnconnectedPersonEntry::create(moc, typedName, typedGender))
//       UnconnectedPersonEntry::focusOn(p);
class UnconnectedPersonEntry {
public:
    // What is wrong with the typed values, as a "Localizable" key: "EnterNameTryAgain" for a name of blanks,
    // "GenderQualification" for a gender other than the male or female letter (in either case); empty when
    // they will do.
    static QString problemWith(const QString& name, const QString& gender);
    // The gender letter the typed text stands for ("m" is "M").
    static QString genderFor(const QString& typed);
    // Creates the person under the undo name "AddUnconnected <name>", the name trimmed; null, after the message
    // of problemWith(), when the values will not do.
    static FTPerson* create(FTMoc* moc, const QString& name, const QString& gender);
    // The new person becomes the focal person, in an undo step of its own named "FocusOn <name with years>".
    static void focusOn(FTPerson* person);
};
