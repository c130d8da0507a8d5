#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class FTPerson;

// The people list of the chooser of an existing person: everybody, sorted by name with years, narrowed by the
// words typed. Every word must begin the name or one of its parts, a part following a blank, "_", a no-break
// space or a line end, ignoring case and diacritics: "jo sm" finds John Smith and "Smith, Joanna", never Bojo
// Smith. A filter without words lists everybody.
//
//   PersonNameFilter list(moc->fetch<FTPerson>());
//   list.setFilterString("jo sm");
//   for (FTPerson* p : list.shown()) ...
class PersonNameFilter {
public:
    PersonNameFilter() = default;
    explicit PersonNameFilter(const QList<FTPerson*>& people);

    void setPeople(const QList<FTPerson*>& people);
    // Narrows the list; answers whether what is shown changed.
    bool setFilterString(const QString& filter);
    QString filterString() const { return m_filter; }
    const QList<FTPerson*>& shown() const { return m_shown; }
    int totalCount() const { return int(m_people.size()); }

    // The words of a filter, split at blanks, folded; empty when it has none.
    static QStringList words(const QString& filter);
    // Whether a name matches every word (both as given by words() and fold()).
    static bool matches(const QString& foldedName, const QStringList& foldedWords);
    static QString fold(const QString& text);

private:
    struct Entry {
        FTPerson* person;
        QString folded;
    };
    std::vector<Entry> m_people;
    std::vector<int> m_matching; // indexes into m_people
    QStringList m_words;
    QString m_filter;
    QList<FTPerson*> m_shown;
};
