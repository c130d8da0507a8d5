#include "../model/ModelFixture.h"
#include "QtPrinters.h"

#include "shell/FieldValidation.h"

#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

class GenderField : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        TestSupport::useFreshDefaults();
        moc = newDatabase();
        ASSERT_TRUE(moc);
    }
    FTPerson* person(const QString& name, const QString& gender)
    {
        return FTPerson::initInMoc(moc.get(), name, gender);
    }
    std::unique_ptr<FTMoc> moc;
};

TEST_F(GenderField, TheLetterThenTheSpousesDecide)
{
    const FieldValidation none = ValidateGenderFieldEditor(" f", nullptr);
    EXPECT_TRUE(none.accepted);
    EXPECT_EQ(none.text, "M");

    FTPerson* p = person("Sam Smith", "M");
    const FieldValidation bad = ValidateGenderFieldEditor("x", p);
    EXPECT_FALSE(bad.accepted);
    EXPECT_EQ(bad.text, "M");
    EXPECT_EQ(bad.message, LocalizedString("GenderQualification"));

    const FieldValidation ok = ValidateGenderFieldEditor("female", p);
    EXPECT_TRUE(ok.accepted);
    EXPECT_EQ(ok.text, "F");
    EXPECT_EQ(p->gender(), "F");

    for (const char* n : { "Al", "Bo" }) {
        FTSpouseRel* c = FTSpouseRel::initInMoc(moc.get());
        c->addPartnersObject(p);
        c->addPartnersObject(person(n, "M"));
    }
    const FieldValidation refused = ValidateGenderFieldEditor("m", p);
    EXPECT_FALSE(refused.accepted);
    EXPECT_EQ(refused.text, "F");
    EXPECT_EQ(p->gender(), "F");
    EXPECT_EQ(prompts.records.size(), 1);
}
