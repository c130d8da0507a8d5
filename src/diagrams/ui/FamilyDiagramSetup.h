#pragma once

// Installs the family diagram (CdDiagram) as the upper pane of every database's main window. Called once at
// start-up.
void installFamilyDiagram();
