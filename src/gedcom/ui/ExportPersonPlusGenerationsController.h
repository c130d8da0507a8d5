#pragma once

#include <QDialog>

#include <memory>

class ExportPersonPlusGenerations;
class Hierarchy;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// What the windows of a person's ancestors and of a person's descendants share: the people as an outline down to
// the chosen number of generations (natural, foster and adopted links), the number of rows shown, and Generate,
// which shows the GEDCOM export of those people as a sheet on this window and then hides itself (a second export
// needs the window opened again).
class ExportPersonPlusGenerationsController : public QDialog {
    Q_OBJECT
public:
    ~ExportPersonPlusGenerationsController() override;

    ExportPersonPlusGenerations& exportSubset() const { return *m_subset; }
    int numGenerations() const;
    // The generation control: rebuilds the outline.
    void setNumGenerations(int generations);
    // Builds the outline afresh from the focal person.
    void createHierarchy();
    // The Generate button.
    void generateToGedcom();
    void closeSheet();

    QTreeWidget* outline() const { return m_olv; }
    QLabel* countTextField() const { return m_count; }
    QSpinBox* generationsField() const { return m_generations; }
    QPushButton* generateButton() const { return m_generateButton; }
    QPushButton* closeButton() const { return m_closeButton; }

public Q_SLOTS:
    void reject() override;

protected:
    ExportPersonPlusGenerationsController(std::unique_ptr<ExportPersonPlusGenerations> subset, bool ancestors,
        const QString& objectName, const QString& titleKey, const QString& infoKey, QWidget* parent);

private:
    int addRows(Hierarchy* root);

    std::unique_ptr<ExportPersonPlusGenerations> m_subset;
    std::unique_ptr<Hierarchy> m_hierarchy;
    bool m_ancestors;
    bool m_generated = false;
    QTreeWidget* m_olv = nullptr;
    QLabel* m_count = nullptr;
    QSpinBox* m_generations = nullptr;
    QPushButton* m_generateButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
