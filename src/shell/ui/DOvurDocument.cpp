#include "shell/ui/DOvurDocument.h"

#include "shell/RecentDocuments.h"
#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurWindow.h"
#include "shell/ui/DefaultWindowSize.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/PersonEditorPane.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"
#include "platform/store/EntityDescription.h"
#include "platform/store/Faults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/StoreSchema.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLayout>
#include <QScreen>
#include <QSet>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>

#include <vector>

const QString DOvurDocument::kFrameName = QStringLiteral("KinloomFrame");

namespace {
const QString kRefreshAllViews = QStringLiteral("RefreshAllViews");
const QString kFontSizeChanged = QStringLiteral("FontSizeChanged");
const QString kRefreshHierarchyDiagram = QStringLiteral("RefreshHierarchyDiagram");
// Above this many objects holding values read from the file, every one the visible family does not need is
// released; below it only pictures.
constexpr int kFaultThreshold = 1000;
constexpr int kKeepRelationshipsUpTo = 20000;

DOvurDocument::PaneFactories& paneFactories()
{
    static DOvurDocument::PaneFactories factories;
    return factories;
}

// Runs a reaction to a change of the database; an exception is reported as the program's own fault.
template <class F> void guarded(const char* file, int line, const QString& method, F&& f)
{
    try {
        f();
    } catch (...) {
        Utils::reportCurrentException(file, line, method);
    }
}
}

void DOvurDocument::setPaneFactories(PaneFactories factories)
{
    paneFactories() = std::move(factories);
}

void DOvurDocument::setDiagramFactory(DiagramFactory factory)
{
    paneFactories().diagram = std::move(factory);
}

void DOvurDocument::setPersonEditorFactory(PersonEditorFactory factory)
{
    paneFactories().personEditor = std::move(factory);
}

DOvurDocument* DOvurDocument::readFromURL(const QString& path, const QString& type, FTMoc::OpenError* error)
{
    if (error)
        *error = {};
    if (type.compare(QLatin1String("DovurDoc"), Qt::CaseInsensitive) != 0)
        return nullptr;
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true, error);
    if (!moc)
        return nullptr;
    return new DOvurDocument(std::move(moc), QFileInfo(path).absoluteFilePath());
}

DOvurDocument::DOvurDocument(std::unique_ptr<FTMoc> moc, const QString& path)
    : m_moc(std::move(moc))
    , m_path(path)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        kRefreshAllViews, nullptr,
        [this](const Notification& n) {
            if (!belongsToOtherDatabase(n))
                refreshAllViews();
        },
        this);
    center.addObserver(kFontSizeChanged, nullptr, [this](const Notification& n) { fontSizeChanged(n); }, this);
}

DOvurDocument::~DOvurDocument()
{
    NotificationCenter::defaultCenter().removeObserversOf(this);
    if (m_moc)
        m_moc->removeObserversOf(this);
    m_toolbarController.reset();
    if (m_window) {
        m_window->setClosingFromDocument(true);
        delete m_window.data();
    }
}

QMainWindow* DOvurDocument::dovurWindow() const
{
    return m_window.data();
}

QString DOvurDocument::modelName() const
{
    return QFileInfo(m_path).completeBaseName();
}

QString DOvurDocument::dateTooltip()
{
    return QStringLiteral("Date format is q dd mmm yyyy\n  q is c, abt, bef aft\n  dd is 1 - 31\n  mm is 1 - 12 or Jan - "
                          "Dec\n  yyyy is 4 digit year");
}

bool DOvurDocument::belongsToOtherDatabase(const Notification& n) const
{
    return n.context && n.context != m_moc.get();
}

