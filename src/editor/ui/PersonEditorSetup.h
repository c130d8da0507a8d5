#pragma once

// Installs the person editor at start-up: the editor's pages, the editor as the lower pane of every database's
// main window, and the model's question about the page shown.
void installPersonEditor();
