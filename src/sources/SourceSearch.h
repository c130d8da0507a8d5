#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class FTSource;

// The search field over a list of sources: the user picks which field the typed text is looked for in (any field,
// or one of nine), and the list keeps the sources that match, ignoring case and diacritics. The number matches by
// its leading digits ("12" finds 12, 120-129, 1200-1299, never 112), the texts anywhere.
//
// The choice is kept as its display title in the user default "sourceSearchMenuOption", shared by every window with
// such a field. A stored title that names no option (a text of another language) filters nothing.
//
// An instance keeps the folded texts of each source it has matched, refolded only when a field's value changed,
// so that filtering many sources on every keystroke folds only the typed text.
//
//   SourceSearch search;
//   const auto option = SourceSearch::optionForTitle(SourceSearch::storedOptionTitle());
//   QList<FTSource*> shown = search.filter(allSources, option, typedText);
class SourceSearch {
public:
    // In menu order.
    enum Option { Any, Number, Type, Title, ShortTitle, Author, Publisher, Date, Location, Notes, None };
    static constexpr int kOptionCount = 10;

    // "SourceSearchAny" ... "SourceSearchNotes".
    static const QStringList& optionKeys();
    // Their localised texts, the menu's titles.
    static QStringList optionTitles();
    static QString optionTitle(Option option);
    // The option whose title is `title`; None when no option has that title.
    static Option optionForTitle(const QString& title);

    // The stored choice; when none is stored yet, the title of Any is stored and answered.
    static QString storedOptionTitle();
    static void storeOptionTitle(const QString& title);
    // The field's placeholder: "Find in" and the option's title.
    static QString placeholder(const QString& optionTitle);

    // Whether the source matches `text` in the option's field(s). An empty text, or None, matches everything.
    bool matches(const FTSource* source, Option option, const QString& text);
    // The same with `foldedText` already folded (TextMatch::fold).
    bool matchesFolded(const FTSource* source, Option option, const QString& foldedText);
    // The sources that match, in their order.
    QList<FTSource*> filter(const QList<FTSource*>& sources, Option option, const QString& text);

    // The folded text of one field of the source (Type ... Notes; Number gives the number's digits), as the
    // search compares it; also a sort key ignoring case and diacritics.
    const QString& foldedField(const FTSource* source, Option field);

    // Forgets what was kept (after the sources were reloaded).
    void clear() { m_cache.clear(); }

private:
    struct Entry {
        std::array<QString, kOptionCount> raw;
        std::array<QString, kOptionCount> folded;
        std::array<bool, kOptionCount> known {};
    };
    QHash<const FTSource*, Entry> m_cache;
};
