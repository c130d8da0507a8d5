#include "shell/ui/ToolbarController.h"

#include "shell/ui/ThemeIcon.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/FindPersonSearchField.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMap>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

const QString ToolbarController::kFocalPeople = QStringLiteral("FocalPeople");
const QString ToolbarController::kFindPerson = QStringLiteral("FindPerson");
const QString ToolbarController::kPreferences = QStringLiteral("Preferences");
const QString ToolbarController::kFontSize = QStringLiteral("FontSize");
const QString ToolbarController::kMaxAncLevels = QStringLiteral("MaxAncLevels");
const QString ToolbarController::kAncestors = QStringLiteral("Ancestors");
const QString ToolbarController::kDescendants = QStringLiteral("Descendants");
const QString ToolbarController::kPeopleIndex = QStringLiteral("PeopleIndex");
const QString ToolbarController::kActiveSource = QStringLiteral("ActiveSource");
const QString ToolbarController::kProjectView = QStringLiteral("ProjectView");
const QString ToolbarController::kPrint = QStringLiteral("Print");
const QString ToolbarController::kShowColours = QStringLiteral("ShowColors");
const QString ToolbarController::kShowFonts = QStringLiteral("ShowFonts");
const QString ToolbarController::kFlexibleSpace = QStringLiteral("FlexibleSpace");
const QString ToolbarController::kSpace = QStringLiteral("Space");
const QString ToolbarController::kSeparator = QStringLiteral("Separator");

namespace {
const QString kToolbarIdentifier = QStringLiteral("KinloomToolbar");
const QString kPersonToBeDeleted = QStringLiteral("PersonToBeDeleted");
const QString kPersonNameOrDateChanged = QStringLiteral("PersonNameOrDateChanged");
const QString kFontSizeChanged = QStringLiteral("FontSizeChanged");
constexpr int kMaxVisibleHistoryRows = 20;
constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 16;
constexpr int kMaxGenerations = 9;
// Room on each side of an item: its label from the next one's. Narrow enough for the default items to fit the
// smallest window without the overflow arrow.
constexpr int kItemMargin = 3;

QMap<QString, ToolbarController::ItemHandler>& handlers()
{
    static QMap<QString, ToolbarController::ItemHandler> map;
    return map;
}

ToolbarController::ViewFactory& selectASourceButtonFactory()
{
    static ToolbarController::ViewFactory factory;
    return factory;
}

// Green behind a button whose setting is on (an active source, a current project view), as a flat button;
// white and bordered when off.
void setButtonState(QToolButton* button, bool on, const QString& toolTip)
{
    button->setAutoRaise(on);
    const QColor background = on ? RGB(200, 255, 200) : QColor(Qt::white);
    button->setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: %2; }")
                              .arg(background.name(), on ? QStringLiteral("none")
                                                         : QStringLiteral("1px solid #a0a0a0")));
    button->setToolTip(toolTip);
}

// The history's drop-down checks its list each time it opens.
class FocalPeopleComboBox : public QComboBox {
public:
    std::function<void()> aboutToShowPopup;
    void showPopup() override
    {
        if (aboutToShowPopup)
            aboutToShowPopup();
        QComboBox::showPopup();
    }
};
}

QStringList ToolbarController::toolbarAllowedItemIdentifiers()
{
    return {kPeopleIndex, kActiveSource, kProjectView, kFocalPeople, kPreferences, kFindPerson, kFontSize,
            kMaxAncLevels, kAncestors, kDescendants, kPrint, kShowColours, kShowFonts, kFlexibleSpace, kSpace,
            kSeparator};
}

QStringList ToolbarController::toolbarDefaultItemIdentifiers()
{
    return {kPeopleIndex, kActiveSource, kProjectView, kFocalPeople, kAncestors, kDescendants, kFlexibleSpace,
            kPrint, kPreferences, kShowColours, kShowFonts, kFlexibleSpace, kMaxAncLevels, kFindPerson, kFontSize};
}

void ToolbarController::setItemHandler(const QString& identifier, ItemHandler handler)
{
    handlers()[identifier] = std::move(handler);
}

ToolbarController::ItemHandler ToolbarController::itemHandler(const QString& identifier)
{
    return handlers().value(identifier);
}

void ToolbarController::setSelectASourceButtonFactory(ViewFactory factory)
{
    selectASourceButtonFactory() = std::move(factory);
}

