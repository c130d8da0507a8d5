#pragma once

#include <QString>
#include <QStringList>

// The databases opened lately, newest first, kept as absolute paths in the user defaults. The File menu's
// "Open Recent" lists them; a database goes to the front when it opens and when it closes.
class RecentDocuments {
public:
    // The user default holding the list.
    static const QString kKey; // "RecentDocuments"
    static constexpr int kMaxCount = 10;

    static QStringList paths();
    // Puts the database at the front of the list (once), keeping the newest kMaxCount.
    static void noteNewRecentDocument(const QString& path);
    static void clear();
};
