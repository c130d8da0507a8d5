// The message boxes' answers when they are closed without a choice.

#include "platform/ui/QtPrompts.h"

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
