#pragma once

#include "platform/FTLog.h" // gDevelopmentVersion

// Set once by the start-up system check (Utils::OSX10Point4OrLater) and never cleared.
extern bool gVovadid;      // the system has every facility the program uses
extern bool gMallocDebug;  // the process runs under a memory debugger

// Raised by the document while it writes its main window as a PDF file: the person editor's pictures page then draws
// its printed layout once and lowers it.
extern bool gPrinting;
