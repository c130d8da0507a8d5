#include "editor/ui/AddParentController.h"

#include "editor/PersonFields.h"
#include "editor/RelativeDialogTexts.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QLabel>

AddParentController::AddParentController(FTMoc* moc, QWidget* parent)
    : NewParentDialog(moc, PcRelTypesTable::Children, PcRelCleanup::ChildIsFocalPerson, parent)
{
    setObjectName(QStringLiteral("AddParent"));
    tableViewLabel()->setText(LocalizedString(QStringLiteral("AddParentCaption")));
}

void AddParentController::setPParent(FTPerson* parent)
{
    m_parent = parent;
}

void AddParentController::setPChild(FTPerson* child)
{
    m_child = child;
}

void AddParentController::setPSpouse(FTPerson* spouse)
{
    m_spouse = spouse;
}

void AddParentController::windowDidLoad()
{
    showParent(m_parent, RelativeDialogTexts::childLinksByName(m_parent));
    // The gender of a partner in a couple is changed where the couple is seen, not here.
    fields().field(PersonFields::Gender)->setEnabled(m_parent && m_parent->spouses().isEmpty());
    const int style = int(UserDefaults::standard().integerForKey(QStringLiteral("familyLabelStyle")));
    setWindowTitle(RelativeDialogTexts::addParentTitle(m_child, m_spouse, style));
}

int AddParentController::run()
{
    windowDidLoad();
    return NewParentDialog::run();
}