void DOvurDocument::makeWindowControllers()
{
    if (m_window)
        return;
    m_window = new DOvurWindow(this);
    m_window->setWindowTitle(QStringLiteral("%1 - Kinloom").arg(modelName()));
    m_window->setWindowFilePath(m_path);

    m_toolbarController = std::make_unique<ToolbarController>(m_moc.get(), this);
    m_window->addToolBar(Qt::TopToolBarArea, m_toolbarController->toolbar());

    m_pcd = paneFactories().diagram ? paneFactories().diagram(*this) : new FamilyDiagramPane;
    m_pInfoArea = paneFactories().personEditor ? paneFactories().personEditor(*this) : new PersonEditorPane;
    m_pcd->setMinimumHeight(kMinDiagramHeight);
    m_pInfoArea->setMinimumHeight(kMinEditorHeight);
    m_toolbarController->setPcd(m_pcd);
    m_split = new QSplitter(Qt::Vertical);
    m_split->setObjectName(QStringLiteral("pHorizSplitView"));
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_pcd);
    m_split->addWidget(m_pInfoArea);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 0);
    m_window->setCentralWidget(m_split);

    if (AppController* app = AppController::shared())
        m_window->setMenuBar(app->createMainMenu(m_window));

    m_window->setMinimumSize(kMinWidth, kMinHeight);
    QScreen* screen = m_window->screen();
    m_window->resize(screen ? defaultWindowSize(screen->availableGeometry(),
                                                m_window->style()->pixelMetric(QStyle::PM_TitleBarHeight))
                            : QSize(kDefaultWidth, kDefaultHeight));
    const bool onlyDocument = DocumentController::shared().documents().size() <= 1;
    const QString saved = UserDefaults::standard().stringForKey(kFrameName);
    if (onlyDocument && !saved.isEmpty())
        m_window->restoreGeometry(QByteArray::fromBase64(saved.toLatin1()));
    if (screen) {
        QRect frame = m_window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
    // Sizes given before the splitter has its height are lost: the window is laid out first. The splitter keeps
    // the diagram's minimum when the window is too short for both.
    if (m_window->layout())
        m_window->layout()->activate();
    m_split->setSizes({m_window->height() - kDefaultEditorHeight, kDefaultEditorHeight});

    setBgColour(true);
    setMoc();
}

QSize defaultWindowSize(const QRect& available, int titleBarHeight)
{
    constexpr int kMargin = 24;
    const int roomX = available.width() - 2 * kMargin;
    const int roomY = available.height() - 2 * kMargin - titleBarHeight;
    const int width = std::min(std::max(available.width() * 4 / 5, DOvurDocument::kDefaultWidth), roomX);
    const int height = std::min(std::max(available.height() * 17 / 20, DOvurDocument::kDefaultHeight), roomY);
    return {std::max(width, DOvurDocument::kMinWidth), std::max(height, DOvurDocument::kMinHeight)};
}

void DOvurDocument::showWindows()
{
    if (!m_window)
        makeWindowControllers();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    DocumentController::shared().setCurrentDocument(this);
}

void DOvurDocument::setMoc()
{
    FTMoc* moc = m_moc.get();
    m_pcd->setMoc(moc);
    m_pInfoArea->setMoc(moc);

    UndoManager* undo = moc->undoManager();
    undo->closeOpenGroups();
    undo->disableUndoRegistration();
    // The start-up values are not the user's to undo.
    FTPerson* focal = moc->focalPerson();
    moc->setFocalPerson(focal);
    moc->setSelectedPerson(focal);
    moc->addObserver(QStringLiteral("modelDefaults.focalPerson"), this,
                     [this](const KeyPathChange&) { focalPersonChanged(); });
    moc->addObserver(QStringLiteral("modelDefaults.selectedPerson"), this,
                     [this](const KeyPathChange&) { selectedPersonChanged(); });
    moc->addObserver(QStringLiteral("modelDefaults.currentView"), this,
                     [this](const KeyPathChange&) { currentViewChanged(); });
    focalPersonChanged();
    selectedPersonChanged();
    currentViewChanged();
    undo->closeOpenGroups();
    undo->enableUndoRegistration();
    undo->setLevelsOfUndo(FTMocUndoManager::kLevelsOfUndo);
}

void DOvurDocument::focalPersonChanged()
{
    guarded(__FILE__, __LINE__, QStringLiteral("observeValueForKeyPath"), [this] {
        const ReadBurst reads(m_moc.get());
        faultUnusedRegisteredObjects();
        FTPerson* person = m_moc->modelDefaults()->focalPerson();
        m_pcd->setFocalPerson(person);
        if (m_toolbarController)
            m_toolbarController->setFocalPerson(person);
    });
}

void DOvurDocument::selectedPersonChanged()
{
    guarded(__FILE__, __LINE__, QStringLiteral("observeValueForKeyPath"), [this] {
        const ReadBurst reads(m_moc.get());
        m_pInfoArea->setSelectedPerson(m_moc->modelDefaults()->selectedPerson());
    });
}

