#pragma once

// Choosing and citing sources in every main window: the citation sheets the model opens (CitationDialogs), the
// citations page of the person editor, the toolbar's menu of sources beside its active-source button, and the
// active-source button's command (the active source panel). Once at start-up, before the first window opens;
// removeSourceCiting() takes them away again (tests).
void installSourceCiting();
void removeSourceCiting();
