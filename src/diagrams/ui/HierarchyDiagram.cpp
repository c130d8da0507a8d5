#include "diagrams/ui/HierarchyDiagram.h"

#include "diagrams/HdOptions.h"
#include "diagrams/ui/HdCustomise.h"
#include "diagrams/ui/HdFindPerson.h"
#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HdWindowParts.h"
#include "diagrams/ui/PersonalDetails.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/ElidedLabel.h"
#include "shell/ui/SharedPrinter.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QRect& lastFrame()
{
    static QRect frame;
    return frame;
}

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

using Control = HierarchyDiagramCommands::Control;
}

QRect HierarchyDiagram::prevFrameRect()
{
    return lastFrame();
}

void HierarchyDiagram::setPrevFrameRect(const QRect& frame)
{
    lastFrame() = frame;
}

HierarchyDiagram* HierarchyDiagram::invokeHierarchyDiagramFor(DOvurDocument& document, FTPerson* person, bool ancestors)
{
    QMainWindow* window = document.dovurWindow();
    if (!person || !window)
        return nullptr;
    auto* diagram = new HierarchyDiagram(person, ancestors, window);
    diagram->show();
    diagram->raise();
    diagram->activateWindow();
    return diagram;
}

HierarchyDiagram::HierarchyDiagram(FTPerson* person, bool ancestors, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , m_moc(person ? person->moc() : nullptr)
    , m_loopLevel(QThread::currentThread()->loopLevel())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("HierarchyDiagram"));
    makeControls();
    setFrameColour(true);

    if (lastFrame().width() > 300) {
        // Where the last window closed, as large as it was.
        setGeometry(lastFrame());
    } else if (const QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        QRect frame(QPoint(0, 0), QSize(kDefaultWidth, kDefaultHeight).boundedTo(available.size()));
        frame.moveCenter(available.center());
        setGeometry(frame);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
    }

    UserDefaults& d = defaults();
    d.setBool(QStringLiteral("hdCascaded"), !ancestors && d.boolForKey(QStringLiteral("hdHorizontal")));
    d.setInteger(QStringLiteral("hdMaxSiblingsDescendants"), 2);
    m_view->commands().setRootPerson(person, ancestors);
    syncControls();
    observeNotifications();
}

HierarchyDiagram::~HierarchyDiagram()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

FTPerson* HierarchyDiagram::rootPerson() const
{
    return m_view->commands().rootPerson();
}

// ---- Controls ----------------------------------------------------------------------------------------------------

