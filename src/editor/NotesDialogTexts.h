#pragma once

#include <QString>

class FTEvent;
class FTPerson;
class FTSpouseRel;

// The tab labels and headings of the notes dialogs: a tab that holds text is marked with an asterisk, and the
// couple's dialog reads "---" where there is no divorce to write about.
class NotesDialogTexts {
public:
    // The person's notes dialog: tab "1" notes, "2" comments, "3" birth notes, "4" death notes.
    static QString notesTabLabel(const QString& identifier, const FTPerson* person);
    // The text a tab of the person's notes dialog edits (empty for an unknown tab).
    static QString notesTabText(const QString& identifier, const FTPerson* person);

    // The couple's divorce event: the one other marriage event of subtype "DIV"; null when there is none or
    // several (then it cannot be told which one is meant).
    static FTEvent* divorceEventOf(const FTSpouseRel* couple);
    // The couple's dialog: tab "1" marriage notes, "2" divorce notes ("---" without a divorce event).
    static QString marriageTabLabel(const QString& identifier, const FTSpouseRel* couple, const FTEvent* divorce);
    static QString noDivorceLabel() { return QStringLiteral("---"); }

    // The couple's partners by gender: a partner whose gender is "MaleShort" is the husband, any other the wife.
    struct Partners {
        FTPerson* husband = nullptr;
        FTPerson* wife = nullptr;
    };
    static Partners partnersOf(const FTSpouseRel* couple);
    // "<husband with years>\n<m>. <wife with years>\non <date>\nat <place>" ("+. " without a marriage event).
    static QString marriageNotesTitle(const FTSpouseRel* couple);
    // "<husband> and <wife>".
    static QString couplesNames(const FTSpouseRel* couple);
};
