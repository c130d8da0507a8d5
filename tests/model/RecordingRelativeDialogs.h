#pragma once

// The person editor's relative dialogs as the model opens them, recorded as "attachChild <name>" ... lines.

#include "model/FTPerson.h"
#include "model/RelativeDialogs.h"

#include <QStringList>

struct RecordingDialogs : RelativeDialogs {
    static QString nameOf(const FTPerson* p) { return p ? p->name() : QStringLiteral("-"); }

    QStringList calls;
    bool familyPage = false;
    void addChild(FTPerson* child) override { calls << "addChild " + nameOf(child); }
    void addParent(FTPerson* child, FTPerson* parent, int type, FTPerson* spouse) override
    {
        calls << QStringLiteral("addParent %1 %2 %3 %4").arg(nameOf(child), nameOf(parent)).arg(type).arg(nameOf(spouse));
    }
    void attachExistingPersonAsChild(FTPerson* parent) override { calls << "attachChild " + nameOf(parent); }
    void attachExistingPersonAsParent(FTPerson* child) override { calls << "attachParent " + nameOf(child); }
    void attachExistingPersonAsSpouse(FTPerson* person, bool sameSex) override
    {
        calls << QStringLiteral("attachSpouse %1 %2").arg(nameOf(person)).arg(sameSex);
    }
    void family(FTPerson* person, FTPerson* spouse) override { calls << "family " + nameOf(person) + " " + nameOf(spouse); }
    bool isShowingFamilyPage() const override { return familyPage; }
};
