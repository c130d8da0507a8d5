#include "editor/ui/InfoAreaController.h"

#include "editor/ui/EditorHooks.h"
#include "editor/ui/EditorPage.h"
#include "editor/ui/EditorTags.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/NotesWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QHash<QString, InfoAreaController::PageFactory>& pageFactories()
{
    static QHash<QString, InfoAreaController::PageFactory> factories;
    return factories;
}

constexpr const char* kNextKeyView = "kinloomNextKeyView";

// Every change of tab by the user passes the gate first, so that a field edit ends before its page is left.
class EditorTabBar : public QTabBar {
public:
    std::function<bool(int)> gate;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        const int index = tabAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && index >= 0 && index != currentIndex() && gate && !gate(index)) {
            event->accept();
            return;
        }
        QTabBar::mousePressEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
    void keyPressEvent(QKeyEvent* event) override
    {
        int index = -1;
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up)
            index = currentIndex() - 1;
        else if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down)
            index = currentIndex() + 1;
        if (index >= 0 && index < count() && gate && !gate(index)) {
            event->accept();
            return;
        }
        QTabBar::keyPressEvent(event);
    }
};

class EditorTabWidget : public QTabWidget {
public:
    explicit EditorTabWidget(std::function<bool(int)> gate)
        : m_gate(std::move(gate))
    {
        auto* bar = new EditorTabBar;
        bar->gate = m_gate;
        setTabBar(bar);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        int step = 0;
        if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown))
            step = 1;
        else if (ctrl && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp))
            step = -1;
        if (step != 0 && count() > 0) {
            const int index = (currentIndex() + step + count()) % count();
            if (m_gate(index))
                setCurrentIndex(index);
            event->accept();
            return;
        }
        QTabWidget::keyPressEvent(event);
    }

private:
    std::function<bool(int)> m_gate;
};
}

void InfoAreaController::setPageFactory(const QString& identifier, PageFactory factory)
{
    if (factory)
        pageFactories().insert(identifier, std::move(factory));
    else
        pageFactories().remove(identifier);
}

bool InfoAreaController::hasPageFactory(const QString& identifier)
{
    return pageFactories().contains(identifier);
}

void InfoAreaController::removePageFactories()
{
    pageFactories().clear();
}

