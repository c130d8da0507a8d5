#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class FTMoc;
class FTSource;
class SelectASourceDelegate;

// The menu of a source menu button: every source of the database grouped by type and, within a type, by a second
// field the user chooses (the "second-level option": title, author, date ...), with the active and recently used
// sources first. The button builds it at every click; this class decides its entries, their titles and what a
// choice does.
//
//   SourceMenuModel menu(moc);
//   if (menu.loadSourcesArray(option))                  // false: an unknown option (the user was told)
//       for (int t = 0; t < menu.typeCount(); ++t)
//           ... menu.typeTitle(t), and when its submenu opens, menu.itemsOfType(t) ...
//   SourceMenuModel::selectSource(choice, moc, delegate, &option);
//
// The option names are the texts of "SourceSearchNumAndTitle" ... "SourceSearchLongDesc", in menu order. The
// user's last choice is kept in the user default "sourcesSubMenu"; a choice is accepted only when it is one of them.
class SourceMenuModel {
public:
    enum Option { NumericIdTitle, ShortTitle, Title, Author, Publisher, Date, Location, Notes, LongDescription,
        OptionCount };

    // The fixed texts of the menu.
    static const QString kMenuTitle; // "Sources"
    static const QString kRecentSourcesTitle; // "A/S and Recent Sources Used"
    static const QString kSearchEntryTitle; // "Use the Source Search dialog"
    static const QString kNoSourceType; // "No Source Type"
    static const QString kAllSourcesIncluded; // "All Sources are included"
    static const QString kRenameMessage; // the toolbar's answer to a group of several sources
    static QString optionItemTitle(const QString& optionName); // "Set 2nd Menu Option (%@)"
    static QString activeSourceItemTitle(const QString& sourceTitle); // "A/S - %@"

    // "SourceSearchNumAndTitle" ... "SourceSearchLongDesc", and their texts (the option names) in menu order.
    static const QStringList& optionKeys();
    static QStringList optionNames();
    // The option of a name; OptionCount for a name that is none of them.
    static Option optionForName(const QString& name);
    // The title option's name: where every button of the toolbar starts.
    static QString defaultOptionName();
    // The stored choice ("sourcesSubMenu"); when it is empty the title option is stored and answered.
    static QString storedOptionName();
    static void storeOptionName(const QString& name);

    // The warning about sources without a type or a title shows once per run of the program; a new run (and a
    // test) starts with it armed.
    static bool groupingWarningArmed();
    static void setGroupingWarningArmed(bool armed);
    // Its text, from the number of sources without a type, without a title and without a unique title, out of
    // `total`.
    static QString groupingWarning(int untyped, int untitled, int nonUnique, int total);

    explicit SourceMenuModel(FTMoc* moc);

    // ---- The active and recent sources ----

    // The source's title when no other source has it, else its one-line description with its number.
    QString titleForSource(const FTSource* source) const;

    // ---- The groups ----

    // Groups every source by type and by the option's field (sorted by type, then by that field ignoring case,
    // then by number; for "Numeric Id, Title" by type and number). False, after the message
    // "gSubMenuOption = %@", for an option that is none of the nine: there are then no groups. Shows the warning
    // when it is armed and more than 5 percent of the sources lack a type or a title.
    bool loadSourcesArray(const QString& optionName);
    int typeCount() const { return int(m_types.size()); }
    // The type, or "No Source Type", followed by " (n)" when it holds more than one source; the title of its item
    // and of its submenu.
    QString typeTitle(int type) const;
    int typeSize(int type) const;

    // One entry of a type's submenu: a group of sources sharing the option's value.
    struct Item {
        QString title;
        QList<FTSource*> sources;
        bool separatorAfter = false; // after the group without a value, when other groups follow
    };
    // The entries of a type, in order; built when its submenu opens.
    QList<Item> itemsOfType(int type) const;

    // ---- Choosing ----

    // What the user chose in the menu.
    struct Choice {
        enum Kind { None, SearchEntry, Sources, OptionName };
        Kind kind = None;
        QList<FTSource*> sources; // Sources
        QString typeTitle; // Sources: the title of the submenu the entry was in
        QString itemTitle; // Sources: the entry's title
        QString optionName; // OptionName
    };
    // Carries out a choice: one source goes to the delegate (setActiveSource for the toolbar, else addReference);
    // several go to its source search with the text of the group, or for the toolbar the rename message; the search
    // entry hands it every source by number. A choice of an accepted option name becomes `*option` and is stored:
    // the answer is then true, and the menu opens again grouped by it.
    static bool selectSource(const Choice& choice, FTMoc* moc, SelectASourceDelegate* delegate, QString* option);

private:
    struct Group {
        QString value; // the option's value, empty for the group without one
        QList<FTSource*> sources;
    };
    struct TypeGroup {
        QString type;
        QList<Group> groups;
        int size = 0;
    };
    void warnAboutGrouping(const QList<FTSource*>& sources, int untyped, int untitled);

    FTMoc* m_moc;
    Option m_option = Title;
    QList<TypeGroup> m_types;
    // Folded titles and how many sources have each, made when a title is first asked for.
    mutable QHash<QString, int> m_titleCounts;
    mutable bool m_titlesCounted = false;
};
