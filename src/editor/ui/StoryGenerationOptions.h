#pragma once

#include <QDialog>
#include <QHash>
#include <QPointer>

class InfoArea_Story;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

// The story options sheet: what a generated story holds (the "so…" user defaults, each written as soon as it is
// changed), which groups of relatives it lists (thirteen flags, the bits of "storyScopeOptions"), where the
// new text goes, the colours of its sections and the word processor that opens the copied story. "Generate"
// writes a story on the page and leaves the sheet open.
class StoryGenerationOptions : public QDialog {
    Q_OBJECT
public:
    StoryGenerationOptions(InfoArea_Story* page, QWidget* parent);
    ~StoryGenerationOptions() override;

    // The flags from "storyScopeOptions".
    void setScopeOptions();
    // "storyScopeOptions" from the flags; bits that no flag shows keep their values.
    void changeScope();
    // The page shows the chosen mode.
    void changeMode();
    // Every choice back to its first-run value, except the word processor.
    void setDefaults();
    void generate();

    // A relatives flag by its name ("bParents" ...), and the control of a user default or flag by its name.
    bool flag(const QString& name) const;
    void setFlag(const QString& name, bool on);
    QWidget* control(const QString& name) const;

private:
    QWidget* buildContents();
    QWidget* buildRelatives();
    QWidget* buildOutput();
    void readDefaults();
    void chooseColour(const QString& key);

    QPointer<InfoArea_Story> m_page;
    QHash<QString, QCheckBox*> m_checks;
    QHash<QString, QCheckBox*> m_flags;
    QList<QRadioButton*> m_modes;
    QHash<QString, QPushButton*> m_colours;
    QComboBox* m_rtfApplication = nullptr;
};
