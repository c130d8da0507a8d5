#include "editor/PcRelAssessment.h"

#include "model/FTPcRel.h"

void PcRelAssessment::resetToDefaults(FTPcRel* link)
{
    if (!link)
        return;
    link->setNotes(QString());
    link->setCertainty(50);
    link->setDirectEvidence(false);
    link->setIndirectEvidence(false);
    link->setPrimaryInformation(false);
    link->setSecondaryInformation(false);
    link->setOriginalSource(false);
    link->setDerivativeSource(false);
    link->setExtraData({});
}
