#include "editor/ui/AddSameSexPartner.h"

#include "editor/PersonFields.h"
#include "editor/RelativeDialogTexts.h"
#include "editor/SameSexPartnership.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/PlaceField.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QGridLayout>
#include <QLabel>

AddSameSexPartner::AddSameSexPartner(FTMoc* moc, FTPerson* person, FTPerson* partner, QWidget* parent)
    : NewParentDialog(moc, PcRelTypesTable::ChildrenWithBirthYears, PcRelCleanup::NoMessage, parent)
    , m_person(person)
    , m_partner(partner)
{
    setObjectName(QStringLiteral("AddSameSexPartner"));
    setWindowTitle(RelativeDialogTexts::sameSexPartnerTitle(person));

    // The couple's date and place, once there is a couple.
    auto marriageValue = [this](const char* key) {
        return PersonFieldSet::Value {
            [this, key] {
                const FTEvent* marriage = m_spouseRel ? m_spouseRel->marriage() : nullptr;
                return !marriage ? QString() : QLatin1String(key) == QLatin1String("date") ? marriage->date() : marriage->place();
            },
            [this, key](const QString& value) {
                if (m_spouseRel && (m_spouseRel->marriage() || !value.isEmpty()))
                    m_spouseRel->setValueForKeyPath(QStringLiteral("marriage.") + QLatin1String(key), value);
            },
            [key](Dates::Field& field) {
                if (QLatin1String(key) == QLatin1String("place"))
                    return ValidatePlaceField(field.string());
                FieldValidation v;
                v.accepted = Dates::validateDateField(field, nullptr);
                v.text = field.string();
                return v;
            },
        };
    };
    grid()->addWidget(PersonFieldSet::fieldLabel(LocalizedString(QStringLiteral("PartnershipLabel"))), 3, 0);
    grid()->addWidget(fields().addValue(PartnershipDate, QStringLiteral("partnershipDate"), marriageValue("date")), 3, 1);
    grid()->addWidget(PersonFieldSet::fieldLabel(LocalizedString(QStringLiteral("SelfAt"))), 3, 2);
    fields().addValue(PartnershipPlace, QStringLiteral("partnershipPlace"), marriageValue("place"), true);
    grid()->addWidget(fields().placeField(PartnershipPlace), 3, 3, 1, 3);
    fields().field(PartnershipDate)->setToolTip(LocalizedHelpString(QStringLiteral("DateFormatHelp")));
    fields().enteredWithoutPerson = [this](int tag, const QString& value) {
        return tag != PersonFields::Name || nameEntered(value);
    };
    showPartner();
}

bool AddSameSexPartner::nameEntered(const QString& name)
{
    if (m_partner || name.isEmpty())
        return true;
    m_partner = SameSexPartnership::createPartner(m_person, name, &m_spouseRel);
    // A name the user discarded (people of that name exist) leaves the field empty for another.
    if (!m_partner)
        fields().field(PersonFields::Name)->setValue({});
    showPartner();
    return true;
}

void AddSameSexPartner::showPartner()
{
    if (m_partner && !m_spouseRel)
        for (FTSpouseRel* couple : m_partner->spouseRels())
            if (couple->partners().contains(m_person))
                m_spouseRel = couple;
    showParent(m_partner, RelativeDialogTexts::childLinksByBirthYear(m_partner));
    // Until the partner exists, its name is the only thing to type.
    for (int tag : { int(PersonFields::Gender), int(PersonFields::BirthDate), int(PersonFields::BirthPlace),
             int(PersonFields::DeathDate), int(PersonFields::DeathPlace), int(PartnershipDate), int(PartnershipPlace) })
        fields().field(tag)->setEnabled(m_partner != nullptr);
    tableViewLabel()->setText(RelativeDialogTexts::sameSexPartnerCaption(m_partner, m_person));
}
