#pragma once

// Helpers shared by the tests of relatives, kinship names, event rows and summaries.

#include "PeopleFixture.h"

#include "platform/FTLog.h"

// Collects FTLog lines while it lives.
class LogCapture {
public:
    LogCapture()
    {
        lines().clear();
        m_wasDevelopment = gDevelopmentVersion;
        gDevelopmentVersion = true;
        FTLogSetSink([](const QString& line) { lines() << line; });
    }
    ~LogCapture()
    {
        FTLogSetSink(nullptr);
        gDevelopmentVersion = m_wasDevelopment;
    }
    static QStringList& lines()
    {
        static QStringList captured;
        return captured;
    }

private:
    bool m_wasDevelopment = false;
};
