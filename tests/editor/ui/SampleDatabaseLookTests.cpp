// The main window over the sample database, in the crowded states a real family gives: a king with six wives, a
// queen with nine children, long titled names, an ancestral view; every page of the editor for them.
#include "EditorFixture.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdDiagram.h"
#include "editor/ui/InfoArea_Family2.h"
#include "shell/ui/DefaultWindowSize.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTProjectView.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QSplitter>
#include <QTabBar>
#include <QToolTip>

namespace {

class SampleDatabaseLook : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        const QString sample = QCoreApplication::applicationDirPath() + "/../share/kinloom/Royal92.RezUdu";
        ASSERT_TRUE(QFile::copy(sample, data + "/Royal92.RezUdu"));
        doc = app->openDocumentWithContentsOfURL(data + "/Royal92.RezUdu");
        ASSERT_NE(doc, nullptr);
        doc->dovurWindow()->show();
        doc->dovurWindow()->activateWindow();
        settle();
        moc = doc->moc();
        editor = editorOf(doc);
    }
    void settle() const
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        doc->dovurWindow()->repaint();
    }
    FTPerson* named(const QString& pattern) const
    {
        const QList<FTPerson*> found = moc->findPeopleWithName(pattern);
        EXPECT_FALSE(found.isEmpty()) << pattern.toStdString();
        return found.value(0);
    }
    void focusOn(FTPerson* person)
    {
        moc->modelDefaults()->setFocalPerson(person);
        select(person);
        settle();
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
};

TEST_F(SampleDatabaseLook, EveryPageOfTheEditorForAKingWithSixWives)
{
    FTPerson* henry = named("Henry_VIII*");
    ASSERT_NE(henry, nullptr);
    ASSERT_GE(henry->spouses().size(), 6);
    focusOn(henry);
    const char* pages[] = {"pSelf", "pRelatives", "pFamily", "pFamily2", "pEvents", "pNotes", "pComments", "pStory",
        "pPictures", "pAncestors", "pDescendants"};
    for (const char* id : pages) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(editor->choosePage(QString::fromLatin1(id)));
        settle();
        settle();
        saveScreenshot(doc->dovurWindow(), QStringLiteral("sample-henry-%1").arg(QString::fromLatin1(id)));
    }
}

TEST_F(SampleDatabaseLook, AQueenWithNineChildrenInTheDefaultAndTheNarrowestWindow)
{
    FTPerson* victoria = named("Victoria Hanover*");
    ASSERT_NE(victoria, nullptr);
    ASSERT_TRUE(editor->choosePage("pFamily2"));
    focusOn(victoria);
    for (const QSize size : {QSize(DOvurDocument::kDefaultWidth, DOvurDocument::kDefaultHeight),
             QSize(DOvurDocument::kMinWidth, DOvurDocument::kMinHeight), QSize(1400, 1000)}) {
        doc->dovurWindow()->resize(size);
        settle();
        settle();
        saveScreenshot(doc->dovurWindow(), QStringLiteral("sample-victoria-%1x%2").arg(size.width()).arg(size.height()));
    }
}

TEST_F(SampleDatabaseLook, AnAncestralViewWithItsNumbers)
{
    FTPerson* charles = named("Charles Philip*");
    ASSERT_NE(charles, nullptr);
    FTProjectView* view = FTProjectView::initInMoc(moc);
    view->setRootPersonInAncestralView(charles);
    moc->modelDefaults()->setCurrentView(view);
    for (int option : {11, 10}) {
        UserDefaults::standard().setInteger("cdNameOption", option);
        ASSERT_TRUE(editor->choosePage("pAncestors"));
        focusOn(charles);
        doc->pcd()->setRefreshArray(true);
        settle();
        saveScreenshot(doc->dovurWindow(), QStringLiteral("sample-ancestral-view-%1").arg(option));
    }
}

TEST_F(SampleDatabaseLook, TheTooltipsOfABox)
{
    FTPerson* victoria = named("Victoria Hanover*");
    ASSERT_NE(victoria, nullptr);
    focusOn(victoria);
    auto* diagram = qobject_cast<CdDiagram*>(doc->pcd());
    ASSERT_NE(diagram, nullptr);
    const CdPerson* focal = diagram->cdLayout().focalBox();
    ASSERT_NE(focal, nullptr);
    for (bool full : {false, true}) {
        UserDefaults::standard().setBool("showFullPcdToolTips", full);
        diagram->prepare();
        const QPoint at = focal->rclBox().center().toPoint();
        QHelpEvent help(QEvent::ToolTip, at, diagram->mapToGlobal(at));
        QApplication::sendEvent(diagram, &help);
        QApplication::processEvents();
        QWidget* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible())
                tip = w;
        ASSERT_NE(tip, nullptr);
        saveScreenshot(tip, full ? "sample-diagram-tooltip-full" : "sample-diagram-tooltip");
        QToolTip::hideText();
    }
}

// The first window on the screen it opens on (the suite runs this at 1024x700 too): sized from the screen, whole
// on it with a margin; the editor's page tabs without scroll arrows; on every page each visible button of the
// window keeps the style's layout margin from the window's edge. Every page is grabbed for looking at.
TEST_F(SampleDatabaseLook, TheFirstWindowTakesItsSizeFromTheScreen)
{
    QMainWindow* window = doc->dovurWindow();
    const QRect screen = window->screen()->availableGeometry();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    if (screen.width() >= DOvurDocument::kMinWidth + 40 && screen.height() >= DOvurDocument::kMinHeight + 80) {
        EXPECT_TRUE(screen.adjusted(16, 16, -16, -16).contains(window->frameGeometry()))
            << window->frameGeometry().width() << "x" << window->frameGeometry().height() << " on "
            << size.toStdString();
    }
    EXPECT_EQ(window->size(), defaultWindowSize(screen, window->style()->pixelMetric(QStyle::PM_TitleBarHeight)));

    QTabBar* tabs = editor->pTabView()->tabBar();
    EXPECT_LE(tabs->sizeHint().width(), tabs->width()) << "the page tabs scroll";

    const QStyle* style = window->style();
    const QRect inside = window->rect().adjusted(style->pixelMetric(QStyle::PM_LayoutLeftMargin),
        style->pixelMetric(QStyle::PM_LayoutTopMargin), -style->pixelMetric(QStyle::PM_LayoutRightMargin),
        -style->pixelMetric(QStyle::PM_LayoutBottomMargin));
    for (int page = 0; page < tabs->count(); ++page) {
        const QString id = editor->pTabView()->widget(page)->objectName();
        SCOPED_TRACE(id.toStdString());
        ASSERT_TRUE(editor->choosePage(id));
        settle();
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->isVisible()) {
                const QRect at(button->mapTo(window, QPoint(0, 0)), button->size());
                EXPECT_TRUE(inside.contains(at))
                    << (button->text().isEmpty() ? button->objectName() : button->text()).toStdString() << " at "
                    << at.left() << "," << at.top() << "-" << at.right() << "," << at.bottom() << " in "
                    << window->width() << "x" << window->height();
            }
        // A table's text has the size of the labels and check boxes beside it.
        const QWidget* shown = editor->pTabView()->currentWidget();
        for (const QAbstractItemView* view : shown->findChildren<QAbstractItemView*>())
            if (view->isVisible())
                EXPECT_EQ(view->font().pointSize(), shown->font().pointSize()) << view->objectName().toStdString();
        saveScreenshot(window, QStringLiteral("first-window-%1-%2").arg(size, id));
    }
}

} // namespace