void DOvurDocument::currentViewChanged()
{
    guarded(__FILE__, __LINE__, QStringLiteral("observeValueForKeyPath"), [this] {
        FTProjectView* view = m_moc->modelDefaults()->currentView();
        m_pcd->setProjectView(view);
        m_pInfoArea->setProjectView(view);
    });
}

void DOvurDocument::refreshAllViews()
{
    if (m_toolbarController)
        m_toolbarController->validateArrays();
    if (m_pcd) {
        m_pcd->setRefreshArray(true);
        m_pcd->update();
    }
    if (m_pInfoArea)
        m_pInfoArea->refreshDisplay();
    NotificationCenter::defaultCenter().post(kRefreshHierarchyDiagram);
}

void DOvurDocument::faultUnusedRegisteredObjects()
{
    FTMoc* moc = m_moc.get();
    QElapsedTimer timer;
    timer.start();
    if (const int deleted = moc->pendingDeleteCount(); deleted > 0) {
        FTLog(QStringLiteral("NumDeleted objects = %1 so cannot faultUnusedRegisteredObjects").arg(deleted));
        return;
    }
    guarded(__FILE__, __LINE__, QStringLiteral("faultUnusedRegisteredObjects_1"), [&] {
        // Kinds by their descriptions: this runs at every change of focal person, over every record in memory.
        const StoreSchema& schema = moc->schema();
        const EntityDescription* source = schema.entityNamed(QString::fromLatin1(FTSource::kEntityName));
        const EntityDescription* picture = schema.entityNamed(QString::fromLatin1(FTPicture::kEntityName));
        const EntityDescription* person = schema.entityNamed(QString::fromLatin1(FTPerson::kEntityName));
        // The records whose values are in memory, never reading others: those that are not sources.
        std::vector<ManagedObject*> candidates;
        StoreFaults::forEachLoadedObject(*moc, [&](ManagedObject* o) {
            if (!o->isDeleted() && !o->entity()->isKindOf(source))
                candidates.push_back(o);
            return true;
        });
        const qsizetype count = qsizetype(candidates.size());
        if (count == 0)
            return;

        QSet<const ManagedObject*> keep;
        QList<FTPerson*> people;
        auto keepWithSpouses = [&](FTPerson* person) {
            if (!person)
                return;
            people << person;
            for (FTSpouseRel* couple : person->spouseRels())
                for (FTPerson* partner : couple->partners())
                    people << partner;
        };
        keepWithSpouses(moc->modelDefaults()->focalPerson());
        if (m_toolbarController)
            keepWithSpouses(m_toolbarController->previousFocalPerson());
        for (FTPerson* person : people) {
            keep.insert(person);
            for (FTPcRel* link : person->children())
                keep.insert(link);
            for (FTPcRel* link : person->parents())
                keep.insert(link);
        }
        // The family the diagram still shows, with the events and links its boxes and lines are drawn from: the new
        // focal person is most often one of them, and the diagram drawn next shows many of them again.
        if (m_pcd)
            for (ManagedObject* o : candidates) {
                if (!o->entity()->isKindOf(person))
                    continue;
                auto* shown = static_cast<FTPerson*>(o);
                if (!m_pcd->findPerson(shown))
                    continue;
                keep.insert(shown);
                for (const ManagedObject* event : { shown->birth(), shown->death() })
                    keep.insert(event);
                for (FTPcRel* link : shown->children())
                    keep.insert(link);
                for (FTPcRel* link : shown->parents())
                    keep.insert(link);
                for (FTSpouseRel* couple : shown->spouseRels())
                    keep.insert(couple);
            }
        if (gDevelopmentVersion && count > kFaultThreshold)
            FTLog(QStringLiteral("DOvurDocument: faultUnusedRegisteredObjects count = %1").arg(count));

        const bool releaseAll = count > kFaultThreshold;
        // The records of the families looked at lately keep their relationships, which the next families drawn read
        // again: a record read alone without them reads each of its lists with a statement of its own. Many records
        // (a search's thousands of people, say) give theirs back too.
        const bool keepRelationships = count <= kKeepRelationshipsUpTo;
        int released = 0;
        for (ManagedObject* o : candidates) {
            if (keep.contains(o) || moc->isObserved(o) || o->hasChanges())
                continue;
            if (!releaseAll) {
                if (!o->entity()->isKindOf(picture))
                    continue;
                const FTPerson* owner = static_cast<FTPicture*>(o)->owner();
                if (owner && (keep.contains(owner) || moc->isObserved(owner)))
                    continue;
            }
            // Many records: every one goes back to being a fault. Few: only the pictures' large values go, which
            // is what they hold of any size, and the page that shows them reads them back as before.
            if (!releaseAll ? moc->releaseLazyValues(o)
                            : keepRelationships ? StoreFaults::refreshKeepingRelationships(o)
                                                : StoreFaults::refreshObject(o))
                ++released;
        }
        if (released > 0)
            moc->setLastRefreshDate(QDateTime::currentDateTime());
        FTLog(QStringLiteral("%1 msecs to fault %2 of %3 objects\n")
                  .arg(timer.nsecsElapsed() / 1e6, 0, 'f', 3)
                  .arg(released)
                  .arg(count));
    });
}

