// The message boxes' answers when they are closed without a choice.

#include "platform/ui/QtPrompts.h"

#include "Screenshot.h"
#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {
// Answers the alert that `ask` shows by pressing Escape or by closing its window.
int dismissed(bool byEscape, const std::function<int()>& ask)
{
    bool refused = false;
    QTimer::singleShot(0, [byEscape, &refused] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (byEscape) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        } else {
            box->close();
        }
        // A box that refuses both is closed here, so that the test fails rather than hangs.
        refused = box->isVisible();
        if (refused)
            box->done(0);
    });
    const int answer = ask();
    EXPECT_FALSE(refused) << "the alert stayed open";
    return answer;
}
}

TEST(QtPromptsTest, AnAlertClosedWithoutAChoiceAnswersItsEscapeButton)
{
    TestSupport::useFreshDefaults();
    QtPrompts prompts;
    const QStringList keepOrDiscard { "Keep", "Discard" };
    for (const bool byEscape : { true, false }) {
        SCOPED_TRACE(byEscape ? "Escape" : "close box");
        // Usually the last of two buttons, as for "OK" and "Cancel".
        EXPECT_EQ(dismissed(byEscape, [&] { return prompts.chooseWithTitle("Title", "Keep them?", {}, keepOrDiscard); }),
            1);
        // Where that would lose something, the caller names the button.
        EXPECT_EQ(dismissed(byEscape,
                      [&] { return prompts.chooseWithEscape("Title", "Keep them?", {}, keepOrDiscard, 0); }),
            0);
        EXPECT_EQ(dismissed(byEscape,
                      [&] { return prompts.chooseWithEscape("Title", "Which?", {}, { "One", "Two", "Three" }, 1); }),
            1);
    }
}

TEST(QtPromptsTest, ALongPathWrapsInsteadOfWideningTheAlertPastTheScreen)
{
    TestSupport::useFreshDefaults();
    QtPrompts prompts;
    const QString path = "/home/someone/KinloomData/Reports/" + QString(200, QChar(0x00E9)) + "_Relatives.csv";
    const QString text = "Unable to create report: " + path;
    const QString info = "File name too long: " + QString(120, 'x');
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        // Qt's own limit for a message box on a wide screen is 1,000 pixels.
        EXPECT_LE(box->sizeHint().width(), 1000);
        shown = box->text() + '\n' + box->informativeText();
        saveScreenshot(box, "QtPromptsLongPath");
        box->done(0);
    });
    prompts.message(text, info);
    // Only invisible break opportunities are added: the words read as they were.
    EXPECT_EQ(shown.remove(QChar(0x200B)), text + '\n' + info);

    // Short texts and rich texts are shown as given.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->done(0);
    });
    prompts.message("<b>Saved</b> to " + path);
    EXPECT_EQ(shown, "<b>Saved</b> to " + path);
}

TEST(QtPromptsTest, AnAlertClosedWithEscapeIsCountedAndOneClosedWithItsButtonIsNot)
{
    TestSupport::useFreshDefaults();
    QtPrompts prompts;
    // Escape reaches the box from its focused button, as a key typed in the alert does.
    auto answerWith = [](int key) {
        QTimer::singleShot(0, [key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QWidget* focus = box->focusWidget() ? box->focusWidget() : box;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : "");
            QApplication::sendEvent(focus, &press);
            if (box->isVisible())
                box->done(0);
        });
    };
    const int before = Prompts::escapedAlerts();
    answerWith(Qt::Key_Escape);
    prompts.message("The date is not valid.");
    EXPECT_EQ(Prompts::escapedAlerts(), before + 1);
    answerWith(Qt::Key_Return);
    prompts.message("The date is not valid.");
    EXPECT_EQ(Prompts::escapedAlerts(), before + 1);
    answerWith(Qt::Key_Escape);
    EXPECT_EQ(prompts.chooseWithEscape("Title", "Keep them?", {}, { "Keep", "Discard" }, 0), 0);
    EXPECT_EQ(Prompts::escapedAlerts(), before + 2);
}