ToolbarController::ToolbarController(FTMoc* moc, DOvurDocument* document)
    : m_moc(moc)
    , m_document(document)
    , m_search(moc)
    , m_history(moc)
{
    createToolbar();
    createSearchFieldFilterMenu();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(kPersonToBeDeleted, nullptr, [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(
        kPersonNameOrDateChanged, nullptr,
        [this](const Notification& n) {
            if (n.context && n.context != m_moc)
                return;
            try {
                reloadComboBox();
                reloadFoundPeople();
            } catch (...) {
                Utils::reportCurrentException(__FILE__, __LINE__, QStringLiteral("personNameOrDateChanged"));
            }
        },
        this);
    if (m_moc) {
        m_moc->addObserver(QStringLiteral("modelDefaults.currentView"), this,
                           [this](const KeyPathChange&) { setProjectViewButtonCell(); });
        // Only the stored focal person: choosing one when none is stored is the document's start-up work, done
        // outside the undo history, and it then reports the person here.
        m_history.setFocalPerson(m_moc->modelDefaults()->focalPerson());
    }
    reloadComboBox();
    setActiveSourceButtonCell();
    setProjectViewButtonCell();
}

ToolbarController::~ToolbarController()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
    if (m_moc)
        m_moc->removeObserversOf(this);
    // The list lives in the main window but reads this controller's rows.
    delete m_foundPeople;
}

QWidget* ToolbarController::makeItem(const QString& identifier, QWidget* view, const QString& label,
                                     const QString& toolTip, int minWidth, int maxWidth)
{
    auto* item = new QWidget;
    item->setObjectName(identifier);
    auto* layout = new QVBoxLayout(item);
    layout->setContentsMargins(kItemMargin, 0, kItemMargin, 0);
    layout->setSpacing(1);
    view->setToolTip(toolTip);
    view->setMinimumWidth(minWidth);
    view->setMaximumWidth(maxWidth);
    // The toolbar gives every item the height of its tallest one: the views are centred in the room above the
    // labels, so that the labels of all items stand on one line.
    layout->addStretch(1);
    layout->addWidget(view, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    auto* text = new QLabel(label);
    text->setAlignment(Qt::AlignHCenter);
    QFont small = text->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    text->setFont(small);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    m_toolbarItemsDic.insert(identifier, item);
    return item;
}

QToolButton* ToolbarController::makeButton(const QString& identifier, const QIcon& icon, const QString& toolTip)
{
    auto* button = new QToolButton;
    button->setObjectName(identifier + QStringLiteral("Button"));
    button->setIcon(icon);
    button->setToolTip(toolTip);
    const ItemHandler handler = itemHandler(identifier);
    button->setEnabled(bool(handler));
    QObject::connect(button, &QToolButton::clicked, this, [this, identifier] {
        if (const ItemHandler h = itemHandler(identifier); h && m_document)
            h(*m_document);
    });
    return button;
}

void ToolbarController::createToolbar()
{
    m_toolbar = new QToolBar;
    m_toolbar->setObjectName(kToolbarIdentifier);
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(24, 24));

    auto* combo = new FocalPeopleComboBox;
    combo->setObjectName(QStringLiteral("focalPeopleComboBox"));
    combo->aboutToShowPopup = [this] {
        if (m_history.count() != m_focalPeopleComboBox->count())
            reloadComboBox();
    };
    combo->setMaxVisibleItems(2);
    // Wide enough for the focal person's name and years, within the item's bounds.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_focalPeopleComboBox = combo;
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), this,
                     [this](int index) { comboBoxSelectionDidChange(index); });
    makeItem(kFocalPeople, combo, QStringLiteral("Focal Persons"), QStringLiteral("Drop Down for Previous Focal People"),
             150, 300);

    m_findPersonSearchField = new FindPersonSearchField;
    m_findPersonSearchField->setObjectName(QStringLiteral("findPersonSearchField"));
    QWidget* findItem = makeItem(kFindPerson, m_findPersonSearchField, FindPersonSearch::findInLabel(),
                                 QStringLiteral("Find Person - drop down for filters"), 30, 250);
    m_findPersonLabel = findItem->findChild<QLabel*>();
    setUpSearchField();

    QToolButton* preferences
        = makeButton(kPreferences, themeIcon(QStringLiteral("preferences-system")), QStringLiteral("Preferences"));
    preferences->setFixedSize(24, 30);
    makeItem(kPreferences, preferences, QStringLiteral("Preferences"), QStringLiteral("Preferences"), 24, 24);

    m_fontStepper = new QSpinBox;
    m_fontStepper->setObjectName(QStringLiteral("fontStepper"));
    m_fontStepper->setRange(kMinFontSize, kMaxFontSize);
    m_fontStepper->setValue(int(UserDefaults::standard().doubleForKey(QStringLiteral("fontSize"))));
    QObject::connect(m_fontStepper, qOverload<int>(&QSpinBox::valueChanged), this,
                     [this](int size) { changeFontSize(size); });
    makeItem(kFontSize, m_fontStepper, QStringLiteral("Font Size"), QStringLiteral("Font Size"), 70, 70);

    m_levelsStepper = new QSpinBox;
    m_levelsStepper->setObjectName(QStringLiteral("levelsStepper"));
    m_levelsStepper->setRange(1, kMaxGenerations);
    m_levelsStepper->setValue(int(UserDefaults::standard().integerForKey(QStringLiteral("maxAncestorLevel"))));
    QObject::connect(m_levelsStepper, qOverload<int>(&QSpinBox::valueChanged), this,
                     [this](int levels) { changeAncLevels(levels); });
    makeItem(kMaxAncLevels, m_levelsStepper, QStringLiteral("Generations"),
             QStringLiteral("Generations of Ancestors"), 30, 65);

    makeItem(kAncestors, makeButton(kAncestors, themeIcon(QStringLiteral("go-up")), {}),
             QStringLiteral("Ancestors"), QStringLiteral("Ancestors Diagram"), 24, 24);
    makeItem(kDescendants, makeButton(kDescendants, themeIcon(QStringLiteral("go-down")), {}),
             QStringLiteral("Descendants"), QStringLiteral("Descendants Diagram"), 24, 24);
    // The address book's colour picture is a file's; the toolbar's other buttons are symbolic.
    makeItem(kPeopleIndex,
             makeButton(kPeopleIndex, themeIcon(QStringLiteral("x-office-address-book-symbolic")), {}),
             QStringLiteral("People"), QStringLiteral("People Index"), 45, 45);

    auto* activeSourceView = new QWidget;
    auto* sourceLayout = new QHBoxLayout(activeSourceView);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->setSpacing(2);
    m_activeSourceButton = makeButton(kActiveSource, themeIcon(QStringLiteral("accessories-dictionary")), {});
    sourceLayout->addWidget(m_activeSourceButton);
    if (const ViewFactory& factory = selectASourceButtonFactory())
        if ((m_selectASourceButton = factory(*this)))
            sourceLayout->addWidget(m_selectASourceButton);
    makeItem(kActiveSource, activeSourceView, QStringLiteral("Active Source"),
             QStringLiteral("Activate Active Source"), 56, 56);
    m_activeSourceButton->setToolTip(QStringLiteral("Activate or Deactivate Active Source"));

    m_projectViewButton = makeButton(kProjectView, themeIcon(QStringLiteral("system-users")), {});
    makeItem(kProjectView, m_projectViewButton, QStringLiteral("Project View"),
             QStringLiteral("Activate Project View"), 40, 40);

    if (itemHandler(kPrint))
        makeItem(kPrint, makeButton(kPrint, themeIcon(QStringLiteral("document-print")), {}),
                 QStringLiteral("Print"), QStringLiteral("Print Context Diagram"), 24, 40);
    if (itemHandler(kShowColours))
        makeItem(kShowColours, makeButton(kShowColours, themeIcon(QStringLiteral("preferences-color-symbolic")), {}),
                 QStringLiteral("Colors"), QStringLiteral("Show Colors"), 24, 40);
    if (itemHandler(kShowFonts))
        makeItem(kShowFonts, makeButton(kShowFonts, themeIcon(QStringLiteral("preferences-desktop-font")), {}),
                 QStringLiteral("Fonts"), QStringLiteral("Show Fonts"), 24, 40);

    QList<QWidget*> shown;
    for (const QString& identifier : toolbarDefaultItemIdentifiers()) {
        if (identifier == kFlexibleSpace) {
            auto* spacer = new QWidget;
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            m_toolbar->addWidget(spacer);
        } else if (identifier == kSeparator) {
            m_toolbar->addSeparator();
        } else if (QWidget* item = m_toolbarItemsDic.value(identifier)) {
            m_toolbar->addWidget(item);
            shown << item;
        }
    }
    // The first and last items keep the window's layout margin from its edges, like the buttons below them; the
    // toolbar's own margin (the style's) counts towards it.
    if (!shown.isEmpty()) {
        const QStyle* look = m_toolbar->style();
        const int toolbarMargin = look->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, m_toolbar)
            + look->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, m_toolbar);
        const auto widen = [](QWidget* item, int left, int right) {
            const QMargins now = item->layout()->contentsMargins();
            item->layout()->setContentsMargins(std::max(now.left(), left), 0, std::max(now.right(), right), 0);
        };
        widen(shown.first(), look->pixelMetric(QStyle::PM_LayoutLeftMargin) - toolbarMargin, 0);
        widen(shown.last(), 0, look->pixelMetric(QStyle::PM_LayoutRightMargin) - toolbarMargin);
    }
}

