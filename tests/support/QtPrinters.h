#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for Qt texts, one definition for every test binary (TestSupport.h includes it).
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << "{";
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ",\n " : "\n ") << '"' << list[i].toStdString() << '"';
    *os << "}";
}
