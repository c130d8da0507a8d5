#pragma once

// Connects the family database's hooks (model/ModelHooks.h) to the shell's services: the data folder, the support
// address, the exception report and the alert sound. Called once at start-up; the document layer adds the front
// document's context and the program's normal quit, the pictures subsystem the thumbnail mover.
void installModelHooks();
