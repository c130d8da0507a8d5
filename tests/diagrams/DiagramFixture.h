#pragma once

// A family database with helpers that make people and links, and a CdLayout over it with options set in code.

#include "../model/PeopleFixture.h"
#include "ScreenshotImage.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"

#include "model/FTAssociation.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QImage>

class DiagramFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        moc->undoManager()->disableUndoRegistration();
        layout.setMoc(moc.get());
        options.showGhostOutlines = false;
        options.showStepRelsOfFocalPerson = true;
        options.highlightBadPcRels = false;
    }
    void TearDown() override
    {
        layout.setMoc(nullptr);
        PeopleFixture::TearDown();
    }

    // A person with birth and death years (0: none).
    FTPerson* person(const QString& name, const QString& gender = M(), int born = 0, int died = 0)
    {
        FTPerson* p = PeopleFixture::person(name, gender);
        if (born)
            p->setValueForKeyPath("birth.date", QString::number(born));
        if (died)
            p->setValueForKeyPath("death.date", QString::number(died));
        return p;
    }
    void associate(FTPerson* from, FTPerson* to)
    {
        FTAssociation* a = FTAssociation::initInMoc(moc.get());
        a->setFromPerson(from);
        a->setToPerson(to);
    }
    void focusOn(FTPerson* p)
    {
        moc->modelDefaults()->setFocalPerson(p);
        moc->modelDefaults()->setSelectedPerson(p);
    }
    // Me (1930) with Wife (1932), Son (1955) and Daughter (1957); Dad (1900) above Me and Grandad (1870) above
    // Dad. Me is focal.
    void makeFamily()
    {
        me = person("Me", M(), 1930);
        wife = person("Wife", F(), 1932);
        me->addSpouseRel(wife);
        son = person("Son", M(), 1955);
        daughter = person("Daughter", F(), 1957);
        link(me, son);
        link(me, daughter);
        dad = person("Dad", M(), 1900);
        link(dad, me);
        grandad = person("Grandad", M(), 1870);
        link(grandad, dad);
        focusOn(me);
    }
    // makeFamily() with Mum (1905) beside Dad, Stepdad (1902) as Me's step father and Friend (1931) associated
    // with Me.
    void makeWiderFamily()
    {
        makeFamily();
        mum = person("Mum", F(), 1905);
        link(mum, me);
        stepDad = person("Stepdad", M(), 1902);
        link(stepDad, me, FTPcRel::kStep);
        friendOfMe = person("Friend", M(), 1931);
        associate(me, friendOfMe);
    }
    // Rebuilds around the focal person with `options`.
    const std::vector<std::unique_ptr<CdPerson>>& build()
    {
        layout.setOptions(options);
        layout.setSelectedPerson(moc->modelDefaults()->selectedPerson());
        layout.refreshPersonArray();
        return layout.cdPersonsArray();
    }
    void place(double width = 1010, double height = 421)
    {
        layout.setBounds(QSizeF(width, height));
        layout.calculateFocalRect();
        layout.setPersonRects();
    }
    // "<level>:<type>:<name or ghost gender>" per box, in array order.
    QStringList describe() const
    {
        QStringList out;
        for (const auto& b : layout.cdPersonsArray())
            out << QStringLiteral("%1:%2:%3")
                       .arg(b->ancLevel())
                       .arg(b->pcRelType())
                       .arg(b->person() ? b->person()->name() : "ghost " + b->gender());
        return out;
    }

    CdOptions options;
    CdLayout layout;
    FTPerson *me = nullptr, *wife = nullptr, *son = nullptr, *daughter = nullptr, *dad = nullptr, *grandad = nullptr;
    FTPerson *mum = nullptr, *stepDad = nullptr, *friendOfMe = nullptr;
};
