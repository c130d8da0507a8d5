#include "diagrams/FamilyDiagramCommands.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/RelativeDialogs.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

DiagramHooks& hooks()
{
    return DiagramHooks::shared();
}

// The attach dialogs belong to the person editor; the model opens them through RelativeDialogs.
RelativeDialogs* attachDialogs()
{
    RelativeDialogs* dialogs = RelativeDialogs::current();
    if (!dialogs)
        DiagramHooks::sayNotAvailable(L("AttachExistingPersonWindow"));
    return dialogs;
}

int birthYear(const FTPerson* person)
{
    return person->birth() ? person->birth()->year() : 0;
}
}

FamilyDiagramCommands::FamilyDiagramCommands(Host& host)
    : m_host(host)
{
}

DiagramMenu FamilyDiagramCommands::popupMenu(CdPerson* box) const
{
    DiagramMenuBuilder::FamilyState state;
    state.moc = m_host.moc();
    state.openDatabases = m_host.openDatabases();
    if (hooks().imagesOnClipboard)
        state.imagesOnClipboard = hooks().imagesOnClipboard(state.moc);
    return DiagramMenuBuilder::familyMenu(box, state);
}

void FamilyDiagramCommands::perform(const DiagramMenuItem& item)
{
    FTPerson* person = item.person();
    // A menu opened over a box that an undo has since taken away acts on nobody.
    const CdPerson* box = item.box() ? item.box() : (item.copyRequest() ? item.copyRequest()->targetCdPerson : nullptr);
    if ((person && person->isDeleted()) || (box && box->person() && box->person()->isDeleted()))
        return;
    switch (item.action) {
    case Action::SaveCdDiagram:
        return saveCdDiagram();
    case Action::DisplayScratchPad:
        return displayScratchPad();
    case Action::PeopleIndexWindow:
        return peopleIndexWindow();
    case Action::SetUserPreferences:
        return setUserPreferences();
    case Action::AttachExistingPersonAsChild:
        return attachExistingPersonAsChild(person);
    case Action::AttachExistingPersonAsParent:
        return attachExistingPersonAsParent(person);
    case Action::AttachExistingPersonAsSpouse:
        return attachExistingPersonAsSpouse(person);
    case Action::AttachExistingPersonAsSameSexSpouse:
        return attachExistingPersonAsSameSexSpouse(person);
    case Action::AttachExistingPersonAsAssociatedPerson:
        return attachExistingPersonAsAssociatedPerson(person);
    case Action::AddAssociatedPerson:
        return addAssociatedPerson(person);
    case Action::AddSameSexSpouse:
        return addSameSexSpouse(person);
    case Action::DisconnectPerson:
        return disconnectPerson(person);
    case Action::HelpForChangeGender:
        return helpForChangeGender(person);
    case Action::DeletePerson:
        return deletePerson(item.box());
    case Action::PromoteToFocalPerson:
        return promoteToFocalPerson(person);
    case Action::InvokeAssociatedPersonDialogFor:
        return invokeAssociatedPersonDialogFor(item.box());
    case Action::AttachPersonToActiveSource:
        return attachPersonToActiveSource(person);
    case Action::AddPersonToProjectView:
        return addPersonToProjectView(person);
    case Action::ActiveEventClone:
        return activeEventClone(item.event());
    case Action::TodoAdd:
        return todoAdd();
    case Action::InvokeHierarchyDiagram:
        return invokeHierarchyDiagram(person);
    case Action::MergeSelectedPersonFromAnotherDatabase:
        return mergeSelectedPersonFromAnotherDatabase(person);
    case Action::Paste:
        return paste(person);
    case Action::AttachExistingPerson:
        return attachExistingPerson(item.box());
    case Action::CopyPersonFromOtherModel:
        return copyPersonFromOtherModel(item.copyRequest());
    default:
        return;
    }
}

// ---- Deleting and disconnecting --------------------------------------------------------------------------------

