#include "editor/PersonEditorController.h"

#include "editor/InfoAreaPage.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

namespace {
const QString kPreviousTabViewIndex = QStringLiteral("previousTabViewIndex");
}

const QStringList& PersonEditorController::pageIdentifiers()
{
    static const QStringList ids = {
        QStringLiteral("pSelf"),     QStringLiteral("pRelatives"), QStringLiteral("pFamily"),
        QStringLiteral("pFamily2"),  QStringLiteral("pEvents"),    QStringLiteral("pNotes"),
        QStringLiteral("pComments"), QStringLiteral("pSources"),   QStringLiteral("pStory"),
        QStringLiteral("pPictures"), QStringLiteral("pAncestors"), QStringLiteral("pDescendants"),
    };
    return ids;
}

QString PersonEditorController::labelKey(const QString& identifier)
{
    static const QHash<QString, QString> keys = {
        {QStringLiteral("pSelf"), QStringLiteral("PersonTab")},
        {QStringLiteral("pRelatives"), QStringLiteral("RelativesTab")},
        {QStringLiteral("pFamily"), QStringLiteral("ExtFamily")},
        {QStringLiteral("pFamily2"), QStringLiteral("FamilyTab")},
        {QStringLiteral("pEvents"), QStringLiteral("EventsTab")},
        {QStringLiteral("pNotes"), QStringLiteral("Notes")},
        {QStringLiteral("pComments"), QStringLiteral("Comments")},
        {QStringLiteral("pSources"), QStringLiteral("Sources")},
        {QStringLiteral("pStory"), QStringLiteral("Story")},
        {QStringLiteral("pPictures"), QStringLiteral("Pictures")},
        {QStringLiteral("pAncestors"), QStringLiteral("AncestorsTab")},
        {QStringLiteral("pDescendants"), QStringLiteral("DescendantsTab")},
    };
    return keys.value(identifier);
}

int PersonEditorController::initialTabIndex(qlonglong previous, int count)
{
    if (count <= 0)
        return -1;
    if (previous >= 0 && previous < count)
        return int(previous);
    return count > 1 ? 1 : 0;
}

const QList<int>& PersonEditorController::familyKeyViewTags()
{
    static const QList<int> tags = {4, 10, 11, 16, 17, 104, 110, 111, 116, 117, 201, 202, 203, 250, 4};
    return tags;
}

PersonEditorController::PersonEditorController(TabView& view)
    : m_view(view)
{
}

PersonEditorController::~PersonEditorController()
{
    if (m_observing)
        NotificationCenter::defaultCenter().removeObserversOf(this);
}

int PersonEditorController::addPage(const QString& identifier, InfoAreaPage* page)
{
    const int order = pageIdentifiers().indexOf(identifier);
    if (order < 0 || !page || indexOf(identifier) >= 0)
        return -1;
    int at = 0;
    while (at < m_tabs.size() && pageIdentifiers().indexOf(m_tabs[at].identifier) < order)
        ++at;
    m_tabs.insert(at, Tab{identifier, page, LocalizedString(labelKey(identifier))});
    if (m_visible >= at)
        ++m_visible;
    return at;
}