void DOvurDocument::undo()
{
    FTMocUndoManager* um = m_moc->undoManager();
    um->closeOpenGroups();
    if (!um->canUndo())
        return;
    if (um->undoActionName().contains(QLatin1String("place"), Qt::CaseInsensitive))
        m_moc->rebuildPlaces();
    // The names offered for each event type follow the setters, not the step: they are built again when next used.
    m_moc->resetEventNames();
    const int before = um->undoCount();
    um->undo();
    if (um->undoCount() != before) {
        // To every window on this database, not only this one's panes: lists elsewhere may hold objects the step
        // took away.
        NotificationCenter::defaultCenter().post(kRefreshAllViews, nullptr, m_moc.get());
        if (m_window)
            m_window->update();
    }
}

void DOvurDocument::redo()
{
    FTMocUndoManager* um = m_moc->undoManager();
    um->closeOpenGroups();
    if (!um->canRedo())
        return;
    if (um->redoActionName().contains(QLatin1String("place"), Qt::CaseInsensitive))
        m_moc->rebuildPlaces();
    // The names offered for each event type follow the setters, not the step: they are built again when next used.
    m_moc->resetEventNames();
    const int before = um->redoCount();
    um->redo();
    if (um->redoCount() != before) {
        // To every window on this database, not only this one's panes: lists elsewhere may hold objects the step
        // took away.
        NotificationCenter::defaultCenter().post(kRefreshAllViews, nullptr, m_moc.get());
        if (m_window)
            m_window->update();
    }
}

bool DOvurDocument::endEditing()
{
    if (m_pcd && !m_pcd->endEditing())
        return false;
    // A refused edit keeps its field and the focus: taking the focus away would end it, and refuse it, again.
    if (m_pInfoArea && !m_pInfoArea->endEditing())
        return false;
    if (m_window)
        if (QWidget* focus = m_window->focusWidget())
            focus->clearFocus();
    return true;
}

bool DOvurDocument::endEditingForClose()
{
    if (m_editingEndedForClose)
        return true;
    // The entry box's typed text is the only edit a close waits for; a refused field edit goes with the window.
    if (m_pcd && !m_pcd->endEditing())
        return false;
    m_editingEndedForClose = true;
    endEditing();
    return true;
}

void DOvurDocument::prepareForCommand()
{
    endEditing();
    m_moc->saveMoc();
}

