// Help > About Kinloom, and the look of dialog buttons.

#include "Screenshot.h"
#include "TestSupport.h"

#include "shell/ui/AboutBox.h"
#include "shell/ui/DesktopStyle.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

// The box names the program and its version, says what it is for and whose work it is built on.
TEST(AboutBox, NamesTheProgramItsVersionAndTheLicencesOfWhatItUses)
{
    std::unique_ptr<QDialog> box(createAboutBox(nullptr));
    EXPECT_EQ(box->windowTitle(), "About Kinloom");
    const QString name = box->findChild<QLabel*>("name")->text();
    EXPECT_TRUE(name.contains("Kinloom")) << name.toStdString();
    EXPECT_TRUE(name.contains(KINLOOM_VERSION)) << name.toStdString();
    const QString licences = box->findChild<QLabel*>("licences")->text();
    for (const char* part : {"Qt", "LGPL", "SQLite", "public domain"})
        EXPECT_TRUE(licences.contains(part)) << part;
    box->show();
    saveScreenshot(box.get(), "about-box");
    // Nothing is cut off: the box is as tall as its texts need.
    EXPECT_GE(box->height(), box->sizeHint().height());
}

// OK, Cancel and Close carry no pictures: the desktop themes have none for them.
TEST(DesktopStyle, DialogButtonsCarryNoPictures)
{
    DesktopStyle style;
    QDialogButtonBox buttons;
    buttons.setStyle(&style);
    buttons.setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    for (QAbstractButton* button : buttons.buttons())
        EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
}
