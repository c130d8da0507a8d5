// The place field with its list of the database's places: completion as typed, case and all, the open list's
// highlighted row, and the list read afresh each time it opens.

#include "ToolsWindowFixture.h"

#include "tools/ui/PlacesComboBox.h"

#include "editor/ui/EditorLineEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

class PlacesComboBoxWindow : public ToolsWindowFixture {
protected:
    void SetUp() override
    {
        ToolsWindowFixture::SetUp();
        box = new PlacesComboBox(doc->dovurWindow());
        box->setMoc(moc);
        box->resize(320, box->sizeHint().height());
        box->show();
        ASSERT_TRUE(moc->places().contains("London, England"));
    }
    static void key(QWidget* w, int key, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &release);
    }
    void typeAfresh(const QString& text)
    {
        box->lineEdit()->setValue({});
        for (QChar c : text)
            key(box->lineEdit(), c == ' ' ? Qt::Key_Space : 0, QString(c));
    }
    int highlighted() const
    {
        const QModelIndex current = box->comboBox()->view()->currentIndex();
        return current.isValid() ? current.row() : -1;
    }

    PlacesComboBox* box = nullptr;
};

TEST_F(PlacesComboBoxWindow, TypingCompletesWithTheCaseAsTyped)
{
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"Lon", "London, England"},
        {"lon", "lon"}, // case counts: no completion
        {"L", "London, England"},
        {"London, England", "London, England"},
        {"Köln", "Köln, Nordrhein-Westfalen"},
        {"Nowhere", "Nowhere"},
    };
    for (const auto& c : cases) {
        typeAfresh(QString::fromUtf8(c.typed));
        EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8(c.shown)) << c.typed;
        // What was completed is selected, so that typing on replaces it.
        EXPECT_EQ(box->lineEdit()->selectionStart() < 0 ? QString() : box->lineEdit()->selectedText(),
            QString::fromUtf8(c.shown).mid(QString::fromUtf8(c.typed).size()))
            << c.typed;
        EXPECT_TRUE(box->lineEdit()->isEditing());
    }

    // Deleting is not undone by a completion.
    typeAfresh("Lon");
    key(box->lineEdit(), Qt::Key_Backspace); // the completed part
    key(box->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(box->lineEdit()->text(), "Lo");

    // Typing with the list open (which has the keys) goes on in the field, and closes the list first.
    box->lineEdit()->setValue("Yo");
    box->lineEdit()->end(false);
    box->showPopup();
    ASSERT_TRUE(box->isPopupVisible());
    key(box->comboBox()->view(), 0, "r");
    EXPECT_FALSE(box->isPopupVisible());
    EXPECT_EQ(box->lineEdit()->text(), "York, England");
}

TEST_F(PlacesComboBoxWindow, TheOpenListHighlightsAPlaceOnlyFromThreeCharacters)
{
    const int london = int(moc->places().indexOf("London, England"));
    const struct {
        const char* text;
        int row; // -1: nothing highlighted
    } cases[] = {
        {"", -1},
        {"Lo", -1},
        {"Lon", london},
        {"London", london},
        {"lon", -1},
        {"Xyz", -1},
    };
    for (const auto& c : cases) {
        box->lineEdit()->setValue(c.text);
        box->showPopup();
        ASSERT_TRUE(box->isPopupVisible());
        EXPECT_EQ(highlighted(), c.row) << c.text;
        EXPECT_EQ(box->indexOfItemWithStringValue(c.text), c.row < 0 ? PlacesComboBox::kNotFound : c.row) << c.text;
        // The list does not change what the field shows.
        EXPECT_EQ(box->lineEdit()->text(), c.text);
        box->hidePopup();
    }
    // Closed, nothing is highlighted whatever the text.
    EXPECT_EQ(box->indexOfItemWithStringValue("London"), PlacesComboBox::kNotFound);
}

TEST_F(PlacesComboBoxWindow, TheListIsTheDatabasesPlacesWhenItOpensAndAChoiceEndsTheEdit)
{
    const int before = box->numberOfItems();
    EXPECT_EQ(before, moc->places().size());
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
    FTEvent* birth = FTEvent::initInMoc(moc, FTEvent::BirthEvent, ann, "BIRT");
    birth->setPlace("Aachen, Nordrhein-Westfalen");
    box->showPopup();
    EXPECT_EQ(box->comboBox()->count(), moc->places().size());
    EXPECT_EQ(box->numberOfItems(), before + 1);
    EXPECT_EQ(box->objectValueForItemAtIndex(int(moc->places().indexOf("Aachen, Nordrhein-Westfalen"))),
        "Aachen, Nordrhein-Westfalen");
    EXPECT_EQ(box->objectValueForItemAtIndex(-1), "");
    EXPECT_EQ(box->objectValueForItemAtIndex(box->numberOfItems()), "");
    saveScreenshot(box->comboBox()->view()->window(), "PlacesComboBoxList");

    QString stored;
    box->lineEdit()->shouldEndEditing = [&] {
        stored = box->lineEdit()->text();
        return true;
    };
    const int york = int(moc->places().indexOf("York, England"));
    Q_EMIT box->comboBox()->activated(york);
    EXPECT_EQ(stored, "York, England");
    EXPECT_FALSE(box->lineEdit()->isEditing());
}