void DOvurDocument::beginSheet(QDialog* sheet, std::function<void(int result)> didEnd)
{
    if (!m_window || !sheet)
        return;
    sheet->setParent(m_window, sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    if (didEnd)
        connect(sheet, &QDialog::finished, sheet, std::move(didEnd), Qt::SingleShotConnection);
    sheet->open();
}

void DOvurDocument::addChildWindow(QWidget* window)
{
    if (!window)
        return;
    if (!m_window) {
        delete window;
        return;
    }
    window->setParent(m_window, Qt::Tool);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
}

bool DOvurDocument::hasAttachedSheet() const
{
    if (!m_window)
        return false;
    for (QDialog* dialog : m_window->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        if (dialog->isVisible() && dialog->windowModality() != Qt::NonModal)
            return true;
    return false;
}

void DOvurDocument::setBgColour(bool active)
{
    if (!m_window)
        return;
    const QString key = QStringLiteral("mainWindowBgColour");
    QPalette palette = m_window->palette();
    if (UserDefaults::standard().contains(key)) {
        QColor colour = UserDefaults::standard().colorForKey(key);
        if (!active)
            colour = QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
        palette.setColor(QPalette::Window, colour);
    } else {
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    }
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
}

void DOvurDocument::saveFrame() const
{
    if (m_window)
        UserDefaults::standard().setString(kFrameName, QString::fromLatin1(m_window->saveGeometry().toBase64()));
}

DOvurDocument::CloseDecision DOvurDocument::windowShouldClose()
{
    FTLog(QStringLiteral("Window should close"));
    if (!m_moc)
        return CloseDecision::Close;
    if (m_window) {
        // Windows that belong to this one (the people index, a hierarchy diagram ...) close first; the next try
        // closes the database.
        bool closedOthers = false;
        for (QWidget* child : m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow() && child->isVisible() && !qobject_cast<QDialog*>(child)) {
                child->close();
                closedOthers = true;
            }
        }
        if (closedOthers)
            return CloseDecision::Cancel;
    }
    if (!endEditingForClose())
        return CloseDecision::Cancel;
    // The window stays: its fields are checked again at the next close.
    auto cancel = [this] {
        m_editingEndedForClose = false;
        return CloseDecision::Cancel;
    };
    m_moc->saveRecentSources();
    m_moc->savePlaces();
    switch (saveOrAskToDiscard()) {
    case UnsavedChanges::Cancel:
        return cancel();
    case UnsavedChanges::Discard:
        return CloseDecision::Close; // the user has just chosen to close
    case UnsavedChanges::Saved:
        break;
    }
    if (DocumentController::shared().documents().size() > 1)
        return CloseDecision::Close;
    const int answer = Prompts::current().choose(QStringLiteral("Close %1 ?").arg(modelName()), {},
                                                 {QStringLiteral("Close & Quit"), QStringLiteral("Close"),
                                                  QStringLiteral("Cancel")});
    switch (answer) {
    case 0:
        return CloseDecision::CloseAndQuit;
    case 1:
        return CloseDecision::Close;
    default:
        return cancel();
    }
}

DOvurDocument::UnsavedChanges DOvurDocument::saveOrAskToDiscard()
{
    if (m_discardChanges)
        return UnsavedChanges::Discard;
    QString error;
    while (!m_moc->saveMoc(&error)) {
        QString text = LocalizedString("SaveFailedQuestion")
                           .arg(modelName(), error.isEmpty() ? QStringLiteral("An unexpected error stopped the save.") : error);
        if (QFileInfo::exists(FTMoc::saveErrorReportPath()))
            text += QStringLiteral("\n\n")
                + LocalizedString("SaveFailedReport").arg(QDir::toNativeSeparators(FTMoc::saveErrorReportPath()));
        const int answer = Prompts::current().choose(text, {},
            {LocalizedString("SaveRetry"), LocalizedString("SaveCloseWithoutSaving"), QStringLiteral("Cancel")});
        if (answer == 1) {
            FTLog(QStringLiteral("%1: unsaved changes given up: %2").arg(modelName(), error));
            m_discardChanges = true;
            return UnsavedChanges::Discard;
        }
        if (answer != 0)
            return UnsavedChanges::Cancel;
    }
    return UnsavedChanges::Saved;
}

void DOvurDocument::performClose()
{
    switch (windowShouldClose()) {
    case CloseDecision::Cancel:
        return;
    case CloseDecision::Close:
        DocumentController::shared().closeDocument(this);
        return;
    case CloseDecision::CloseAndQuit:
        saveFrame();
        if (AppController* app = AppController::shared()) {
            if (!app->terminate())
                keepChanges(); // the quit was refused: this database stays open
        } else {
            DocumentController::shared().closeDocument(this);
        }
        return;
    }
}

void DOvurDocument::close()
{
    if (m_closed)
        return;
    m_closed = true;
    Q_EMIT closing();
    endEditingForClose();
    if (!m_discardChanges)
        m_moc->saveMoc();
    RecentDocuments::noteNewRecentDocument(m_path);
    m_moc->removeObserversOf(this);
    // The file is free at once for whoever opens it next; the window goes with the document a moment later.
    m_moc->closeStore();
    if (m_window) {
        m_window->setClosingFromDocument(true);
        m_window->hide();
    }
}

void DOvurDocument::fontSizeChanged(const Notification& n)
{
    const double size = n.userInfo.value(QStringLiteral("fontSize")).toDouble();
    if (m_toolbarController && size > 0)
        m_toolbarController->setFoundPeopleFontSize(int(size));
    if (m_pInfoArea && size > 0)
        m_pInfoArea->setFontSize(size);
    if (m_pcd)
        m_pcd->update();
}
