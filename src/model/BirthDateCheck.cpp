#include "model/BirthDateCheck.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

Dates::Person BirthDateCheckPerson(const FTPerson* person)
{
    Dates::Person out;
    if (!person)
        return out;
    out.name = person->name();
    out.firstName = person->firstName();
    out.gender = person->gender();
    auto relative = [](const FTPerson* p) {
        Dates::Relative r;
        r.firstName = p->firstName();
        r.gender = p->gender();
        if (const FTEvent* birth = p->birth()) {
            r.birthKey = birth->lDate();
            r.birthYear = birth->year();
        }
        return r;
    };
    for (const FTPcRel* link : person->children())
        if (const FTPerson* child = link->child())
            out.children << relative(child);
    for (const FTPcRel* link : person->parents())
        if (const FTPerson* parent = link->parent())
            out.parents << relative(parent);
    return out;
}
