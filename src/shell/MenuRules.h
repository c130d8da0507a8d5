#pragma once

#include <QString>
#include <QStringList>

// Which menu items are enabled.
class MenuRules {
public:
    // The items (by title) that stay enabled while no database is open.
    static const QStringList& itemsEnabledWithoutDocument();
    // Whether a menu item is enabled: the quit item not while a disc is burnt; without a document only the
    // items above; with one, none while its main window has a sheet, else all.
    static bool isMenuItemEnabled(const QString& title, bool isQuitItem, bool burning, bool documentOpen,
                                  bool sheetAttached);
};
