#pragma once

#include <QHash>
#include <QWidget>

class HdView;
class HierarchyDiagram;
class QAbstractButton;
class QCheckBox;
class QPushButton;
class QSlider;
class QSpinBox;

// The hierarchy diagram's customise window: every "hd" option the window's own controls do not show (what each
// box says, which relatives, the layout, the title and footer, the colours), each written to its user default as
// it changes and the diagram drawn again. "Set as My Defaults" keeps the options as the user's own defaults,
// "Restore My Defaults" brings them back and "Factory Defaults" the program's. Turning the byline on asks for the
// byline's text.
//
// A tool window of the hierarchy window, made on first use and kept for the next: closing only hides it.
class HdCustomise : public QWidget {
    Q_OBJECT
public:
    HdCustomise(HdView* view, HierarchyDiagram* hierarchyWindow);

    // Keeps the present options as "hdUserDefaults".
    void setAsDefaults();
    // The options saved by setAsDefaults(), or the factory ones; the diagram is built again.
    void restoreUserDefaults();
    void setFactoryDefaults();
    // The diagram is built again with the options as they are now.
    void refreshArray();
    // A switch changed: the byline switch turned on asks for the byline; the diagram is built again.
    void refreshDisplay(QAbstractButton* sender);
    // The hierarchy window's help, and the help on blood relationships.
    void displayHelp();
    void helpForConsanguinity();
    // The controls show the options as they are now.
    void syncControls();

    // The controls (tests).
    QCheckBox* switchFor(const QString& key) const { return m_switches.value(key); }
    QPushButton* colourWell(const QString& key) const { return m_colours.value(key); }
    QCheckBox* bylineSwitch() const { return switchFor(QStringLiteral("hdIncludeAuthorsByline")); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeSwitches(const char* title, std::initializer_list<std::pair<const char*, const char*>> switches);
    QWidget* makeColours();
    void chooseColour(const QString& key);

    HdView* m_view;
    HierarchyDiagram* m_hierarchyWindow;
    QHash<QString, QCheckBox*> m_switches;
    QHash<QString, QPushButton*> m_colours;
    QSpinBox* m_maxSiblingsDescendants = nullptr;
    QSlider* m_colourGradient = nullptr;
    bool m_syncing = false;
};