InfoAreaController::InfoAreaController(QWidget* parent)
    : PersonEditorPane(parent)
    , m_controller(*this)
{
    m_tabs = new EditorTabWidget([this](int index) { return m_controller.shouldSelectTab(index); });
    m_tabs->setObjectName(QStringLiteral("pTabView"));
    m_tabs->setDocumentMode(true);
    m_tabs->tabBar()->setExpanding(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    for (const QString& identifier : PersonEditorController::pageIdentifiers()) {
        PageFactory factory = pageFactories().value(identifier);
        if (!factory && identifier == QLatin1String("pSources"))
            factory = EditorHooks::shared().citationsPage;
        if (!factory)
            continue;
        EditorPage* page = factory(*this);
        if (!page)
            continue;
        page->setObjectName(identifier);
        const int index = m_controller.addPage(identifier, page);
        if (index < 0) {
            delete page;
            continue;
        }
        m_pages.insert(identifier, page);
        // The pages reach the window's left, right and bottom edges: their controls keep the style's margin from
        // them, as in any other window. The pages' own layouts add none at those sides.
        const QStyle* look = style();
        page->setContentsMargins(look->pixelMetric(QStyle::PM_LayoutLeftMargin), 0,
            look->pixelMetric(QStyle::PM_LayoutRightMargin), look->pixelMetric(QStyle::PM_LayoutBottomMargin));
        m_tabs->insertTab(index, page, m_controller.labelAt(index));
        connect(page, &EditorPage::contentMarkChanged, this, [this] { m_controller.setContentMarks(); });
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &InfoAreaController::currentChanged);
    m_controller.start();
}

InfoAreaController::~InfoAreaController() = default;

void InfoAreaController::setMoc(FTMoc* moc)
{
    PersonEditorPane::setMoc(moc);
    m_controller.setMoc(moc);
}

void InfoAreaController::setSelectedPerson(FTPerson* person)
{
    m_controller.setSelectedPerson(person);
}

void InfoAreaController::setProjectView(FTProjectView* view)
{
    m_controller.setProjectView(view);
}

void InfoAreaController::refreshDisplay()
{
    m_controller.refreshDisplay();
}

void InfoAreaController::setFontSize(double size)
{
    m_controller.setFontSize(size);
}

bool InfoAreaController::endEditing()
{
    // A notes window the family page opened stays beside the main window, and leaving it for another window keeps
    // what was typed there unwritten: it is written here, before the save, command or close this precedes.
    if (QWidget* main = window(); main && main != this)
        for (NotesWindow* notes : main->findChildren<NotesWindow*>(Qt::FindDirectChildrenOnly))
            notes->commitEditing();
    return endFieldEditing();
}

void InfoAreaController::showFirstPage()
{
    chooseTab(0);
}

void InfoAreaController::selectNextTabViewItem()
{
    if (const int n = m_tabs->count(); n > 0)
        chooseTab((m_tabs->currentIndex() + 1) % n);
}

void InfoAreaController::selectPreviousTabViewItem()
{
    if (const int n = m_tabs->count(); n > 0)
        chooseTab((m_tabs->currentIndex() + n - 1) % n);
}

void InfoAreaController::showCitation(FTSourceRel* citation)
{
    if (choosePage(QStringLiteral("pSources")))
        if (EditorPage* sources = page(QStringLiteral("pSources")))
            sources->showCitation(citation);
}

void InfoAreaController::prepareForPrinting()
{
    if (EditorPage* shown = visiblePage())
        shown->prepareForPrinting();
}

void InfoAreaController::selectEvent(FTEvent* event)
{
    if (choosePage(QStringLiteral("pEvents")))
        if (EditorPage* events = page(QStringLiteral("pEvents")))
            events->selectEvent(event);
}

InfoArea_Self* InfoAreaController::pSelf() const
{
    return qobject_cast<InfoArea_Self*>(page(QStringLiteral("pSelf")));
}

EditorPage* InfoAreaController::visiblePage() const
{
    return page(m_controller.visibleIdentifier());
}

bool InfoAreaController::chooseTab(int index)
{
    if (index < 0 || index >= m_tabs->count())
        return false;
    if (index == m_tabs->currentIndex())
        return true;
    if (!m_controller.shouldSelectTab(index))
        return false;
    m_tabs->setCurrentIndex(index);
    return true;
}

bool InfoAreaController::choosePage(const QString& identifier)
{
    return chooseTab(m_controller.indexOf(identifier));
}

void InfoAreaController::setTabLabel(int index, const QString& label)
{
    m_tabs->setTabText(index, label);
}

void InfoAreaController::selectTab(int index)
{
    m_tabs->setCurrentIndex(index);
}

bool InfoAreaController::endFieldEditing()
{
    EditorPage* page = visiblePage();
    if (page && !page->endEditing())
        return false;
    if (QWidget* focus = QApplication::focusWidget(); focus && isAncestorOf(focus))
        focus->clearFocus();
    return true;
}

void InfoAreaController::setKeyViewChain(int index, const QList<int>& tags)
{
    QWidget* view = m_tabs->widget(index);
    if (!view || tags.isEmpty())
        return;
    QList<QWidget*> chain;
    for (int tag : tags)
        chain << viewWithTag(view, tag);
    m_initialFocus.insert(index, chain.first());
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
        QWidget* from = chain[i];
        QWidget* to = chain[i + 1];
        if (!from || !to)
            continue;
        if (to == chain.first()) {
            // The last field leads back to the first: Qt's order is one ring for the whole window, so the step
            // back is taken by hand.
            from->setProperty(kNextKeyView, QVariant::fromValue<QObject*>(to));
            from->installEventFilter(this);
        } else {
            QWidget::setTabOrder(from, to);
        }
    }
}

void InfoAreaController::setNeedsDisplay(int index)
{
    if (QWidget* view = m_tabs->widget(index))
        view->update();
}

void InfoAreaController::currentChanged(int index)
{
    m_controller.willSelectTab(index);
    m_controller.didSelectTab(index);
    if (QWidget* first = m_initialFocus.value(index))
        first->setFocus(Qt::TabFocusReason);
}

bool InfoAreaController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab
        && !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)) {
        if (auto* next = qobject_cast<QWidget*>(watched->property(kNextKeyView).value<QObject*>())) {
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return PersonEditorPane::eventFilter(watched, event);
}