void HierarchyDiagram::makeControls()
{
    m_view = new HdView;
    m_scroll = new QScrollArea;
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(false);
    m_scroll->setFrameShape(QFrame::StyledPanel);
    m_scroll->setBackgroundRole(QPalette::Base);

    m_ancestors = new QRadioButton(L("Ancestors"));
    m_descendants = new QRadioButton(L("Descendants"));
    auto* direction = new QButtonGroup(this);
    direction->addButton(m_ancestors);
    direction->addButton(m_descendants);
    m_horizontal = new QCheckBox(L("HdHorizontalSwitch"));
    m_truncate = new QCheckBox(L("HdTruncateSwitch"));

    m_generations = new QSpinBox;
    m_generations->setRange(0, HdOptions::kMaxLevels - 1);
    m_pointSize = new QSpinBox;
    m_pointSize->setRange(1, 72);
    m_columnWidth = new QDoubleSpinBox;
    m_columnWidth->setRange(0.2, 99.0);
    m_columnWidth->setDecimals(1);
    m_columnWidth->setSingleStep(0.1);
    for (QAbstractSpinBox* box : std::initializer_list<QAbstractSpinBox*> { m_generations, m_pointSize, m_columnWidth }) {
        // A number typed into the field counts once it is complete.
        box->setKeyboardTracking(false);
        box->setAlignment(Qt::AlignRight);
    }
    m_generations->setToolTip(L("HdGenerationsToolTip"));
    m_pointSize->setToolTip(L("HdPointSizeToolTip"));
    m_columnWidth->setToolTip(L("HdColumnWidthToolTip"));

    m_pageSetupButton = new QPushButton(themeIcon(QStringLiteral("document-page-setup")), L("HdPageSetupButton"));
    m_helpButton = new QPushButton(themeIcon(QStringLiteral("help-browser")), L("HdHelpButton"));
    m_printButton = new QPushButton(themeIcon(QStringLiteral("document-print")), L("HdPrintButton"));
    m_pdfButton = new QPushButton(themeIcon(QStringLiteral("document-save-as")), L("HdPdfButton"));
    m_customiseButton = new QPushButton(themeIcon(QStringLiteral("document-properties")), L("HdCustomiseButton"));
    m_findButton = new QPushButton(themeIcon(QStringLiteral("edit-find")), L("HdFindButton"));
    m_pdfButton->setToolTip(L("HdPdfToolTip"));
    for (QPushButton* b :
        { m_pageSetupButton, m_helpButton, m_printButton, m_pdfButton, m_customiseButton, m_findButton })
        b->setAutoDefault(false);

    auto labelled = [](const char* key, QWidget* control) {
        auto* row = new QHBoxLayout;
        row->setSpacing(4);
        auto* label = new QLabel(L(key));
        label->setBuddy(control);
        row->addWidget(label);
        row->addWidget(control);
        return row;
    };
    auto* controls = new QHBoxLayout;
    controls->setSpacing(12);
    controls->addWidget(m_ancestors);
    controls->addWidget(m_descendants);
    controls->addSpacing(8);
    controls->addWidget(m_horizontal);
    controls->addWidget(m_truncate);
    controls->addStretch(1);
    controls->addLayout(labelled("HdGenerationsLabel", m_generations));
    controls->addLayout(labelled("HdPointSizeLabel", m_pointSize));
    controls->addLayout(labelled("HdColumnWidthLabel", m_columnWidth));

    // The line about the person, or where a saved file went, has a row of its own above the buttons: the window's
    // whole width; a longer line is shortened with an ellipsis.
    m_info = new ElidedLabel;
    m_info->setObjectName(QStringLiteral("selectedPersonsInfo"));
    m_info->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont infoFont(QStringLiteral("Arial"));
    infoFont.setPointSizeF(11);
    m_info->setFont(infoFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(6);
    auto* foot = new QHBoxLayout;
    foot->setSpacing(8);
    foot->addStretch(1);
    foot->addWidget(m_findButton);
    foot->addWidget(m_customiseButton);
    foot->addSpacing(8);
    foot->addWidget(m_pageSetupButton);
    foot->addWidget(m_printButton);
    foot->addWidget(m_pdfButton);
    foot->addSpacing(8);
    foot->addWidget(m_helpButton);
    layout->addLayout(controls);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_info);
    layout->addLayout(foot);

    // Each control writes its option, then the view applies the control's rules.
    auto wire = [this](auto* control, auto signal, auto write, Control which) {
        connect(control, signal, this, [this, write, which](auto value) {
            if (m_syncing)
                return;
            write(value);
            m_view->commands().refreshDisplay(which);
        });
    };
    wire(m_ancestors, &QRadioButton::toggled,
        [this](bool) { m_view->commands().setBAncestors(m_ancestors->isChecked()); }, Control::AncestorsSwitch);
    wire(m_horizontal, &QCheckBox::toggled, [](bool on) { defaults().setBool(QStringLiteral("hdHorizontal"), on); },
        Control::HorizontalSwitch);
    wire(m_truncate, &QCheckBox::toggled, [](bool on) { defaults().setBool(QStringLiteral("hdTruncateLines"), on); },
        Control::TruncateSwitch);
    wire(m_generations, &QSpinBox::valueChanged,
        [](int value) { defaults().setInteger(QStringLiteral("hdGenerations"), value); }, Control::GenerationsStepper);
    wire(m_pointSize, &QSpinBox::valueChanged,
        [](int value) { defaults().setDouble(QStringLiteral("hdPointSize"), value); }, Control::PointSizeStepper);
    wire(m_columnWidth, &QDoubleSpinBox::valueChanged,
        [](double value) { defaults().setDouble(QStringLiteral("hdColWidthFactor"), value); }, Control::ColumnWidthStepper);
    connect(m_pageSetupButton, &QPushButton::clicked, this, [this] { pageSetup(); });
    connect(m_helpButton, &QPushButton::clicked, this, [this] { displayHelp(); });
    connect(m_printButton, &QPushButton::clicked, this, [this] { printHierarchyDiagram(); });
    connect(m_pdfButton, &QPushButton::clicked, this, [this] { printAsPDF(); });
    connect(m_customiseButton, &QPushButton::clicked, this, [this] { customise(); });
    connect(m_findButton, &QPushButton::clicked, this, [this] { invokeFindPersonDialog(); });

    m_view->onTitleChanged = [this](const QString& title) { setWindowTitle(title); };
    m_view->onSelectedPersonChanged = [this](FTPerson* person, const QString& info) {
        m_info->setElideMode(Qt::ElideRight);
        m_info->setText(info);
        // The details window follows the selection.
        if (m_pd && person && m_pd->person() != person)
            m_pd->setPerson(person);
    };
    m_view->onShowMiniPersonalDetails = [this](FTPerson* person) { invokeMiniPersonalDetailsFor(person); };
    // A value the details window refused keeps its person there, and so the selection here.
    m_view->endEditing = [this] { return !m_pd || m_pd->endEditing(); };
    m_view->onRootPersonGone = [this] { closeWhenSafe(); };
}

