#pragma once

#include <QString>

// The user defaults' first-run values, registered at every start before any window opens.
//
//   FirstRunDefaults::initialiseUserDefaults();   // once at start-up (the program, a benchmark, a test)
class FirstRunDefaults {
public:
    // Writes the first-run value of every key still absent, resets the keys that must start fresh each time,
    // brings the main colours back once, clamps "fontSize" and normalises "cdFont". A missing Arial (and no
    // metric-compatible stand-in) is reported, never fatal.
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
    // The first-run value ("#rrggbb") of one of the eight main colours; empty for any other key.
    static QString mainColourFirstRunValue(const QString& key);
};