void FamilyDiagramCommands::deletePerson(CdPerson* box)
{
    FTMoc* moc = m_host.moc();
    FTPerson* p = box ? box->person() : nullptr;
    if (!moc || !p || p->isDeleted())
        return;
    FTModelDefaults* defaults = moc->modelDefaults();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    const QString undoName = QStringLiteral("%1 %2").arg(L("Delete"), p->nameWithBirthAndDeathYears());

    if (p == defaults->focalPerson() && p->isUnconnected()) {
        FTPerson* next = m_host.previousFocalPerson();
        if (!next || next == p || next->isDeleted()) {
            next = moc->firstPersonInDatabaseWhoIsNot(p);
            if (!next) {
                DisplayMsg(QStringLiteral("You cannot delete the last person in the database"));
                return;
            }
            DisplayMsg(QStringLiteral("Deleting %1, The next Focal Person wil be = %2").arg(p->name(), next->name()));
        }
        // Every view lets go of the person (this diagram drops its boxes) before it goes.
        center.post(QStringLiteral("PersonToBeDeleted"), p, moc);
        moc->undoManager()->setActionName(undoName);
        moc->setFocalPerson(next);
        moc->setSelectedPerson(next);
        moc->undoManager()->setActionName(undoName);
        moc->deleteObject(p);
    } else {
        // Read before the question: its event loop may rebuild the diagram, and the box with it.
        FTPerson* owner = box->owner() ? box->owner()->person() : nullptr;
        box = nullptr;
        if (!Utils::confirmDeletionOfPerson(p))
            return;
        if (p == defaults->selectedPerson())
            m_host.setSelectedPerson(owner ? owner : defaults->focalPerson());
        center.post(QStringLiteral("PersonToBeDeleted"), p, moc);
        moc->undoManager()->setActionName(undoName);
        moc->deleteObject(p);
        moc->saveMoc();
        center.post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    }
    m_host.setRefreshArray(true);
}

void FamilyDiagramCommands::disconnectPerson(FTPerson* person)
{
    if (!person || !m_host.moc())
        return;
    if (DiagramHooks::isAvailable(hooks().disconnectPerson, L("DisconnectPersonWindow")))
        hooks().disconnectPerson(person);
}

// ---- Attaching existing people ---------------------------------------------------------------------------------

void FamilyDiagramCommands::attachExistingPerson(CdPerson* emptySlot)
{
    if (!emptySlot || emptySlot->person() || !emptySlot->owner())
        return;
    FTPerson* owner = emptySlot->owner()->person();
    if (!owner)
        return;
    RelativeDialogs* dialogs = attachDialogs();
    if (!dialogs)
        return;
    switch (emptySlot->ancLevel()) {
    case CdPerson::kSpouse:
        owner->invokeAttachExistingPersonAsSpouseDialog(false);
        break;
    case CdPerson::kChild:
        owner->invokeAttachExistingPersonAsChildDialog();
        break;
    default:
        owner->invokeAttachExistingPersonAsParentDialog();
        break;
    }
}

void FamilyDiagramCommands::attachFromPerson(FTPerson* person, Action which)
{
    if (!person)
        return;
    if (birthYear(person) == 0) {
        DisplayMsg(QStringLiteral("Please enter a birth date for %1 and try again.\n\nAn approximate birth year all that "
                                  "is really needed. You may enter an approximate year by prefixing it with about, "
                                  "abt, circa or c")
                       .arg(person->name()));
        return;
    }
    if (!attachDialogs())
        return;
    switch (which) {
    case Action::AttachExistingPersonAsChild:
        person->invokeAttachExistingPersonAsChildDialog();
        break;
    case Action::AttachExistingPersonAsParent:
        person->invokeAttachExistingPersonAsParentDialog();
        break;
    case Action::AttachExistingPersonAsSpouse:
        person->invokeAttachExistingPersonAsSpouseDialog(false);
        break;
    default:
        person->invokeAttachExistingPersonAsSpouseDialog(true);
        break;
    }
}

void FamilyDiagramCommands::attachExistingPersonAsChild(FTPerson* person)
{
    attachFromPerson(person, Action::AttachExistingPersonAsChild);
}

void FamilyDiagramCommands::attachExistingPersonAsParent(FTPerson* person)
{
    attachFromPerson(person, Action::AttachExistingPersonAsParent);
}

void FamilyDiagramCommands::attachExistingPersonAsSpouse(FTPerson* person)
{
    attachFromPerson(person, Action::AttachExistingPersonAsSpouse);
}

void FamilyDiagramCommands::attachExistingPersonAsSameSexSpouse(FTPerson* person)
{
    attachFromPerson(person, Action::AttachExistingPersonAsSameSexSpouse);
}

void FamilyDiagramCommands::addAssociatedPerson(FTPerson* person)
{
    if (!person)
        return;
    if (DiagramHooks::isAvailable(hooks().addAssociatedPerson, L("AddAssociatedPersonWindow")))
        hooks().addAssociatedPerson(person);
}

void FamilyDiagramCommands::attachExistingPersonAsAssociatedPerson(FTPerson* person)
{
    if (!person)
        return;
    if (DiagramHooks::isAvailable(hooks().attachExistingPersonAsAssociatedPerson, L("AttachAssociatedPersonWindow")))
        hooks().attachExistingPersonAsAssociatedPerson(person);
}

void FamilyDiagramCommands::addSameSexSpouse(FTPerson* person)
{
    if (!person || !DiagramHooks::isAvailable(hooks().addSameSexPartner, L("AddSameSexPartnerWindow")))
        return;
    hooks().addSameSexPartner(person);
    m_host.setRefreshArray(true);
}

