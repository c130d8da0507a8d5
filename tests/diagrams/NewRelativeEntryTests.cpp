#include "DiagramFixture.h"

#include "diagrams/NewRelativeEntry.h"

#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"

#include "platform/NotificationCenter.h"

class NewRelativeEntryTest : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        options.showGhostOutlines = true;
    }
    // The empty slot of `level` (and `gender`, and for a parent's slot `pcRelType`) around the focal person.
    const CdPerson* slot(long level, const QString& gender, int pcRelType = FTPcRel::kNatural)
    {
        for (const auto& b : layout.cdPersonsArray())
            if (b->isGhost() && b->ancLevel() == level && b->gender() == gender
                && (level < 1 || (b->pcRelType() == FTPcRel::kStep) == (pcRelType == FTPcRel::kStep)))
                return b.get();
        return nullptr;
    }
    QString promptAround(FTPerson* focal, long level, const QString& gender, int pcRelType = FTPcRel::kNatural,
                         FTPerson* selected = nullptr)
    {
        focusOn(focal);
        build();
        const CdPerson* s = slot(level, gender, pcRelType);
        if (!s)
            return "(no slot)";
        return NewRelativeEntry::promptString(s, selected ? layout.findPerson(selected) : nullptr);
    }
};

TEST_F(NewRelativeEntryTest, ThePromptProposesTheLikelyFamilyNameAndTheSlotsGender)
{
    FTPerson* john = person("John Smith", M(), 1930);
    FTPerson* mary = person("Mary Jones", F(), 1932);
    john->addSpouseRel(mary);
    FTPerson* ann = person("Ann Brown", F(), 1940);
    FTPerson* kate = person("Kate Smith", F(), 1960);
    FTPerson* bob = person("Bob Smith", M(), 1935);
    link(bob, kate);
    FTPerson* sue = person("Sue Green", F(), 1937);
    link(sue, kate);
    FTPerson* tom = person("Tom Smith", M(), 1962);

    const int step = FTPcRel::kStep;
    struct Case {
        const char* what;
        QString prompt;
        QString expected;
    } cases[] = {
        {"a father's child", promptAround(john, CdPerson::kChild, F()), "Smith, F"},
        {"a mother's child takes her spouse's name", promptAround(mary, CdPerson::kChild, F()), "Smith, F"},
        {"a mother's child without a spouse", promptAround(ann, CdPerson::kChild, F()), ", F"},
        {"a father shares the child's name", promptAround(tom, 1, M()), "Smith, M"},
        {"a mother's maiden name is unknown", promptAround(tom, 1, F()), ", F"},
        {"a spouse", promptAround(tom, CdPerson::kSpouse, F()), ", F"},
        {"a step parent beside the selected father", promptAround(kate, 1, F(), step, bob), ", F"},
        {"a step parent beside the selected mother", promptAround(kate, 1, F(), step, sue), ", M"},
        {"a step parent with a child selected", promptAround(kate, 1, F(), step, kate), ", F"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.prompt, c.expected) << c.what;

    // A slot that hangs from nobody.
    CdPerson orphan(nullptr, nullptr, false, nullptr, CdPerson::kChild, &layout);
    EXPECT_EQ(NewRelativeEntry::promptString(&orphan, nullptr), LocalizedString("SomethingWrong"));
    EXPECT_EQ(NewRelativeEntry::promptString(nullptr, nullptr), LocalizedString("SomethingWrong"));
}

TEST_F(NewRelativeEntryTest, TheTextSplitsIntoANameAndAGenderLetter)
{
    const QString format2 = "Please type the name, a comma and the gender: M or F";
    struct Case {
        QString text;
        bool ok;
        QString name;
        QString gender;
        QStringList messages;
    } cases[] = {
        {"Anna, f", true, "Anna", "F", {}},
        {" Anna Smith , m \n", true, "Anna Smith", "M", {}},
        {"Anna", false, "", "", {format2}},
        {"Anna, X", false, "", "", {format2}},
        {"Anna,", false, "", "", {format2}},
        {"Anna, F, born 1950", true, "Anna", "F", {LocalizedString("DiagEntryFormat")}},
        {" , F", false, "", "", {format2}},
    };
    for (const Case& c : cases) {
        prompts.records.clear();
        QString name, gender;
        EXPECT_EQ(NewRelativeEntry::extractNameAndGender(c.text, &name, &gender), c.ok) << c.text.toStdString();
        EXPECT_EQ(name, c.name) << c.text.toStdString();
        EXPECT_EQ(gender, c.gender) << c.text.toStdString();
        EXPECT_EQ(messages(), c.messages) << c.text.toStdString();
    }
}

TEST_F(NewRelativeEntryTest, EachKindOfSlotMakesItsRelativeAndSaysSo)
{
    moc->undoManager()->enableUndoRegistration();
    FTPerson* kate = person("Kate Smith", F(), 1960);
    moc->saveMoc();
    QStringList posted;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    for (const char* name : {"AddedChildInPcd", "AddedSpouseInPcd", "AddedParentInPcd"})
        center.addObserver(
            name, nullptr,
            [&posted](const Notification& n) {
                posted << n.name + " " + static_cast<const FTPerson*>(n.object)->name();
            },
            this);
    struct Case {
        long kind;
        int pcRelType;
        const char* text;
        const char* notice;
        int linkType; // of the link between Kate and the newcomer, 0 for a spouse
    } cases[] = {
        {CdPerson::kChild, 1, "Anna, f", "AddedChildInPcd", FTPcRel::kNatural},
        {CdPerson::kSpouse, 1, "Peter Brown, m", "AddedSpouseInPcd", 0},
        {1, FTPcRel::kNatural, "Bob Smith, M", "AddedParentInPcd", FTPcRel::kNatural},
        {1, FTPcRel::kStep, "Sue Green, F", "AddedParentInPcd", FTPcRel::kStep},
    };
    for (const Case& c : cases) {
        posted.clear();
        std::vector<QString> shown;
        FTPerson* added = NewRelativeEntry::createNewPerson(kate, c.kind, c.pcRelType, c.text,
                                                            [&](const QString& t) { shown.push_back(t); });
        ASSERT_TRUE(added) << c.text;
        EXPECT_EQ(posted, QStringList {QString(c.notice) + " " + added->name()});
        EXPECT_EQ(moc->undoManager()->undoActionName(), "Add " + added->name());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], added->name() + ", " + added->gender());
        if (c.kind == CdPerson::kSpouse) {
            EXPECT_TRUE(kate->spouses().contains(added));
        } else {
            FTPerson* parent = c.kind == CdPerson::kChild ? kate : added;
            FTPerson* child = c.kind == CdPerson::kChild ? added : kate;
            int type = -1;
            for (const FTPcRel* l : child->parentRels())
                if (l->parent() == parent)
                    type = l->intPcRelType();
            EXPECT_EQ(type, c.linkType) << c.text;
        }
        moc->undoManager()->closeOpenGroups();
    }
    EXPECT_EQ(kate->children().size(), 1);
    EXPECT_EQ(kate->children().value(0)->child()->gender(), F());
    center.removeObserversOf(this);
}