void HierarchyDiagram::syncControls()
{
    const HdOptions o = HdOptions::fromUserDefaults();
    m_syncing = true;
    const bool ancestors = m_view->commands().bAncestors();
    m_ancestors->setChecked(ancestors);
    m_descendants->setChecked(!ancestors);
    m_horizontal->setChecked(o.horizontal);
    m_truncate->setChecked(o.truncateLines);
    m_generations->setValue(o.generations);
    m_pointSize->setValue(int(std::lround(o.pointSize)));
    m_columnWidth->setValue(o.colWidthFactor);
    m_syncing = false;
}

// ---- Window ------------------------------------------------------------------------------------------------------

void HierarchyDiagram::setFrameColour(bool active)
{
    const QString key = QStringLiteral("hdFrameColour");
    QColor colour = defaults().colorForKey(key);
    if (!colour.isValid())
        colour = QApplication::palette().color(QPalette::Window);
    else if (!active)
        colour = QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void HierarchyDiagram::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    const bool active = isActiveWindow();
    setFrameColour(active);
    if (active) {
        // Another window may have changed the shared options.
        syncControls();
        m_view->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void HierarchyDiagram::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_view->commands().markForRebuild();
}

bool HierarchyDiagram::outsideModalLoops() const
{
    return !QApplication::activeModalWidget() && QThread::currentThread()->loopLevel() <= m_loopLevel;
}

void HierarchyDiagram::closeWhenSafe()
{
    if (outsideModalLoops()) {
        close();
        return;
    }
    // A modal dialog runs its own event loop, and it may belong to this window or to its details window (the
    // family dialog opened from a box): deleting the window there would delete the dialog under its own loop and
    // this window under the code that opened the dialog. Out of sight until the dialog has finished.
    hide();
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        retryCloseSoon(50); // a nested loop without a dialog (a menu) is still unwinding
        return;
    }
    if (modal != m_closeAfter) {
        m_closeAfter = modal;
        modal->installEventFilter(this);
    }
}

void HierarchyDiagram::retryCloseSoon(int msec)
{
    if (m_closeQueued)
        return;
    m_closeQueued = true;
    QTimer::singleShot(msec, this, [this] {
        m_closeQueued = false;
        closeWhenSafe();
    });
}

bool HierarchyDiagram::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_closeAfter && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        m_closeAfter = nullptr;
        // The dialog's loop ends once this event has been handled: the close comes after it.
        retryCloseSoon(0);
    }
    return QWidget::eventFilter(watched, event);
}

void HierarchyDiagram::closeEvent(QCloseEvent* event)
{
    lastFrame() = geometry();
    NotificationCenter::defaultCenter().removeObserversOf(this);
    releasePersonalDetailsWindow();
    if (m_customiseDialog)
        m_customiseDialog->hide();
    event->accept();
}

void HierarchyDiagram::displayHelp()
{
    Prompts::current().chooseWithTitle(LocalizedHelpString(QStringLiteral("HdHelpTitle")),
        LocalizedHelpString(QStringLiteral("HdHelpHeading")), LocalizedHelpString(QStringLiteral("HdHelp")),
        { L("Close") });
}

void HierarchyDiagram::pageSetup()
{
    QPageSetupDialog dialog(&sharedPrinter(), this);
    dialog.exec();
    m_view->commands().markForRebuild();
    m_view->update();
}

void HierarchyDiagram::invokeMiniPersonalDetailsFor(FTPerson* person)
{
    if (!person)
        return;
    if (!m_pd) {
        m_pd = new PersonalDetails(m_moc, this);
        m_pd->invokeFamilyDialog = [this](FTPerson* p) { m_view->commands().invokeFamilyDialog(p); };
        m_pd->onClosed = [this] { releasePersonalDetailsWindow(); };
        HdWindowParts::placeBesideHierarchyWindow(m_pd, this);
        m_pd->show();
    }
    if (m_pd->person() != person)
        m_pd->setPerson(person);
    m_pd->raise();
}

