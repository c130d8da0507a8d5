#pragma once

#include "diagrams/CdOptions.h"

#include <QString>

#include <functional>
#include <memory>

class FTPerson;

// What the boxes of the web pages' context diagrams share (boxes made without a family diagram): the family
// diagram's preferences they draw with, the last generation of ancestors shown and the word that stands for a
// person the pages hide. A run reads it once and hands it to every box, instead of each box reading the user
// defaults again.
//
//   auto web = CdWebContext::fromUserDefaults();
//   web->privacyWord = [&privacy](const FTPerson* p) { return privacy.privacyWordFor(p); };
//   CdPerson box(person, nullptr, false, nullptr, 0, web);
struct CdWebContext {
    CdOptions options;
    // "htmlCdDiagramGenerations": the boxes of this generation show the stub that says more ancestors exist.
    int lastGeneration = 3;
    // The word a box shows instead of the person (empty: the person may be named).
    std::function<QString(const FTPerson*)> privacyWord;

    // The preferences, the generations and the pages' privacy rules ("htmlExcludeLivingPeople",
    // "htmlExcludeRecentlyDeadPeople", "htmlDepersonalizeLivingPeople", "htmlYearsSinceDeath") as the user
    // defaults hold them now.
    static std::shared_ptr<CdWebContext> fromUserDefaults();
};
