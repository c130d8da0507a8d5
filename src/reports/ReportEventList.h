#pragma once

#include <memory>
#include <vector>

class EventInfo;
class FTPerson;

// A person's events list as the narrative report writes it: the model's list (FTPerson::createEventInfoArray),
// except that step relatives stay out unless `showStepRels` is on, and then only a step child's death comes in
// (never its birth); the couples' events are listed whether or not relatives' events are.
//
//   auto rows = ReportEventList::createEventInfoArray(person, includeRelatedEvents, options.showStepRels);
namespace ReportEventList {
std::vector<std::unique_ptr<EventInfo>> createEventInfoArray(
    FTPerson* person, bool includeRelatedEvents, bool showStepRels);
}
