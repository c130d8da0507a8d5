#pragma once

#include "sources/SourcePairMerge.h"

#include <QDialog>
#include <QHash>

class FTMoc;
class FTSource;
class NotesTextEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class SourceListModel;

// The sheet on the sources editor that merges the first of two selected sources into the second: both side by
// side, each field that differs in red with the list of differences beneath, both editable; the merge button moves
// the first source's citations to the second and then asks whether the emptied first source is deleted or kept.
//
//   auto* sheet = new MergeTwoSources(moc, editor->selectedSources(), editor);
//   sheet->setSourcesArrayController(editor->sourcesArrayController());
//   sheet->open();
class MergeTwoSources : public QDialog {
    Q_OBJECT
public:
    // `sources`: the first is merged into the second.
    MergeTwoSources(FTMoc* moc, const QList<FTSource*>& sources, QWidget* parent = nullptr);
    ~MergeTwoSources() override;

    // The sources editor's list, which loses the first source when it is deleted.
    void setSourcesArrayController(SourceListModel* list) { m_sourcesArrayController = list; }

    FTSource* source1() const { return m_pair.source1(); }
    FTSource* source2() const { return m_pair.source2(); }
    QString differences() const;
    // The field of one side by key ("type", "title", ... "notes"), `side` 1 or 2.
    QWidget* field(int side, const QString& key) const;
    // The colour of a field's text: red while the two sources differ in it.
    QColor textColour(const QString& key) const;
    QLabel* sourceCount(int side) const { return side == 1 ? m_source1Count : m_source2Count; }
    QPushButton* mergeButton() const { return m_mergeButton; }

    // Moves the citations, asks, deletes or keeps the first source, and closes the sheet.
    void merge();
    // Ends editing, saves and ends the sheet.
    void close();
    // After any edit of a field: the colours and the differences again.
    void setTextColours();

public Q_SLOTS:
    void reject() override;

private:
    struct Side {
        FTSource* source = nullptr;
        QHash<QString, QLineEdit*> lines;
        NotesTextEdit* notes = nullptr;
    };
    QWidget* buildSide(int side, const QString& heading);
    void writeField(int side, const QString& key, const QString& text);
    void endEditing();

    FTMoc* m_moc;
    SourcePairMerge m_pair;
    Side m_sides[2];
    QHash<QString, QColor> m_colours;
    SourceListModel* m_sourcesArrayController = nullptr;
    QLabel* m_differences = nullptr;
    QLabel* m_source1Count = nullptr;
    QLabel* m_source2Count = nullptr;
    QPushButton* m_mergeButton = nullptr;
    bool m_closing = false;
};