QWidget* ToolbarController::itemView(const QString& identifier) const
{
    return m_toolbarItemsDic.value(identifier);
}

void ToolbarController::setFocalPerson(FTPerson* person)
{
    m_history.setFocalPerson(person);
    reloadComboBox();
}

FTPerson* ToolbarController::previousFocalPerson()
{
    return m_history.previousFocalPerson();
}

void ToolbarController::validateArrays()
{
    m_history.setNeedsValidating();
    m_search.setNeedsValidating();
}

void ToolbarController::reloadComboBox()
{
    m_reloading = true;
    m_focalPeopleComboBox->clear();
    const int n = m_history.count();
    for (int i = 0; i < n; ++i)
        m_focalPeopleComboBox->addItem(m_history.entryText(i));
    m_focalPeopleComboBox->setMaxVisibleItems(std::max(1, std::min(n, kMaxVisibleHistoryRows)));
    m_focalPeopleComboBox->setCurrentIndex(n > 0 ? 0 : -1);
    m_reloading = false;
}

void ToolbarController::comboBoxSelectionDidChange(int index)
{
    if (m_reloading || index < 1 || !m_moc)
        return;
    FTPerson* person = m_history.personAt(index);
    if (!person)
        return;
    // A value the person editor refused keeps its person: the history goes back to the person in focus.
    if (m_document && !m_document->endEditing()) {
        reloadComboBox();
        return;
    }
    m_moc->undoManager()->setActionName(
        QStringLiteral("%1 %2").arg(LocalizedString("FocusOn"), person->nameWithBirthAndDeathYears()));
    // The document's observation of the focal person moves the person to the front of the history.
    m_moc->setFocalPerson(person);
}

