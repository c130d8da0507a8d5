#pragma once

// A new family database with helpers that make people, couples, parent-child links and dated events.

#include "ModelFixture.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <ostream>

// The people's names, in order ("<null>" for none).
inline QStringList names(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << (p ? p->name() : QStringLiteral("<null>"));
    return out;
}

// The type of the link from `parent` to `child`; -1 when there is none.
inline int typeOf(const FTPerson* parent, const FTPerson* child)
{
    for (const FTPcRel* l : parent->children())
        if (l->child() == child)
            return l->intPcRelType();
    return -1;
}

class PeopleFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        // No preference set, in every binary alike: names stay as typed (no family name in capitals).
        TestSupport::useFreshDefaults();
        moc = newDatabase();
        ASSERT_TRUE(moc);
    }
    void TearDown() override
    {
        moc.reset();
        ModelFixture::TearDown();
    }

    static QString M() { return LocalizedString("MaleShort"); }
    static QString F() { return LocalizedString("FemaleShort"); }
    static UserDefaults& defaults() { return UserDefaults::standard(); }

    FTPerson* person(const QString& name, const QString& gender = {})
    {
        return FTPerson::initInMoc(moc.get(), name, gender);
    }
    FTPcRel* link(FTPerson* parent, FTPerson* child, int type = FTPcRel::kNatural)
    {
        FTPcRel* l = FTPcRel::initInMoc(moc.get());
        l->setParent(parent);
        l->setChild(child);
        l->setPcRelType(type);
        return l;
    }
    FTSpouseRel* couple(FTPerson* a, FTPerson* b)
    {
        FTSpouseRel* c = FTSpouseRel::initInMoc(moc.get());
        c->addPartnersObject(a);
        if (b)
            c->addPartnersObject(b);
        return c;
    }
    // Dates an event reached by key path from a record ("birth", "death", "marriage"), making it when missing.
    static FTEvent* date(ManagedObject* owner, const QString& which, int day, int month, int year, int qual = 0)
    {
        owner->setValueForKeyPath(which + ".year", year);
        auto* e = static_cast<FTEvent*>(ManagedObject::fromVariant(owner->valueForKey(which)));
        e->setQual(qual);
        e->setMonth(month);
        e->setDay(day);
        e->setDate(Dates::dateStringFor(qual, day, month, year));
        return e;
    }
    static FTEvent* year(ManagedObject* owner, const QString& which, int y) { return date(owner, which, 0, 0, y); }

    std::unique_ptr<FTMoc> moc;
};
