#include "platform/UserDefaults.h"
#include "platform/ui/QtPrompts.h"

#include "TestSupport.h"

#include <QDialog>
#include <QImage>
#include <QPlainTextEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

TEST(ShowMeWindow, ShowsTheLongTextOnThePanelColour)
{
    TestSupport::useFreshDefaults();
    UserDefaults::standard().setColor("panelsBgColour", QColor(204, 226, 213));
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines << QStringLiteral("Line %1 of the import log").arg(i);
    std::unique_ptr<QDialog> w(QtPrompts::createShowMeWindow("Import Log", '\n' + lines.join('\n')));
    EXPECT_EQ(w->objectName(), "ShowMe");
    EXPECT_EQ(w->windowTitle(), "Import Log");
    auto* view = w->findChild<QPlainTextEdit*>("textView");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(view->toPlainText(), '\n' + lines.join('\n'));
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(204, 226, 213));
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(204, 226, 213));

    w->show();
    const QImage shot = w->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(204, 226, 213)) << "the window's margin shows the panel colour";
    EXPECT_TRUE(shot.save(TestSupport::tempRoot() + "/ShowMe.png"));
}
