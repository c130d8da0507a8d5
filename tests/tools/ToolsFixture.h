#pragma once

// A family database for the database-wide editors, with a data folder of its own, scripted alerts and helpers that
// make people, couples and events in one line.

#include "../model/ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDir>

class ToolsFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QDir().mkpath(dataFolder());
        UserDefaults::standard().setString("KinloomDataDirectory", dataFolder());
        // Names as written, not with the family name in capitals.
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        moc = newDatabase();
    }
    void TearDown() override
    {
        moc.reset();
        ModelFixture::TearDown();
    }

    QString dataFolder() const { return pathFor("data"); }
    static QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

    FTPerson* person(const QString& name, const QString& gender = "M")
    {
        return FTPerson::initInMoc(moc.get(), name, gender);
    }
    FTSpouseRel* couple(FTPerson* husband, FTPerson* wife)
    {
        FTSpouseRel* c = FTSpouseRel::initInMoc(moc.get());
        if (husband)
            c->addPartnersObject(husband);
        if (wife)
            c->addPartnersObject(wife);
        return c;
    }
    // An event of the owner (a person's: birth, death or other; a couple's: marriage or other) at `place`.
    FTEvent* event(FTManagedObject* owner, int type, const QString& place, const QString& date = {},
                   const QString& tag = {})
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), type, owner, tag);
        if (!date.isEmpty())
            e->setDate(date);
        if (!place.isEmpty())
            e->setPlace(place);
        return e;
    }
    FTEvent* residence(FTPerson* p, const QString& place, const QString& date = {})
    {
        return event(p, FTEvent::OtherPersonalEvent, place, date, "RESI");
    }

    // What the database holds from now on is the test's starting point: saved, and outside any undo step.
    void settle()
    {
        moc->saveMoc();
        moc->undoManager()->closeOpenGroups();
        prompts.clear();
    }
    // Menu undo as the document runs it: one step back, confirmed, the cached lists built again afterwards.
    void undo()
    {
        moc->undoManager()->closeOpenGroups();
        moc->rebuildPlaces();
        moc->resetEventNames();
        moc->undoManager()->undo();
    }

    std::unique_ptr<FTMoc> moc;
};
