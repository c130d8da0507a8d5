#pragma once

#include <QString>

// File > "New...": a new database with its first person.
class NewDatabase {
public:
    // Creates a new database in the data folder under the first free name for `modelName`, with one person
    // (`personName`, gender letter `gender`), saves it and answers its path. The file is created exclusively:
    // an existing file is never touched. Empty after a message on failure (nothing is left behind).
    static QString create(const QString& modelName, const QString& personName, const QString& gender);
};
