#include "platform/FTLog.h"

#include "platform/UserDefaults.h"

#include <QDateTime>

#include <cstdio>

bool gDevelopmentVersion = false;

namespace {
void (*g_sink)(const QString&) = nullptr;
}

bool FTLogEnabled() { return gDevelopmentVersion || UserDefaults::standard().boolForKey(QStringLiteral("loggingOn")); }

void FTLog(const QString& line)
{
    if (!FTLogEnabled())
        return;
    if (g_sink) {
        g_sink(line);
        return;
    }
    const QByteArray text = (QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + " Kinloom: " + line).toUtf8();
    std::fprintf(stderr, "%s\n", text.constData());
}

void FTLogSetSink(void (*sink)(const QString&)) { g_sink = sink; }
