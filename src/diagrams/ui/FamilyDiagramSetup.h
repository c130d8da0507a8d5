#pragma once

// Installs the family diagram (CdDiagram) as the upper pane of every database's main window, with its toolbar
// items (print: save the diagram; colours: the diagram colours window; fonts: the diagram's font), the preferences'
// "Diagram Colours..." and the diagram's own "Save Diagram...". Called once at start-up.
void installFamilyDiagram();
// Takes them away again (tests).
void uninstallFamilyDiagram();