void FamilyDiagramCommands::copyPersonFromOtherModel(const CdCopyRequest* request)
{
    if (request) {
        if (!request->sourcePerson || !request->targetCdPerson || !request->sourceDocument
            || !request->targetDocument)
            return;
        if (!DiagramHooks::isAvailable(hooks().copyPersonFromOtherModel, L("CopyPersonWindow")))
            return;
        hooks().copyPersonFromOtherModel(request->sourcePerson, request->targetCdPerson, request->sourceDocument,
                                         request->targetDocument);
        m_host.setRefreshArray(true);
        return;
    }
    // Offered while a copy cannot be made yet: how to make one.
    const qsizetype open = m_host.openDatabases().size();
    if (open > 2) {
        const qsizetype extra = open - 2;
        DisplayMsg(QStringLiteral("You currently have %1 databases open and %2 database%3 must be closed for this "
                                  "function to work.")
                       .arg(open)
                       .arg(extra)
                       .arg(extra > 1 ? QStringLiteral("s") : QString()));
    }
    Utils::displayMsgWithTitle(
        QStringLiteral("To copy a person from another database"),
        QStringLiteral(
            "Step 1. Open a second (source) database and select the person to be copied.  The Selected Person in the "
            "source database must have a birth year - an approximate year will do.\n\nStep 2. In the target "
            "database double click on the person to whom you want to attach the source person.  The Selected "
            "Person in the target database must also have a birth year - an approximate year will do.\n\nStep 3. "
            "In the target database Right Click on the ghost box where the source person is to be inserted. It may "
            "be a ghost box for a child, a spouse or a parent.\n\nStep 4. Decide which of the source person's "
            "Ancestors (or Descendants) you want included in the copy.\n\nStep 5. Execute the copy.\n\n"));
}

// ---- Sources, events, project views ----------------------------------------------------------------------------

void FamilyDiagramCommands::attachPersonToActiveSource(FTPerson* person)
{
    FTMoc* moc = m_host.moc();
    if (!moc || !person)
        return;
    FTSource* source = moc->activeSource();
    if (!source) {
        if (Utils::askToActivateSource() && DiagramHooks::isAvailable(hooks().sourcesWindow, L("SourcesWindow")))
            hooks().sourcesWindow(moc);
        return;
    }
    person->addReferenceToSource(source);
}

void FamilyDiagramCommands::activeEventClone(FTEvent* event)
{
    FTMoc* moc = m_host.moc();
    if (!moc || !event || event->isDeleted() || event->type() != FTEvent::OtherPersonalEvent)
        return;
    FTPerson* selected = moc->modelDefaults()->selectedPerson();
    if (!selected || selected->isDeleted())
        return;
    FTEvent* clone = FTEvent::cloneEvent(event, selected);
    if (!clone)
        return;
    if (const int n = clone->cloneSourceRefsfromEvent(event))
        DisplayMsg(QStringLiteral("%1 Source References have also been cloned.").arg(n));
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    m_host.showEventInEditor(clone);
}

void FamilyDiagramCommands::addPersonToProjectView(FTPerson* person)
{
    FTMoc* moc = m_host.moc();
    FTProjectView* view = moc ? moc->projectView() : nullptr;
    if (!person || !view)
        return;
    if (view->rootPersonInAncestralView()) {
        DisplayMsg(QStringLiteral("You cannot manually add people to an Ancestral View.\n\nAn Ancestral View is "
                                  "calculated automatically for the ancestors of the root person."));
        return;
    }
    if (view->storedPersons().contains(person))
        view->removePersonsObject(person);
    else
        view->addPersonsObject(person);
    m_host.setRefreshArray(true);
}

// ---- Windows ---------------------------------------------------------------------------------------------------

void FamilyDiagramCommands::invokeHierarchyDiagram(FTPerson* person)
{
    if (person && DiagramHooks::isAvailable(hooks().hierarchyDiagram, L("HierarchyDiagramWindow")))
        hooks().hierarchyDiagram(person, true);
}

void FamilyDiagramCommands::invokePcRelDialog(FTPerson* parent, FTPerson* child)
{
    if (!parent || !child || !DiagramHooks::isAvailable(hooks().pcRelTypeDialog, L("PcRelTypeDialogWindow")))
        return;
    hooks().pcRelTypeDialog(parent, child);
    m_host.setRefreshArray(true);
}

void FamilyDiagramCommands::invokeFamilyDialog(FTPerson* person, FTPerson* spouse)
{
    if (!person || !spouse)
        return;
    if (!RelativeDialogs::current()) {
        DiagramHooks::sayNotAvailable(L("FamilyDialogWindow"));
        return;
    }
    person->invokeFamilyDialogForSpouse(spouse);
    m_host.setRefreshArray(true);
}

