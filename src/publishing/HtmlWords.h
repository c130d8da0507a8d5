#pragma once

#include "platform/Localizer.h"

#include <QHash>
#include <QString>

// The "Localizable" text of a key that the page writers name by a string literal, looked up once: a run asks for the
// same few dozen words (labels, class names, folder words) hundreds of thousands of times.
inline const QString& htmlWord(const char* key)
{
    struct Cache {
        int generation = -1;
        QHash<const char*, QString> words;
    };
    thread_local Cache cache;
    if (cache.generation != Localizer::generation()) {
        cache.words.clear();
        cache.generation = Localizer::generation();
    }
    auto it = cache.words.find(key);
    if (it == cache.words.end())
        it = cache.words.insert(key, LocalizedString(QString::fromLatin1(key)));
    return *it;
}