void ToolbarController::changeFontSize(int size)
{
    UserDefaults::standard().setDouble(QStringLiteral("fontSize"), size);
    NotificationCenter::defaultCenter().post(kFontSizeChanged, nullptr, nullptr, {{QStringLiteral("fontSize"), size}});
}

void ToolbarController::changeAncLevels(int levels)
{
    UserDefaults::standard().setInteger(QStringLiteral("maxAncestorLevel"), levels);
    if (m_pcd) {
        m_pcd->setRefreshArray(true);
        m_pcd->update();
    }
}

void ToolbarController::setActiveSource(FTSource* source)
{
    if (m_moc)
        m_moc->setActiveSource(source);
    setActiveSourceButtonCell();
}

void ToolbarController::setActiveSourceButtonCell()
{
    const FTSource* source = m_moc ? m_moc->activeSource() : nullptr;
    if (source)
        setButtonState(m_activeSourceButton, true, source->shortDescriptionWithNumericId());
    else
        setButtonState(m_activeSourceButton, false, QStringLiteral("Activate or Deactivate Active Source"));
}

void ToolbarController::setProjectViewButtonCell()
{
    const FTProjectView* view = m_moc ? m_moc->projectView() : nullptr;
    if (view) {
        const QString notes = view->notes().isEmpty() ? QString() : QStringLiteral("\n\nNotes: %1").arg(view->notes());
        setButtonState(m_projectViewButton, true,
                       QStringLiteral("The Active Project View is:\n%1%2").arg(view->name(), notes));
    } else {
        setButtonState(m_projectViewButton, false, QStringLiteral("Activate Project View"));
    }
}

void ToolbarController::personToBeDeleted(const Notification& n)
{
    if (!m_moc || (n.context && n.context != m_moc) || !n.object)
        return;
    const auto* object = static_cast<const ManagedObject*>(n.object);
    if (object->context() != m_moc || !object->isKindOfEntity(QString::fromLatin1(FTPerson::kEntityName)))
        return;
    m_history.removePerson(static_cast<const FTPerson*>(object));
    m_search.removePerson(static_cast<const FTPerson*>(object));
    reloadComboBox();
    reloadFoundPeople();
}