TEST_F(NewRelativeEntryTest, RefusalsAndCancelledQuestionsMakeNobody)
{
    FTPerson* kate = person("Kate Smith", F(), 1960);
    // Anna is usually a woman's name here: typing her as a man asks, and "Cancel" (the third button) makes nobody.
    person("Anna Old", F(), 1900);
    const qsizetype people = moc->fetch<FTPerson>().size();

    prompts.answer(2);
    EXPECT_FALSE(NewRelativeEntry::createNewPerson(kate, CdPerson::kChild, 1, "Anna, M"));
    EXPECT_EQ(prompts.records.value(0).kind, ScriptedPrompts::Choose);

    prompts.clear();
    EXPECT_FALSE(NewRelativeEntry::createNewPerson(kate, CdPerson::kSpouse, 1, "Jane, F"));
    EXPECT_EQ(messages(), QStringList {LocalizedString("SameSexUnion")});

    // A person of that name and age exists: "Discard".
    defaults().setBool("duplicateNameWarning", true);
    person("Anna Smith", F(), 1985);
    prompts.clear();
    prompts.answer(1);
    EXPECT_FALSE(NewRelativeEntry::createNewPerson(kate, CdPerson::kChild, 1, "Anna Smith, F"));
    EXPECT_EQ(moc->fetch<FTPerson>().size(), people + 1);
    EXPECT_TRUE(kate->children().isEmpty());
    EXPECT_FALSE(NewRelativeEntry::createNewPerson(nullptr, CdPerson::kChild, 1, "Anna, F"));
}
