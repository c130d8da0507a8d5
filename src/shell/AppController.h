#pragma once

#include <QString>

// The application's controller: start-up, shut-down and the application-wide settings. Each group of
// members is defined in its own AppController_<Group>.cpp file.
class AppController {
public:
    // ---- User defaults (AppController_UserDefaults.cpp) ----

    // Run at every start before any window: writes the first-run value of every key still absent, resets
    // the keys that must start fresh each time, brings the main colours back once, clamps "fontSize" and
    // normalises "cdFont". A missing Arial (and no metric-compatible stand-in) is reported, never fatal.
    static void initialiseUserDefaults();
    // The groups of keys of each area, in the order initialiseUserDefaults runs them.
    static void initialiseHdUserDefaults();
    static void initialisePeopleIndexCsvUserDefaults();
    static void initialiseStoryUserDefaults();
    static void initialiseHtmlUserDefaults();
    static void initialiseAncestorsReportsDefaults();

    // True when `family`, or a font that fontconfig offers with the same metrics ("Liberation Sans" for
    // "Arial", ...), has regular, italic, bold and bold italic faces. Otherwise shows the "FontWarning"
    // message and answers false.
    static bool checkFontIsEnabled(const QString& family);
    // ---- end of user defaults ----
};
