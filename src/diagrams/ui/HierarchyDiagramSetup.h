#pragma once

class AppController;

// The ways into the hierarchy diagram, installed once at start-up before the first menu bar is made: the
// toolbar's Ancestors and Descendants buttons, the Reports menu's "Ancestors Chart" and "Descendants Chart" (each
// on the database's selected person) and the family diagram's command (through DiagramHooks).
void installHierarchyDiagram(AppController& app);
