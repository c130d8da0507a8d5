#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Completes an event name as it is typed into the events page's table from the names already used for events of
// the same tag. Only a keystroke that adds one character at the end completes: deleting, pasting or typing in the
// middle never does. Birth, death and marriage rows, whose name cell holds a person's name, get no completion. The
// text of the last keystroke is remembered for one cell at a time.
//
//   QString name = completion.complete(editor, row, column, text, caret, event->type(), event->subtype(),
//                                      [moc](const QString& tag) { return moc->eventNamesForSubtype(tag); });
//   if (!name.isEmpty()) ... show `name` with the part after `text` selected
class EventNameCompletion {
public:
    using Lookup = std::function<QStringList(const QString& subtype)>;

    // The first known name for `subtype` that begins with `text` (case and diacritics ignored), or empty when
    // nothing is to be completed. `control`, `row` and `column` identify the cell being typed in.
    QString complete(const void* control, int row, int column, const QString& text, int caret, int eventType,
        const QString& subtype, const Lookup& namesForSubtype);
    void reset();

private:
    const void* m_control = nullptr;
    int m_row = -1;
    int m_column = -1;
    QString m_previous;
};
