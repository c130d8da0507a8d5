#pragma once

#include "model/FTMoc.h"

#include <QHash>

#include <optional>

// The fields of FTMoc, shared by its implementation files only.
struct FTMoc::State {
    qint64 modelDefaultsKey = 0; // primary key of the ModelDefaults record once found or made
    std::optional<QStringList> places; // nullopt until first use
    bool placesFromEvents = false; // the next places() ignores the stored copy
    QHash<QString, QStringList> eventNamesDictionary; // event tag -> names
    std::optional<QStringList> recentSources; // object URIs, newest first; nullopt until first use
    QString databaseURL;
    QString momVersion;
    QString activeSourceURI;
    QString activeSourcePageRef;
    QString activeEventURI;
    QDateTime lastRefreshDate;
    QDateTime sessionStartDate;
    bool firstSave = true;
    QString lastSaveError; // empty while saves succeed
    bool importThreadIsActive = false;
    bool observesSaveMoc = false;
    // Callbacks that may outlive the context (a sheet's end) check this first.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};
