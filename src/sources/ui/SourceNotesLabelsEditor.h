#pragma once

#include "sources/SourceLabel.h"

#include <QDialog>
#include <QList>

class QListWidget;

// The editor of the label sets offered by the labels button: one row per set as the user types it ("Volume; Page,
// Line"); closing it stores the rows in the stored form, sorted, empty rows dropped.
class SourceNotesLabelsEditor : public QDialog {
    Q_OBJECT
public:
    explicit SourceNotesLabelsEditor(QWidget* parent = nullptr);

    // The rows as they stand.
    QList<SourceLabel> sourceNotesLabels() const;
    QListWidget* table() const { return m_table; }
    // A new empty row, being edited.
    void addRow();
    void removeSelectedRows();
    // Stores the rows; the window closes.
    void windowShouldClose();

public Q_SLOTS:
    void reject() override;

private:
    QListWidget* m_table = nullptr;
    bool m_closed = false;
};
