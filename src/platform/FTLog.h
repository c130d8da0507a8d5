#pragma once

#include <QString>

// Set once at start-up: development mode (KINLOOM_DEVELOPMENT in the environment) turns logging on.
extern bool gDevelopmentVersion;

// Writes a diagnostic line (to standard error) only in development mode or with the user default
// "loggingOn"; otherwise does nothing.
void FTLog(const QString& line);
bool FTLogEnabled();

// Tests capture the log instead of standard error; pass nullptr to restore.
void FTLogSetSink(void (*sink)(const QString& line));
