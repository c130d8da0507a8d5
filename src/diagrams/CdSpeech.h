#pragma once

#include <QString>

class FTPerson;

namespace CdSpeech {
// What is said when a person becomes focal: the name in lower case (underscores as blanks), then ". born" with
// the year and place when known, and the title: "mary smith. born  1850.  in york .. weaver."
QString focalPersonsText(const FTPerson* person);
}
