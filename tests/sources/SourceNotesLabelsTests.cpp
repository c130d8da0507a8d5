// Label sets for source notes: the stored form of a typed row, the order, the text a set inserts.

#include "TestSupport.h"

#include "sources/SourceNotesLabels.h"

#include "platform/UserDefaults.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

TEST(SourceNotesLabels, TypedRowsTakeTheStoredForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Volume; Page, Line", "Volume: Page Line: "},
        {"Film :: Item :", "Film: Item: "},
        {"  Census Year:Piece:  Folio", "Census Year: Piece: Folio: "},
        {"Entry", "Entry: "},
        {" \n ", ""},
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(SourceNotesLabels::normalisedLabel(typed), stored) << typed;
}

TEST(SourceNotesLabels, SavedSetsAreSortedIgnoringCaseWithoutEmptyRows)
{
    TestSupport::useFreshDefaults();
    SourceNotesLabels::saveLabels(
        {SourceLabel("volume; page"), SourceLabel("   "), SourceLabel("Film :: Item :"), SourceLabel("Census: Piece")});
    EXPECT_THAT(SourceNotesLabels::labelSets(), ElementsAre("Census: Piece: ", "Film: Item: ", "volume: page: "));
    EXPECT_EQ(SourceNotesLabels::textToInsert("Volume: Page Line: "), "Volume: \nPage Line: \n");
}
