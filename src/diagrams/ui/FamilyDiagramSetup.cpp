#include "diagrams/ui/FamilyDiagramSetup.h"

#include "diagrams/ui/CdDiagram.h"

#include "shell/ui/DOvurDocument.h"

void installFamilyDiagram()
{
    DOvurDocument::setDiagramFactory([](DOvurDocument& document) { return new CdDiagram(&document); });
}
