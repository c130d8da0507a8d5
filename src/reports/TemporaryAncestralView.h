#pragma once

class FTMoc;
class FTPerson;
class FTProjectView;

// The ancestral view that numbers a report's people (ahnentafel numbers): the person's own when there is one,
// otherwise a view made for the report alone, without undo, and deleted when this goes, whichever way the
// report ends. The database is left as it was.
//
//   TemporaryAncestralView view(moc, selected);
//   view->ahnentafelNumbersFor(person);
class TemporaryAncestralView {
public:
    TemporaryAncestralView(FTMoc* moc, FTPerson* root);
    ~TemporaryAncestralView();
    TemporaryAncestralView(const TemporaryAncestralView&) = delete;
    TemporaryAncestralView& operator=(const TemporaryAncestralView&) = delete;

    FTProjectView* get() const { return m_view; }
    FTProjectView* operator->() const { return m_view; }
    // Whether the view was made for the report.
    bool isTemporary() const { return m_made; }

private:
    FTMoc* m_moc;
    FTProjectView* m_view = nullptr;
    bool m_made = false;
};