void PersonEditorController::start()
{
    m_fontSize = kStartFontSize;
    m_selectedPerson = nullptr;
    m_projectView = nullptr;
    const UserDefaults& defaults = UserDefaults::standard();
    const qlonglong previous =
        defaults.contains(kPreviousTabViewIndex) ? defaults.integerForKey(kPreviousTabViewIndex) : -1;
    const int index = initialTabIndex(previous, count());
    if (index >= 0) {
        // The tab view's own selection callbacks are not the user's change of tab.
        m_settingUp = true;
        m_visible = index;
        m_view.selectTab(index);
        m_settingUp = false;
        m_tabs[index].page->setFontSize(m_fontSize);
    }
    if (m_observing)
        return;
    m_observing = true;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("PCRelTypeChanged"), nullptr,
                       [this](const Notification& n) { pcRelTypeChanged(n); }, this);
    center.addObserver(QStringLiteral("PersonToBeDeleted"), nullptr,
                       [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(QStringLiteral("PersonNameOrDateChanged"), nullptr,
                       [this](const Notification& n) { personNameOrDateChanged(n); }, this);
    center.addObserver(QStringLiteral("DefaultPictureChanged"), nullptr,
                       [this](const Notification& n) { defaultPictureChanged(n); }, this);
    for (const char* name : {"AddedChildInPcd", "AddedParentInPcd", "AddedSpouseInPcd"})
        center.addObserver(QString::fromLatin1(name), nullptr,
                           [this](const Notification& n) { addedRelativeInPcd(n); }, this);
}

QString PersonEditorController::identifierAt(int index) const
{
    return index >= 0 && index < m_tabs.size() ? m_tabs[index].identifier : QString();
}

InfoAreaPage* PersonEditorController::pageAt(int index) const
{
    return index >= 0 && index < m_tabs.size() ? m_tabs[index].page : nullptr;
}

int PersonEditorController::indexOf(const QString& identifier) const
{
    for (int i = 0; i < m_tabs.size(); ++i)
        if (m_tabs[i].identifier == identifier)
            return i;
    return -1;
}

QString PersonEditorController::labelAt(int index) const
{
    return index >= 0 && index < m_tabs.size() ? m_tabs[index].label : QString();
}

void PersonEditorController::setSelectedPerson(FTPerson* person)
{
    m_selectedPerson = person;
    refreshDisplay();
}

void PersonEditorController::setProjectView(FTProjectView* view)
{
    m_projectView = view;
    refreshDisplay();
}

void PersonEditorController::setFontSize(double size)
{
    m_fontSize = long(size);
    if (InfoAreaPage* page = visiblePage())
        page->setFontSize(m_fontSize);
}

void PersonEditorController::refreshDisplay()
{
    InfoAreaPage* page = visiblePage();
    const double chosen = UserDefaults::standard().doubleForKey(QStringLiteral("fontSize"));
    if (chosen > 0 && long(chosen) != m_fontSize)
        setFontSize(chosen);
    if (page) {
        page->setSelectedPerson(m_selectedPerson);
        page->setProjectView(m_projectView);
        page->refreshDisplay();
        page->setColumnHeadings();
    }
    if (m_selectedPerson && count() > 0)
        setLabel(0, m_selectedPerson->name());
    setContentMarks();
    const int family = indexOf(QStringLiteral("pFamily2"));
    if (family >= 0)
        m_view.setKeyViewChain(family, familyKeyViewTags());
}

void PersonEditorController::setContentMarks()
{
    FTPerson* p = m_selectedPerson;
    auto mark = [this](const QString& identifier, const QString& key, bool marked) {
        const int index = indexOf(identifier);
        if (index < 0)
            return;
        if (const InfoAreaPage* page = pageAt(index))
            if (const std::optional<bool> own = page->contentMark())
                marked = *own;
        const QString text = LocalizedString(key);
        setLabel(index, marked ? QStringLiteral("%1*").arg(text) : text);
    };
    mark(QStringLiteral("pNotes"), QStringLiteral("Notes"), p && !p->notes().isEmpty());
    mark(QStringLiteral("pFamily"), QStringLiteral("ExtFamily"), false);
    mark(QStringLiteral("pComments"), QStringLiteral("Comments"), p && !p->comments().isEmpty());
    mark(QStringLiteral("pSources"), QStringLiteral("Sources"), p && p->hasSourceRels());
    mark(QStringLiteral("pPictures"), QStringLiteral("Pictures"), p && !p->pictures().isEmpty());
    mark(QStringLiteral("pStory"), QStringLiteral("Story"), p && p->story());
}

void PersonEditorController::setLabel(int index, const QString& label)
{
    if (index < 0 || index >= m_tabs.size() || m_tabs[index].label == label)
        return;
    m_tabs[index].label = label;
    m_view.setTabLabel(index, label);
}

bool PersonEditorController::shouldSelectTab(int index)
{
    if (index == m_visible)
        return true;
    return m_view.endFieldEditing();
}

void PersonEditorController::willSelectTab(int index)
{
    if (m_settingUp || index == m_visible)
        return;
    if (InfoAreaPage* leaving = visiblePage())
        leaving->freeMemory();
}

void PersonEditorController::didSelectTab(int index)
{
    if (m_settingUp || index < 0 || index >= count())
        return;
    m_visible = index;
    if (InfoAreaPage* page = visiblePage())
        page->setFontSize(m_fontSize);
    UserDefaults::standard().setInteger(kPreviousTabViewIndex, index);
    if (m_moc && m_moc->hasChanges())
        m_moc->deferredSave();
    refreshDisplay();
}

bool PersonEditorController::concernsThisDatabase(const Notification& n) const
{
    return m_moc && (n.context == m_moc || n.object == m_moc);
}

void PersonEditorController::pcRelTypeChanged(const Notification& n)
{
    if (!concernsThisDatabase(n))
        return;
    if (InfoAreaPage* page = visiblePage())
        page->pcRelTypeChanged(n);
}

void PersonEditorController::personToBeDeleted(const Notification& n)
{
    if (!concernsThisDatabase(n))
        return;
    for (const Tab& tab : m_tabs)
        tab.page->personToBeDeleted(n);
    // The record goes away with the deletion: the editor must not keep showing it.
    if (n.object && n.object == m_selectedPerson)
        m_selectedPerson = nullptr;
}

void PersonEditorController::personNameOrDateChanged(const Notification& n)
{
    if (!concernsThisDatabase(n))
        return;
    try {
        if (m_selectedPerson && count() > 0) {
            setLabel(0, m_selectedPerson->name());
            if (InfoAreaPage* page = visiblePage())
                page->setColumnHeadings();
        }
    } catch (...) {
        ModelHooks::reportException(__FILE__, __LINE__, QStringLiteral("personNameOrDateChanged"));
    }
}

void PersonEditorController::defaultPictureChanged(const Notification& n)
{
    if (!concernsThisDatabase(n))
        return;
    const QString visible = visibleIdentifier();
    if (visible == QLatin1String("pPictures")) {
        visiblePage()->setRefreshArray(true);
        m_view.setNeedsDisplay(m_visible);
    } else if (visible == QLatin1String("pFamily2")) {
        visiblePage()->refreshDisplay();
    }
}

void PersonEditorController::addedRelativeInPcd(const Notification& n)
{
    if (concernsThisDatabase(n))
        refreshDisplay();
}
