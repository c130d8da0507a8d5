#pragma once

#include "editor/InfoAreaPage.h"

#include <QWidget>

class FTEvent;
class FTMoc;
class FTSourceRel;

// A page of the person editor: its view and the page protocol in one. A page of another subsystem (the
// citations page) derives from it too.
class EditorPage : public QWidget, public InfoAreaPage {
    Q_OBJECT
public:
    explicit EditorPage(QWidget* parent = nullptr);

    // Ends the page's field edit so that what was typed reaches the data; false when a field keeps its edit
    // (its check refused the text and said why).
    virtual bool endEditing() { return true; }
    // The citations page: shows the citation selected.
    virtual void showCitation(FTSourceRel* citation) { }
    // The window is about to be written as a PDF file: show the page from its top.
    virtual void prepareForPrinting() { }
    // The events page: selects the event's row.
    virtual void selectEvent(FTEvent* event) { }

    // An undo or redo is replaying a step of `moc`: a page writes nothing then, for what it wrote would join the
    // step being replayed (and be lost with the next redo).
    static bool isReplayingUndo(const FTMoc* moc);

Q_SIGNALS:
    // What contentMark() answers has changed: the editor marks the tab again.
    void contentMarkChanged();
};