void FamilyDiagramCommands::invokeAssociatedPersonDialogFor(CdPerson* box)
{
    FTPerson* associated = box ? box->person() : nullptr;
    FTPerson* owner = box && box->owner() ? box->owner()->person() : nullptr;
    if (!associated || !owner
        || !DiagramHooks::isAvailable(hooks().associatedPersonDialog, L("AssociatedPersonWindow")))
        return;
    hooks().associatedPersonDialog(associated, owner);
    m_host.setRefreshArray(true);
}

void FamilyDiagramCommands::displayPersonalTimeline()
{
    DisplayMsg(QStringLiteral("This function is not yet available"));
}

void FamilyDiagramCommands::editDefaultImageForPerson(FTPerson* person)
{
    if (!person)
        return;
    const QList<FTPicture*> pictures = person->picturesArray();
    const int at = m_host.cdLayout().pictureState().gPicNum;
    if (at < 0 || at >= pictures.size())
        return;
    if (DiagramHooks::isAvailable(hooks().pictureEditor, L("PictureEditorWindow")))
        hooks().pictureEditor(person, pictures[at]);
}

void FamilyDiagramCommands::paste(FTPerson* person)
{
    FTMoc* moc = m_host.moc();
    if (!moc || !person
        || !DiagramHooks::isAvailable(hooks().addPicturesFromClipboard, L("ClipboardPicturesWindow")))
        return;
    const QList<FTPicture*> added = hooks().addPicturesFromClipboard(person);
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), person, moc);
    if (added.isEmpty()) {
        DisplayMsg(QStringLiteral("No images found in clipboard."));
    } else if (added.size() == 1) {
        FTPicture* picture = added.first();
        if (DiagramHooks::isAvailable(hooks().pictureTitle, L("PictureTitleWindow")))
            hooks().pictureTitle(picture, picture, person);
        if (DiagramHooks::isAvailable(hooks().pictureEditor, L("PictureEditorWindow")))
            hooks().pictureEditor(picture->owner() ? picture->owner() : person, picture);
    } else {
        DisplayMsg(QStringLiteral("%1 image/sound file%2 added to %3")
                       .arg(added.size())
                       .arg(added.size() > 1 ? QStringLiteral("s") : QString(), person->name()));
    }
}

void FamilyDiagramCommands::saveCdDiagram()
{
    if (FTMoc* moc = m_host.moc(); moc && DiagramHooks::isAvailable(hooks().saveDiagram, L("SaveDiagramWindow")))
        hooks().saveDiagram(moc);
}

void FamilyDiagramCommands::showMe(CdPerson* box)
{
    FTPerson* person = box ? box->person() : nullptr;
    if (person)
        Utils::showMe(person->nameWithBirthAndDeathYears(), person->nameWithBirthMarriageAndDeathInfoPlusNotesAndComments());
}

void FamilyDiagramCommands::helpForChangeGender(FTPerson* person)
{
    if (person)
        Utils::displayMsgWithTitle(
            L("ChangeGenderTitle"),
            QStringLiteral("%1 \"%2\" %3").arg(L("ChangeGenderInfo1"), person->name(), L("ChangeGenderInfo2")));
}

void FamilyDiagramCommands::displayScratchPad()
{
    if (FTMoc* moc = m_host.moc(); moc && DiagramHooks::isAvailable(hooks().scratchPad, L("ScratchPadWindow")))
        hooks().scratchPad(moc);
}

void FamilyDiagramCommands::peopleIndexWindow()
{
    if (FTMoc* moc = m_host.moc(); moc && DiagramHooks::isAvailable(hooks().peopleIndex, L("PeopleIndexWindow")))
        hooks().peopleIndex(moc);
}

void FamilyDiagramCommands::setUserPreferences()
{
    if (DiagramHooks::isAvailable(hooks().preferences, L("PreferencesWindow")))
        hooks().preferences();
}

void FamilyDiagramCommands::todoAdd()
{
    FTMoc* moc = m_host.moc();
    FTPerson* selected = moc ? moc->modelDefaults()->selectedPerson() : nullptr;
    if (selected && DiagramHooks::isAvailable(hooks().todoAdd, L("ToDoWindow")))
        hooks().todoAdd(selected);
}

void FamilyDiagramCommands::mergeSelectedPersonFromAnotherDatabase(FTPerson* person)
{
    if (person
        && DiagramHooks::isAvailable(hooks().mergeSelectedPersonFromAnotherDatabase, L("MergePersonWindow")))
        hooks().mergeSelectedPersonFromAnotherDatabase(person);
}

void FamilyDiagramCommands::promoteToFocalPerson(FTPerson* person)
{
    if (person && !person->isDeleted() && m_host.moc())
        m_host.setFocalPerson(person);
}
