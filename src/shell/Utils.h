#pragma once

#include <QString>

// Class-level helpers shared by every subsystem. Each group of members is defined in its own
// Utils_<Group>.cpp file.
class Utils {
public:
    // ---- Alerts, logging and the exception report (Utils_Alerts.cpp) ----

    // ---- end of alerts ----

    // ---- Data folder, backups, report files and opening files (Utils_Folders.cpp) ----

    // ---- end of folders ----

    // ---- Vocabularies and small helpers (Utils_Vocabularies.cpp) ----

    // ---- end of vocabularies ----
};