void HierarchyDiagram::releasePersonalDetailsWindow()
{
    if (!m_pd)
        return;
    m_pd->hide();
    // A modal dialog may belong to the details window: then it stays, hidden, until this window goes.
    if (outsideModalLoops())
        m_pd->deleteLater();
    m_pd = nullptr;
}

void HierarchyDiagram::customise()
{
    const bool first = !m_customiseDialog;
    if (first)
        m_customiseDialog = new HdCustomise(m_view, this);
    UserDefaults& d = defaults();
    if (d.boolForKey(QStringLiteral("hdNameOnly"))) {
        // The options are about what the boxes say beyond the names.
        DisplayMsg(L("ToggleNameOnly"));
        d.setBool(QStringLiteral("hdNameOnly"), false);
        m_view->commands().markForRebuild();
        m_view->update();
    }
    m_customiseDialog->syncControls();
    if (first) {
        // Over its own chart, near the top right where it hides the least of the chart, and on the screen.
        m_customiseDialog->adjustSize();
        const QRect chart(m_view->mapToGlobal(QPoint()), m_view->size());
        QRect placed(QPoint(), m_customiseDialog->size());
        placed.moveTopRight(chart.topRight() + QPoint(-24, 24));
        if (placed.left() < chart.left())
            placed.moveLeft(chart.left());
        if (const QScreen* screen = this->screen()) {
            const QRect room = screen->availableGeometry();
            placed.moveRight(std::min(placed.right(), room.right()));
            placed.moveBottom(std::min(placed.bottom(), room.bottom()));
            placed.moveTopLeft(QPoint(std::max(placed.left(), room.left()), std::max(placed.top(), room.top())));
        }
        m_customiseDialog->move(placed.topLeft());
    }
    m_customiseDialog->show();
    m_customiseDialog->raise();
    m_customiseDialog->activateWindow();
}

void HierarchyDiagram::invokeFindPersonDialog()
{
    HdFindPerson find(m_view, this);
    find.exec();
}

void HierarchyDiagram::printHierarchyDiagram()
{
    m_view->print();
}

void HierarchyDiagram::printAsPDF()
{
    // Where the file went stays in the window's foot until another person is selected.
    const QString path = m_view->printAsPDF();
    if (!path.isEmpty()) {
        m_info->setElideMode(Qt::ElideMiddle);
        m_info->setText(L("DiagramSavedAs").arg(QDir::toNativeSeparators(path)));
    }
}

// ---- Changes made elsewhere ----------------------------------------------------------------------------------------

void HierarchyDiagram::observeNotifications()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(QStringLiteral("PersonNameOrDateChanged"), nullptr,
        [this](const Notification& n) { personNameOrDateChanged(n); }, this);
    center.addObserver(QStringLiteral("PersonToBeDeleted"), nullptr,
        [this](const Notification& n) { personToBeDeleted(n); }, this);
    center.addObserver(QStringLiteral("RefreshHierarchyDiagram"), nullptr, [this](const Notification&) { refreshArray(); },
        this);
}

bool HierarchyDiagram::concernsThisDatabase(const Notification& n) const
{
    return m_moc && n.context == m_moc;
}

void HierarchyDiagram::refreshArray()
{
    // An undo takes people away without telling who: a root that has gone leaves nothing to show.
    if (const FTPerson* root = rootPerson(); root && root->isDeleted()) {
        closeWhenSafe();
        return;
    }
    try {
        m_view->commands().setDialogTitle();
        m_view->commands().markForRebuild();
        m_view->update();
    } catch (...) {
        Utils::reportCurrentException("HierarchyDiagram", __LINE__, QStringLiteral("personToBeDeleted"));
    }
}

void HierarchyDiagram::personToBeDeleted(const Notification& n)
{
    if (!concernsThisDatabase(n))
        return;
    if (n.object && n.object == static_cast<const void*>(rootPerson())) {
        // The tree's root is going: the window has nothing left to show.
        closeWhenSafe();
        return;
    }
    refreshArray();
}

void HierarchyDiagram::personNameOrDateChanged(const Notification& n)
{
    if (!concernsThisDatabase(n) || m_moc->importThreadIsActive())
        return;
    try {
        m_view->commands().setDialogTitle();
        m_view->update();
    } catch (...) {
        Utils::reportCurrentException("HierarchyDiagram", __LINE__, QStringLiteral("personNameOrDateChanged"));
    }
}
