#include "editor/ui/InfoArea_Family.h"

#include "editor/RelativesPageRows.h"

#include "model/FTPerson.h"

InfoArea_Family::InfoArea_Family(QWidget* parent)
    : InfoArea_Relatives(parent)
{
    setShowsSwitches(false);
}

QList<Relative> InfoArea_Family::createRelsArray(long* count)
{
    *count = -1;
    return RelativesPageRows::family(selectedPerson() && !selectedPerson()->isDeleted() ? selectedPerson() : nullptr);
}

QString InfoArea_Family::columnHeading() const
{
    return RelativesPageRows::familyHeading(selectedPerson());
}
