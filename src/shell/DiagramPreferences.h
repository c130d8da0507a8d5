#pragma once

#include <QFont>
#include <QStringList>

class FTMoc;

// The family diagram's preferences: what each person's box shows under the name (the name option, user default
// "cdNameOption"), and putting the diagram's settings back as they were at first run. The preferences window
// shows them; the diagram that must follow a change is reached through `Diagram`.
//
//   DiagramPreferences::setNameOption(DiagramPreferences::kConsanguinity, moc, &diagram);
//   DiagramPreferences::setDefaults(&diagram);
class DiagramPreferences {
public:
    // What the preferences ask of the family diagram.
    struct Diagram {
        virtual ~Diagram() = default;
        // The boxes are built and laid out again before the next drawing.
        virtual void setRefreshArray(bool refresh) = 0;
        virtual void redraw() = 0;
        // The diagram takes the font (its size kept within 6 to 16) and stores it.
        virtual void setCdFont(const QFont& font) = 0;
    };

    // Name options that number people within the current ancestral view.
    static constexpr int kConsanguinity = 10;
    static constexpr int kAhnentafel = 11;

    // The 14 titles of the name options, by option number.
    static QStringList nameOptionTitles();
    static int nameOption();
    // Stores the option (clamped to the known ones), then nameOptionChanged().
    static void setNameOption(int option, FTMoc* moc, Diagram* diagram);
    // The diagram follows the stored option: consanguinity and ahnentafel numbers need a current ancestral view,
    // and without one the user is told so ("AncestralViewNeeded"). The boxes are rebuilt, since the text under a
    // name decides their height, and the diagram redrawn. `moc` and `diagram` may be null.
    static void nameOptionChanged(FTMoc* moc, Diagram* diagram);

    // The diagram's font after restoring the defaults: Arial Italic 11.
    static QFont defaultCdFont();
    // The colours that restoring the defaults puts back (the table highlight colour is not among them).
    static QStringList resetColourKeys();
    // Writes the diagram's first-run settings, whatever is stored: the display switches, "cdNameOption" 0, the
    // font (through the diagram when there is one, else stored directly), the colours of resetColourKeys() and the
    // colour gradients; then asks the diagram to rebuild its boxes.
    static void setDefaults(Diagram* diagram);
};
