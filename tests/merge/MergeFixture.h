#pragma once

// Two small family databases side by side, as the comparison sees them: `other` (side 1, the database compared
// from) and `open` (side 2, the open database), with helpers that make people, events and relatives in either.

#include "../model/ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/FTStory.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QDir>

inline QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

class MergeFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QDir().mkpath(pathFor("data"));
        UserDefaults::standard().setString("KinloomDataDirectory", pathFor("data"));
        // Names as typed, so that the expected texts read as the names were made.
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        other = newDatabase("Other.RezUdu");
        open = newDatabase("Family.RezUdu");
    }
    void TearDown() override
    {
        other.reset();
        open.reset();
        ModelFixture::TearDown();
    }

    // A person with an optional birth (date and place) and id (0: the one it was given).
    static FTPerson* person(FTMoc* moc, const QString& name, const QString& gender = "M", const QString& born = {},
        const QString& place = {}, int id = 0)
    {
        FTPerson* p = FTPerson::initInMoc(moc, name, gender);
        if (!born.isEmpty() || !place.isEmpty()) {
            FTEvent* birth = FTEvent::initInMoc(moc, FTEvent::BirthEvent, p, {});
            if (!born.isEmpty())
                birth->setDate(born);
            if (!place.isEmpty())
                birth->setPlace(place);
        }
        if (id != 0)
            p->setNumericId(id);
        return p;
    }
    static FTEvent* event(FTPerson* p, const QString& subtype, const QString& date, const QString& place = {})
    {
        FTEvent* e = FTEvent::initInMoc(p->moc(), FTEvent::OtherPersonalEvent, p, subtype);
        if (!date.isEmpty())
            e->setDate(date);
        if (!place.isEmpty())
            e->setPlace(place);
        return e;
    }
    static FTSpouseRel* marry(FTPerson* a, FTPerson* b, const QString& date = {}, const QString& place = {})
    {
        FTSpouseRel* couple = a->addSpouseRel(b);
        if (!date.isEmpty() || !place.isEmpty()) {
            FTEvent* m = FTEvent::initInMoc(a->moc(), FTEvent::MarriageEvent, couple, {});
            if (!date.isEmpty())
                m->setDate(date);
            if (!place.isEmpty())
                m->setPlace(place);
        }
        return couple;
    }
    static void parentOf(FTPerson* parent, FTPerson* child) { parent->attachChild(child, 1, false, nullptr); }
    static FTPicture* picture(FTPerson* p, const QString& filename)
    {
        FTPicture* picture = FTPicture::initInMoc(p->moc(), QString(), p);
        picture->setString("filename", filename);
        return picture;
    }
    static FTSourceRel* cite(FTPerson* p, const QString& title, const QString& page)
    {
        FTSource* source = p->moc()->fetchFirst<FTSource>([&](const FTSource* s) { return s->title() == title; });
        if (!source) {
            source = FTSource::initInMoc(p->moc());
            source->setTitle(title);
        }
        FTSourceRel* c = FTSourceRel::initInMoc(p->moc(), source, p, QString());
        c->setReference(page);
        return c;
    }
    static void story(FTPerson* p, const QString& html)
    {
        FTStory* s = FTStory::initInMoc(p->moc());
        s->setPerson(p);
        s->setAttributedString(html);
    }

    std::unique_ptr<FTMoc> other;
    std::unique_ptr<FTMoc> open;
};
