#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTPerson;

// User text inside the tools' RTF listings: escaped, line breaks as paragraph breaks, and braces kept as the
// characters they are (the shared cleaning makes them blanks, and a place or a view's notes are the user's own
// words).
QString rtfUserText(const QString& text);

// People in the order their lists show them: by name with birth and death years, without regard to case, then as
// written. Answers the texts in that order, for a list that shows them.
QStringList sortByNameWithYears(QList<FTPerson*>& people);
