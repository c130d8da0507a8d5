#include "shell/MenuRules.h"

const QStringList& MenuRules::itemsEnabledWithoutDocument()
{
    static const QStringList items = {
        QStringLiteral("Kinloom"),
        QStringLiteral("About Kinloom"),
        QStringLiteral("Quit Kinloom"),
        QStringLiteral("File"),
        QStringLiteral("New..."),
        QStringLiteral("Open..."),
        QStringLiteral("Open Recent"),
        QStringLiteral("Import Gedcom..."),
        QStringLiteral("Migrate Old Database..."),
        QStringLiteral("Help"),
        QStringLiteral("Kinloom Help"),
        QStringLiteral("Download Latest Release..."),
        QStringLiteral("Move Data Directory..."),
        QStringLiteral("Discussion Forums"),
    };
    return items;
}

bool MenuRules::isMenuItemEnabled(const QString& title, bool isQuitItem, bool burning, bool documentOpen,
                                      bool sheetAttached)
{
    if (isQuitItem && burning)
        return false;
    if (!documentOpen)
        return itemsEnabledWithoutDocument().contains(title);
    return !sheetAttached;
}
