#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTMoc;
class FTPerson;
class FTProjectView;
struct Notification;

// The database's project views as the preferences window lists them: all of them by name, or those whose name
// matches a search; making the ancestral view of the focal person, deleting a view, and choosing the current
// view. The list follows "RefreshAllViews" (search cleared, list filled again; undo and redo post it too) and
// "PersonToBeDeleted" (the person's ancestral view leaves the list) for its own database, and never lists or
// selects a deleted view; `changed` runs after every change of the list or of its selection.
//
//   AncestralViewsList list(moc);
//   list.findView({});                           // every view, the current one selected
//   list.createAncestralViewForFocalPerson();    // "Victoria's Ancestors", now current
//   list.selectRow(0);                           // that view becomes current, maybe its root focal
class AncestralViewsList {
public:
    explicit AncestralViewsList(FTMoc* moc = nullptr);
    ~AncestralViewsList();
    AncestralViewsList(const AncestralViewsList&) = delete;
    AncestralViewsList& operator=(const AncestralViewsList&) = delete;

    // Another database (or none): the list is emptied until the next findView().
    void setMoc(FTMoc* moc);
    FTMoc* moc() const { return m_moc; }

    const QList<FTProjectView*>& views() const { return m_views; }
    // -1 when no row is selected.
    int selectedRow() const { return m_selectedRow; }
    FTProjectView* selectedView() const;
    const QString& searchText() const { return m_searchText; }

    // An empty text lists every project view by name with the current view's row selected; otherwise the views
    // whose name matches the text (words matched at word starts), by name, with nothing selected.
    void findView(const QString& text);
    // The focal person's ancestral view, made when the person has none, is named "<name>'s Ancestors" (or what
    // `viewName` makes of the person), forgets its cached members and becomes the current view; the search is
    // cleared and the view's row selected.
    FTProjectView* createAncestralViewForFocalPerson(const std::function<QString(const FTPerson&)>& viewName = {});
    // Deletes the selected view (undoable, "DeleteView"); without a selected row, shows "SelectAncestralView".
    // A current view that is deleted stops being current.
    void deleteView();
    // The user chose a row (-1: none). A view other than the current one becomes current; when its root person is
    // not the focal person, the user is asked whether to make the root focal.
    void selectRow(int row);
    // Selects a row (-1: none) and nothing more: a window that makes the view current on its own command.
    void setSelectedRow(int row);

    std::function<void()> changed;

private:
    void personToBeDeleted(const Notification& n);
    void refreshAllViews(const Notification& n);
    void notify();

    FTMoc* m_moc = nullptr;
    QList<FTProjectView*> m_views;
    int m_selectedRow = -1;
    QString m_searchText;
};
