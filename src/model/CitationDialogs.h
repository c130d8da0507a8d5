#pragma once

#include <functional>

class FTSourceRel;

// The citation sheets of the sources subsystem, as the model opens them after citing a source: the model cannot
// include a window, so the application installs the real sheets at start-up and tests install a recording one.
// With nothing installed no sheet opens.
//
//   if (CitationDialogs* dialogs = CitationDialogs::current())
//       dialogs->beginCitationSheet(CitationDialogs::Kind::Event, citation, [] { ... refresh ... });
class CitationDialogs {
public:
    // Whose citation the sheet edits: a person's, an event's or a picture's (each has its own sheet).
    enum class Kind { Person, Event, Picture };

    virtual ~CitationDialogs() = default;
    // Begins the sheet for `citation` over the key window and returns at once; the sheet ends itself and then
    // calls `didEnd` (when not empty), on the main thread.
    virtual void beginCitationSheet(Kind kind, FTSourceRel* citation, std::function<void()> didEnd) = 0;

    // The installed sheets, or null.
    static CitationDialogs* current();
    // Installs `dialogs` (not owned); nullptr removes them.
    static void install(CitationDialogs* dialogs);
};
