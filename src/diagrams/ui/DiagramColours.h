#pragma once

#include "diagrams/DiagramColourSchemes.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class FamilyDiagramPane;
class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QSlider;

// The colours of the family diagram and of the panels, and the three complete colour schemes, in a small modal
// window run for one diagram (the toolbar's colours item, the preferences' "Diagram Colours..."). The colours live
// in the user defaults; every change is written at once, the diagram redraws, and the window takes the panel colour
// itself.
//
//   DiagramColours::showColoursPanel(*document->pcd(), document->dovurWindow());
class DiagramColours : public QDialog {
    Q_OBJECT
public:
    explicit DiagramColours(FamilyDiagramPane* pcd, QWidget* parent = nullptr);

    // Runs the window modally for the diagram.
    static void showColoursPanel(FamilyDiagramPane& pcd, QWidget* parent);

    // What a colour button does once the colour dialog answers: stores the colour and redraws.
    void setColour(const QString& key, const QColor& colour);
    // The scheme buttons.
    void setDefaults();
    void setClassicColours();
    void setDemoColours();

    QPushButton* colourButton(const QString& key) const { return m_colourButtons.value(key); }
    QSlider* diagramShadingSlider() const { return m_diagramShading; }
    QSlider* boxShadingSlider() const { return m_boxShading; }
    QCheckBox* shadowsBox() const { return m_shadows; }
    QDoubleSpinBox* shadowSizeField() const { return m_shadowSize; }

private:
    void selectColour(const QString& key);
    void applyScheme(DiagramColourSchemes::Scheme scheme);
    // The window takes the panel colour at once, the diagram redraws and the controls show what is stored.
    void changeColour();
    void refreshDiagram();
    void reload();

    QPointer<FamilyDiagramPane> m_pcd;
    QHash<QString, QPushButton*> m_colourButtons;
    QSlider* m_diagramShading = nullptr;
    QSlider* m_boxShading = nullptr;
    QCheckBox* m_shadows = nullptr;
    QDoubleSpinBox* m_shadowSize = nullptr;
    bool m_loading = false;
};
