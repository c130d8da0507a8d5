#pragma once

#include <optional>

class FTPerson;
class FTProjectView;
struct Notification;

// What the person editor asks of each of its pages. Every call is optional: a page overrides the ones it needs
// and the rest do nothing. The editor sends the person, the project view and refreshes to the visible page only;
// a hidden page is filled when its tab is chosen.
class InfoAreaPage {
public:
    virtual ~InfoAreaPage() = default;

    // The person to show (null: none).
    virtual void setSelectedPerson(FTPerson* person) { }
    virtual void setProjectView(FTProjectView* view) { }
    // Reload from the data and redraw.
    virtual void refreshDisplay() { }
    // Re-title the table columns that show the person's name.
    virtual void setColumnHeadings() { }
    virtual void setFontSize(long size) { }
    // The page is left: drop what it built for display.
    virtual void freeMemory() { }
    // The person in `n` is about to be deleted (sent to every page, visible or not).
    virtual void personToBeDeleted(const Notification& n) { }
    // A parent-child link changed its type.
    virtual void pcRelTypeChanged(const Notification& n) { }
    // The pictures page: its list is built again at the next drawing.
    virtual void setRefreshArray(bool refresh) { }
    // Whether the page's tab shows its content mark, while the page holds an edit the record does not have yet
    // (typing into the story); none leaves the mark to the stored data.
    virtual std::optional<bool> contentMark() const { return std::nullopt; }
};
