#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Completes place names as the user types them: one memory of the last text for the whole program, forgotten
// when the typing moves to another field, or to another row or column of a table.
class PlaceCompletion {
public:
    using Lookup = std::function<QStringList(const QString& prefix)>;

    static PlaceCompletion& shared();

    // Called on every change of a place field's text. `field` identifies the control (row and column: the cell
    // of a table; -1 otherwise), `caret` is the insertion point. Answers the first known place that begins with
    // the text when the user has typed on at the end; the field then shows it with the part after the typed
    // text selected, so that typing on replaces it. Empty when nothing is to be completed (the user deleted,
    // or edits in the middle, or no place matches).
    QString complete(const void* field, int row, int column, const QString& text, int caret,
                     const Lookup& placeNamesStartingWith);

    void reset();

private:
    const void* m_field = nullptr;
    int m_row = -1;
    int m_column = -1;
    QString m_last;
};
