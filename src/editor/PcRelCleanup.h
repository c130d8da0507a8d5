#pragma once

#include <QList>
#include <QString>

class FTPcRel;
class ObjectContext;

// The parent-child links that a relationship dialog's type pop-ups set, and those it deletes when it closes.
//
// The add-parent and same-sex partner dialogs show only links just made for a new parent, so on closing every
// one of them that is "Not Related" (4096) or has no type (0) goes. The add-child dialog also shows any person's
// details from the person editor, whose parent links may have been stored as unknown or not related long ago:
// it deletes only the links that the user set to "Not Related" in the dialog and left so.
//
// Deleting a link that joins the focal person to the other person first says that the other person will no
// longer be shown in the family diagram (the add-child and add-parent dialogs).
//
//   PcRelCleanup cleanup(PcRelCleanup::ParentOfFocalPerson);
//   cleanup.setStringPcRelType(link, LocalizedString("Not Related"));   // the pop-up's choice
//   cleanup.deleteChosenLinks();                                          // on closing
class PcRelCleanup {
public:
    enum Message {
        NoMessage,
        // The deleted link's parent is the focal person: "<child>" personNotDisplayed "<parent>".
        ParentIsFocalPerson,
        // The deleted link's child is the focal person: "<parent>" personNotDisplayed "<child>".
        ChildIsFocalPerson,
    };

    explicit PcRelCleanup(Message message = NoMessage)
        : m_message(message)
    {
    }

    // The pop-up's choice for the link, written through FTPcRel::setStringPcRelType (which refuses a second
    // natural parent of one gender, with a message). A link changed to "Not Related" is remembered.
    void setStringPcRelType(FTPcRel* link, const QString& word);

    // Deletes the remembered links that are still "Not Related"; answers how many went.
    int deleteChosenLinks();
    // Deletes every link of `links` that is "Not Related" or has no type; answers how many went.
    int deleteUnwantedLinks(const QList<FTPcRel*>& links);

private:
    void deleteLink(FTPcRel* link);

    Message m_message;
    // By context and key: a link deleted meanwhile (an undo) is not found again.
    QList<std::pair<ObjectContext*, qint64>> m_setNotRelated;
};
