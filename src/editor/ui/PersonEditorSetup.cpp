#include "editor/ui/PersonEditorSetup.h"

#include "editor/UnconnectedPersonEntry.h"
#include "editor/ui/AddAssociatedPerson.h"
#include "editor/ui/AddChildController.h"
#include "editor/ui/AddParentController.h"
#include "editor/ui/AddSameSexPartner.h"
#include "editor/ui/AddUnconnectedPersonController.h"
#include "editor/ui/AttachChildController.h"
#include "editor/ui/AttachParentController.h"
#include "editor/ui/AssociatedPersonDialog.h"
#include "editor/ui/AttachSpouseController.h"
#include "editor/ui/DisconnectPerson.h"
#include "editor/ui/FamilyDialogController.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Family.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Hierarchy.h"
#include "editor/ui/InfoArea_Notes.h"
#include "editor/ui/InfoArea_Pictures.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/InfoArea_Story.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/PcRelTypeController.h"
#include "editor/ui/SelectExistingPerson.h"
#include "editor/ui/SelectSpouseController.h"

#include "diagrams/DiagramHooks.h"

#include "shell/ui/AppController.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTPerson.h"
#include "model/ModelHooks.h"
#include "model/RelativeDialogs.h"

#include <QApplication>
#include <QMainWindow>
#include <QPointer>

namespace {
// The dialogs the family database opens while it adds and attaches relatives, each run modally.
class EditorRelativeDialogs : public RelativeDialogs {
public:
    void addChild(FTPerson* child) override
    {
        AddChildController dialog;
        dialog.setPPerson(child);
        dialog.run();
    }
    void addParent(FTPerson* child, FTPerson* parent, int pcRelType, FTPerson* spouse) override
    {
        AddParentController dialog(parent ? parent->moc() : nullptr);
        dialog.setPParent(parent);
        dialog.setPChild(child);
        dialog.setPSpouse(spouse);
        dialog.setParentToChildPcRelType(pcRelType);
        dialog.run();
    }
    void attachExistingPersonAsChild(FTPerson* parent) override
    {
        AttachChildController dialog;
        dialog.setParentPerson(parent);
        dialog.run();
    }
    void attachExistingPersonAsParent(FTPerson* child) override
    {
        AttachParentController dialog(child ? child->moc() : nullptr);
        dialog.setChild(child);
        dialog.run();
    }
    // The spouse of the database's focal person, whoever the command was given on.
    void attachExistingPersonAsSpouse(FTPerson* person, bool sameSex) override
    {
        AttachSpouseController dialog(person ? person->moc() : nullptr, sameSex);
        dialog.run();
    }
    void family(FTPerson* person, FTPerson* spouse) override
    {
        FamilyDialogController dialog(person, spouse, person ? person->moc() : nullptr);
        dialog.run();
    }
    // The front database's person editor.
    bool isShowingFamilyPage() const override
    {
        const auto& page = ModelHooks::shared().personEditorPage;
        return page && page() == QLatin1String("pFamily2");
    }
};

DOvurDocument* documentOf(const FTMoc* moc)
{
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == moc)
            return doc;
    return nullptr;
}

EditorRelativeDialogs& relationshipDialogs()
{
    static EditorRelativeDialogs dialogs;
    return dialogs;
}
}

void installPersonEditor()
{
    // One line per page.
    InfoAreaController::setPageFactory(QStringLiteral("pSelf"), [](InfoAreaController&) { return new InfoArea_Self; });
    InfoAreaController::setPageFactory(QStringLiteral("pNotes"), [](InfoAreaController&) { return new InfoArea_Notes; });
    InfoAreaController::setPageFactory(QStringLiteral("pComments"),
                                       [](InfoAreaController&) { return new InfoArea_Comments; });
    InfoAreaController::setPageFactory(QStringLiteral("pStory"), [](InfoAreaController&) { return new InfoArea_Story; });
    InfoAreaController::setPageFactory(QStringLiteral("pPictures"),
                                       [](InfoAreaController&) { return new InfoArea_Pictures; });
    InfoAreaController::setPageFactory(QStringLiteral("pEvents"), [](InfoAreaController&) { return new InfoArea_Events; });
    InfoAreaController::setPageFactory(QStringLiteral("pFamily2"), [](InfoAreaController&) { return new InfoArea_Family2; });
    InfoAreaController::setPageFactory(QStringLiteral("pRelatives"),
                                       [](InfoAreaController&) { return new InfoArea_Relatives; });
    InfoAreaController::setPageFactory(QStringLiteral("pFamily"), [](InfoAreaController&) { return new InfoArea_Family; });
    InfoAreaController::setPageFactory(QStringLiteral("pAncestors"),
                                       [](InfoAreaController&) { return new InfoArea_Hierarchy(true); });
    InfoAreaController::setPageFactory(QStringLiteral("pDescendants"),
                                       [](InfoAreaController&) { return new InfoArea_Hierarchy(false); });

    DOvurDocument::setPersonEditorFactory([](DOvurDocument&) { return new InfoAreaController; });
    ModelHooks::shared().personEditorPage = [] {
        DOvurDocument* doc = DocumentController::shared().currentDocument();
        auto* editor = doc ? qobject_cast<InfoAreaController*>(doc->pInfoArea()) : nullptr;
        return editor ? editor->visiblePageIdentifier() : QString();
    };
    // The notes dialog of the hierarchy diagram's details window.
    DiagramHooks::shared().notesDialog = [](FTPerson* person, const QString& initialTab) {
        NotesDialog dialog;
        dialog.setOwner(person, initialTab, false);
        dialog.present(NotesWindow::Modal, QApplication::activeWindow());
    };
}

