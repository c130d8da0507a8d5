#pragma once

#include <QList>
#include <QString>

class FTPerson;
class FTPicture;

// What the person editor's pictures page shows and does to the database: one person's pictures in display order,
// the selected picture, and the commands of the page. The list is a working copy: loaded in ascending seqNo, then
// reordered by the commands in memory while they write the order to the database.
//
// Two rules hold for the commands: an order the user makes (make default, placeholder, the sorts, a reorder) is
// written as seqNo 1, 2, 3 ... (removing leaves the other numbers as they are); and afterwards the person's
// default picture is the first of the list. Messages are shown as alerts; the caller redraws.
//
//   PersonPictures list;
//   list.setPerson(person);          // loads the person's pictures
//   list.makeDefault(list.pictures().last());
//   list.reorder(dragged, PicturesGrid::insertionIndex(...));
class PersonPictures {
public:
    // Shows `person`'s pictures (none for null). A change of person clears the selection.
    void setPerson(FTPerson* person);
    FTPerson* person() const { return m_person; }
    // The list again from the database's order; a selected picture that is no longer the person's is let go.
    void reload();
    // No person and an empty list (the page is left).
    void clear();

    const QList<FTPicture*>& pictures() const { return m_pictures; }
    int count() const { return int(m_pictures.size()); }
    int indexOf(const FTPicture* picture) const;
    FTPicture* selected() const { return m_selected; }
    int selectedIndex() const { return indexOf(m_selected); }
    void select(FTPicture* picture) { m_selected = picture; }
    // Pictures added by the picture editor, a paste or a drop go at the end; those already listed stay put.
    void append(const QList<FTPicture*>& added);

    // Deletes the picture (no question: undo brings it back) and saves. When it was the selected one, the
    // picture after it is selected, or nothing when it was the last.
    void remove(FTPicture* picture);
    // Moves the picture to the front. False when the list is empty or it is first already.
    bool makeDefault(FTPicture* picture);
    // Asks, then puts a picture without a file, titled "Placeholder", at the front. Null when the user declines.
    FTPicture* addPlaceholder();
    // By date, then title; tells how many pictures have no valid date and whether the default picture changed.
    // Nothing with fewer than 2 pictures.
    void sortByDate();
    // By title, then date. Nothing with fewer than 2 pictures.
    void sortByTitle();
    // Deletes each picture that is the same as another of the person's (file, title, date, notes, crop,
    // transcription ...; not the number, thumbnail or order) and saves. The picture kept takes over the citations
    // of those deleted, and when the default picture goes the first remaining picture becomes the default.
    void removeDuplicates();
    // Moves a dragged picture to insertion index `index` (PicturesGrid::insertionIndex; -1 moves it to the end).
    // False when the picture is not in the list.
    bool reorder(FTPicture* dragged, int index);

    // The line under the grid: "<title>,  <date>,  File: <name>" with the notes on a second line.
    static QString description(const FTPicture* picture);
    // A 1-point frame is drawn around thumbnails of image files (the extension as stored, so a link's " alias"
    // counts against it); sounds, movies and documents show their icon bare.
    static bool isFramed(const FTPicture* picture);
    // The freedesktop icon that stands for a picture without a thumbnail: its kind of file ("audio-x-generic",
    // "video-x-generic", "text-x-generic"), "image-missing" for an image that could not be read and
    // "image-x-generic" for a picture without a file.
    static QString iconNameFor(const FTPicture* picture);
    // The Transcribe button works for image files other than PDF; the menu item refuses only PDF and files of
    // other kinds, so it works for a picture without a file too.
    static bool canTranscribeFromButton(const FTPicture* picture);
    static bool canTranscribeFromMenu(const FTPicture* picture);

private:
    void writeOrder();
    void makeFirstDefault();
    void dropSelectionIfGone();

    FTPerson* m_person = nullptr;
    QList<FTPicture*> m_pictures;
    FTPicture* m_selected = nullptr;
};