void installRelationshipDialogs()
{
    RelativeDialogs::install(&relationshipDialogs());
    DiagramHooks& hooks = DiagramHooks::shared();
    hooks.pcRelTypeDialog = [](FTPerson* parent, FTPerson* child) {
        PcRelTypeController dialog(parent, child);
        dialog.run();
    };
    hooks.addSameSexPartner = [](FTPerson* person) {
        AddSameSexPartner dialog(person ? person->moc() : nullptr, person, nullptr);
        dialog.run();
    };
    hooks.selectSpouse = [](FTPerson* person) {
        SelectSpouseController dialog(person);
        dialog.run();
        return dialog.spouse();
    };
    hooks.disconnectPerson = [](FTPerson* person) {
        DOvurDocument* doc = person ? documentOf(person->moc()) : nullptr;
        if (doc && doc->dovurWindow()) {
            doc->prepareForCommand();
            doc->beginSheet(new DisconnectPerson(person));
        } else if (person) {
            DisconnectPerson dialog(person);
            dialog.run();
        }
    };
    hooks.associatedPersonDialog = [](FTPerson* associated, FTPerson* person) {
        AssociatedPersonDialog dialog(associated, person);
        dialog.run();
    };
    // The menu's commands: the association is always made from the focal person.
    hooks.addAssociatedPerson = [](FTPerson*) { addAssociatedPerson(); };
    hooks.attachExistingPersonAsAssociatedPerson = [](FTPerson*) { attachExistingPersonAsAssociatedPerson(); };
}

void uninstallRelationshipDialogs()
{
    if (RelativeDialogs::current() == &relationshipDialogs())
        RelativeDialogs::install(nullptr);
    DiagramHooks& hooks = DiagramHooks::shared();
    hooks.pcRelTypeDialog = nullptr;
    hooks.addSameSexPartner = nullptr;
    hooks.selectSpouse = nullptr;
    hooks.disconnectPerson = nullptr;
    hooks.associatedPersonDialog = nullptr;
    hooks.addAssociatedPerson = nullptr;
    hooks.attachExistingPersonAsAssociatedPerson = nullptr;
}

void registerPersonEditorMenuItems(AppController& controller)
{
    controller.addMenuItem(QStringLiteral("People"), QStringLiteral("Add Unconnected Person..."), [] { addUnconnectedPerson(); });
    controller.addMenuItem(QStringLiteral("People"), QStringLiteral("Add Associated Person..."), [] { addAssociatedPerson(); });
    controller.addMenuItem(QStringLiteral("People"), QStringLiteral("Attach Existing Person as Associated Person..."),
                           [] { attachExistingPersonAsAssociatedPerson(); });
}

void addAssociatedPerson()
{
    DOvurDocument* doc = AppController::documentForCommand();
    if (!doc)
        return;
    auto* sheet = new AddAssociatedPerson(doc->moc());
    QPointer<DOvurDocument> document(doc);
    QObject::connect(sheet, &QDialog::finished, sheet, [sheet, document] {
        if (document)
            AppController::personAdded(*document, sheet->person(), PeopleCommands::AddedAs::Associated);
    });
    doc->beginSheet(sheet);
}

void attachExistingPersonAsAssociatedPerson()
{
    AppController::attachExistingPersonAsAssociatedPerson(
        [](FTMoc* moc) {
            SelectExistingPerson dialog(moc);
            dialog.run();
            return dialog.selectedPerson();
        },
        [](FTAssociation* made) {
            AssociatedPersonDialog dialog(made);
            dialog.run();
        });
}

void addUnconnectedPerson()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->dovurWindow())
        return;
    doc->prepareForCommand();
    auto* sheet = new AddUnconnectedPersonController(doc->moc());
    QPointer<DOvurDocument> document(doc);
    QObject::connect(sheet, &QDialog::finished, sheet, [sheet, document] {
        FTPerson* person = sheet->person();
        if (!person || !document)
            return;
        if (PersonEditorPane* editor = document->pInfoArea())
            editor->showFirstPage();
        UnconnectedPersonEntry::focusOn(person);
    });
    doc->beginSheet(sheet);
}
