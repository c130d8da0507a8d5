#include "shell/ui/PreferencesController.h"

#include "shell/CroppingModes.h"
#include "shell/DiagramPreferences.h"
#include "shell/SystemFlags.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/AppController.h"
#include "shell/ui/ColourButtons.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/SetFontSize.h"
#include "shell/ui/ThemeIcon.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTMoc.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

// The views table's rows: each view's name, the current view in its own colour.
class ViewsTableModel : public QAbstractTableModel {
public:
    explicit ViewsTableModel(AncestralViewsList& list, QObject* parent)
        : QAbstractTableModel(parent)
        , m_list(list)
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_list.views().size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_list.views().size())
            return {};
        const FTProjectView* view = m_list.views()[index.row()];
        if (view->isDeleted())
            return {};
        if (role == Qt::DisplayRole)
            return view->name();
        if (role == Qt::ForegroundRole)
            return view->currentViewColour();
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 0)
            return LocalizedString(QStringLiteral("PrefsViewsColumn"));
        return {};
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    AncestralViewsList& m_list;
};

namespace {

QPointer<PreferencesController>& sharedWindow()
{
    static QPointer<PreferencesController> window;
    return window;
}

PreferencesController::DiagramColoursHandler& diagramColoursHandler()
{
    static PreferencesController::DiagramColoursHandler handler;
    return handler;
}

// The preferences' requests reach the bound diagram, if it still exists.
struct PaneDiagram : DiagramPreferences::Diagram {
    explicit PaneDiagram(FamilyDiagramPane* pane)
        : pane(pane)
    {
    }
    void setRefreshArray(bool refresh) override
    {
        if (pane)
            pane->setRefreshArray(refresh);
    }
    void redraw() override
    {
        if (pane)
            pane->update();
    }
    void setCdFont(const QFont& font) override
    {
        if (pane)
            pane->setCdFont(font);
    }
    QPointer<FamilyDiagramPane> pane;
};

// The colour keys of the colours page, with the key of each label.
const std::pair<const char*, const char*> kColours[] = {
    {"cdBgColour", "PrefsColourDiagramBg"},
    {"selectedPersonColour", "PrefsColourSelectedPerson"},
    {"spouseColour", "PrefsColourSpouse"},
    {"otherPersonColour", "PrefsColourOtherPerson"},
    {"ancestralViewColour", "PrefsColourAncestralView"},
    {"tableViewHighlightColour", "PrefsColourTableHighlight"},
    {"mainWindowBgColour", "PrefsColourMainWindow"},
    {"panelsBgColour", "PrefsColourPanels"},
};

// The switches of the general page, by group: the user default and the key of its label.
const std::pair<const char*, const char*> kDiagramSwitches[] = {
    {"childrenOnLeft", "PrefsChildrenOnLeft"},
    {"showGhostOutlines", "PrefsShowGhostOutlines"},
    {"showTimeline", "PrefsShowTimeline"},
    {"showStepRelsOfFocalPerson", "PrefsShowStepRels"},
    {"showShadows", "PrefsShowShadows"},
    {"showPcdToolTips", "PrefsShowToolTips"},
    {"showFullPcdToolTips", "PrefsShowFullToolTips"},
    {"showFocalPersonsId", "PrefsShowFocalPersonsId"},
    {"showFullNameInDiagram", "PrefsShowFullName"},
    {"showRelationshipHandles", "PrefsShowRelationshipHandles"},
    {"cdShowMugShots", "PrefsShowMugShots"},
    {"cdShowGenderSymbolsForAll", "PrefsShowGenderSymbols"},
    {"cdHighlightBadPcRels", "PrefsHighlightBadPcRels"},
    {"binaryAhnentafelNumbers", "PrefsBinaryAhnentafel"},
    {"speakIt", "PrefsSpeakIt"},
};
const std::pair<const char*, const char*> kEditingSwitches[] = {
    {"alwaysShowFamilyDialog", "PrefsAlwaysShowFamilyDialog"},
    {"showAddChildDialog", "PrefsShowAddChildDialog"},
    {"alwaysCopyToPicturesFolder", "PrefsCopyToPicturesFolder"},
    {"cdCheckForMissingCitations", "PrefsCheckMissingCitations"},
    {"uppercaseFamilyName", "PrefsUppercaseFamilyName"},
    {"autoAddFamilyName", "PrefsAutoAddFamilyName"},
    {"duplicateNameWarning", "PrefsDuplicateNameWarning"},
    {"showDeleteWarnings", "PrefsShowDeleteWarnings"},
    {"includeTitlesInSearch", "PrefsIncludeTitlesInSearch"},
    {"peopleIndexAlwaysOnTop", "PrefsPeopleIndexOnTop"},
    {"loggingOn", "PrefsLoggingOn"},
};

// The panels' background colour, behind the window and its alerts.
void applyPanelColour(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, PanelColour());
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    widget->update();
}

QString text(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString fontDescription(const QFont& font)
{
    return QStringLiteral("%1 %2 %3").arg(font.family(), font.styleName().isEmpty() && font.italic()
                                                             ? text("PrefsItalic")
                                                             : font.styleName())
        .arg(font.pointSizeF())
        .simplified();
}

}

// ---- The program's window -------------------------------------------------------------------------------------

PreferencesController* PreferencesController::shared()
{
    return sharedWindow().data();
}

PreferencesController* PreferencesController::setUserPreferences(DOvurDocument* document)
{
    if (!document)
        document = DocumentController::shared().currentDocument();
    if (!document || !document->dovurWindow())
        return nullptr;
    if (!sharedWindow())
        sharedWindow() = new PreferencesController;
    PreferencesController* window = sharedWindow();
    window->setDocument(document);
    window->m_projectViewSearchField->clear();
    window->m_list.findView({});
    // A tool window of this database's main window, taken from any earlier one.
    QMainWindow* main = document->dovurWindow();
    const bool moved = window->parentWidget() != main;
    if (moved)
        window->setParent(main, Qt::Tool);
    SetFontSize(window->m_foundViewsTable, 11);
    if (moved || !window->isVisible())
        window->move(main->geometry().topLeft() + QPoint(24, 24));
    window->reloadPages();
    window->show();
    window->raise();
    window->activateWindow();
    window->m_list.findView({});
    return window;
}

void PreferencesController::install(AppController& controller)
{
    controller.addMenuItem(QStringLiteral("Edit"), QStringLiteral("Preferences..."), [] { setUserPreferences(); },
                           QStringLiteral("Ctrl+,"));
    ToolbarController::setItemHandler(ToolbarController::kPreferences,
                                      [](DOvurDocument& document) { setUserPreferences(&document); });
}

void PreferencesController::setDiagramColoursHandler(DiagramColoursHandler handler)
{
    diagramColoursHandler() = std::move(handler);
    if (PreferencesController* window = shared())
        window->m_diagramColoursButton->setVisible(bool(diagramColoursHandler()));
}

PreferencesController::PreferencesController()
    : QWidget(nullptr, Qt::Tool)
{
    setObjectName(QStringLiteral("Preferences"));
    setWindowTitle(text("Preferences"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(false);
    m_tabs->addTab(makeDiagramPage(), text("PrefsDiagramTab"));
    m_tabs->addTab(makeColoursPage(), text("PrefsColoursTab"));
    m_tabs->addTab(makeGeneralPage(), text("PrefsGeneralTab"));
    m_tabs->addTab(makeViewsPage(), text("PrefsViewsTab"));

    // Changes apply as they are made: the window only needs closing, by its button or by Escape.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("closeButtons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    m_list.changed = [this] { reloadViews(); };
    NotificationCenter::defaultCenter().addObserver(QStringLiteral("cdNameOptionChanged"), nullptr,
                                                    [this](const Notification&) { nameOptionChanged(); }, this);
    recolour();
}

PreferencesController::~PreferencesController()
{
    FTLog(QStringLiteral("dealloc PreferencesController"));
    NotificationCenter::defaultCenter().removeObserversOf(this);
    m_list.changed = nullptr;
}

void PreferencesController::setDocument(DOvurDocument* document)
{
    if (m_document == document)
        return;
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_pcd = document ? document->pcd() : nullptr;
    m_list.setMoc(document ? document->moc() : nullptr);
    if (document)
        connect(document, &DOvurDocument::closing, this, &PreferencesController::documentClosing);
}

void PreferencesController::documentClosing()
{
    hide();
    setDocument(nullptr);
    // Out of the closing main window, which takes its child windows with it.
    setParent(nullptr, Qt::Tool);
}

// ---- Pages ----------------------------------------------------------------------------------------------------

QWidget* PreferencesController::makeDiagramPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    m_nameOptions = new QComboBox(page);
    m_nameOptions->setObjectName(QStringLiteral("nameOptions"));
    m_nameOptions->addItems(DiagramPreferences::nameOptionTitles());
    connect(m_nameOptions, &QComboBox::activated, this, &PreferencesController::selectNameOption);
    form->addRow(text("PrefsNameOption"), m_nameOptions);

    auto* fontRow = new QHBoxLayout;
    m_fontName = new QLabel(page);
    auto* chooseFont = new QPushButton(text("PrefsChooseFont"), page);
    chooseFont->setObjectName(QStringLiteral("selectFont"));
    connect(chooseFont, &QPushButton::clicked, this, &PreferencesController::selectFont);
    fontRow->addWidget(m_fontName);
    fontRow->addSpacing(8);
    fontRow->addWidget(chooseFont);
    fontRow->addStretch();
    form->addRow(text("PrefsFont"), fontRow);

    m_bgColourButton = ColourButtons::makeButton(page);
    m_bgColourButton->setObjectName(QStringLiteral("selectBgColour"));
    connect(m_bgColourButton, &QPushButton::clicked, this, &PreferencesController::selectBgColour);
    form->addRow(text("PrefsBackground"), m_bgColourButton);

    m_diagramColoursButton = new QPushButton(text("PrefsDiagramColours"), page);
    m_diagramColoursButton->setObjectName(QStringLiteral("setColours"));
    m_diagramColoursButton->setVisible(bool(diagramColoursHandler()));
    connect(m_diagramColoursButton, &QPushButton::clicked, this, &PreferencesController::setColours);
    form->addRow(QString(), m_diagramColoursButton);

    auto* restore = new QPushButton(text("PrefsRestoreDefaults"), page);
    restore->setObjectName(QStringLiteral("setDefaults"));
    restore->setToolTip(text("PrefsRestoreDefaultsTip"));
    connect(restore, &QPushButton::clicked, this, &PreferencesController::setDefaults);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(restore);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(bottom);
    return page;
}

QWidget* PreferencesController::makeColoursPage()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const auto& [key, label] : kColours) {
        const QString k = QString::fromLatin1(key);
        QPushButton* button = ColourButtons::makeButton(page);
        button->setObjectName(k);
        connect(button, &QPushButton::clicked, this, [this, k] { selectColour(k); });
        m_colourButtons.insert(k, button);
        form->addRow(text(label), button);
    }
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(form);
    layout->addStretch();
    return page;
}

QWidget* PreferencesController::makeGeneralPage()
{
    auto* page = new QWidget;
    auto group = [&](const char* title, const auto& switches) {
        auto* box = new QGroupBox(text(title), page);
        auto* column = new QVBoxLayout(box);
        column->setSpacing(4);
        for (const auto& [key, label] : switches) {
            const QString k = QString::fromLatin1(key);
            auto* check = new QCheckBox(text(label), box);
            check->setObjectName(k);
            connect(check, &QCheckBox::clicked, this, [this, k](bool on) {
                UserDefaults::standard().setBool(k, on);
                refreshScreen();
            });
            m_checkBoxes.insert(k, check);
            if (k == QLatin1String("alwaysShowFamilyDialog")) {
                auto* row = new QHBoxLayout;
                auto* help = new QToolButton(box);
                help->setObjectName(QStringLiteral("helpForAlwaysDisplayChildOrFamilyDialog"));
                help->setIcon(themeIcon(QStringLiteral("dialog-question")));
                help->setAutoRaise(true);
                help->setToolTip(text("PrefsHelpTip"));
                connect(help, &QToolButton::clicked, this,
                        &PreferencesController::helpForAlwaysDisplayChildOrFamilyDialog);
                row->addWidget(check);
                row->addWidget(help);
                row->addStretch();
                column->addLayout(row);
            } else {
                column->addWidget(check);
            }
            // The crop shape sits with the other picture setting.
            if (k == QLatin1String("alwaysCopyToPicturesFolder"))
                column->addLayout(makeCroppingModeRow(box));
        }
        column->addStretch();
        return box;
    };
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(group("PrefsDiagramGroup", kDiagramSwitches), 1);
    layout->addWidget(group("PrefsEditingGroup", kEditingSwitches), 1);
    return page;
}

QLayout* PreferencesController::makeCroppingModeRow(QWidget* parent)
{
    m_croppingMode = new QComboBox(parent);
    m_croppingMode->setObjectName(QStringLiteral("croppingMode"));
    m_croppingMode->addItems(CroppingModes::titles());
    m_croppingMode->setToolTip(text("PrefsCropShapeTip"));
    connect(m_croppingMode, &QComboBox::activated, this,
            [](int mode) { CroppingModes::setCurrentMode(CroppingModes::Mode(mode)); });
    auto* label = new QLabel(text("PrefsCropShape"), parent);
    label->setBuddy(m_croppingMode);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_croppingMode);
    row->addStretch();
    return row;
}

QWidget* PreferencesController::makeViewsPage()
{
    auto* page = new QWidget;
    auto* intro = new QLabel(text("PrefsViewsIntro"), page);
    intro->setWordWrap(true);

    m_projectViewSearchField = new QLineEdit(page);
    m_projectViewSearchField->setObjectName(QStringLiteral("projectViewSearchField"));
    m_projectViewSearchField->setPlaceholderText(text("PrefsViewsSearch"));
    m_projectViewSearchField->setClearButtonEnabled(true);
    m_projectViewSearchField->addAction(themeIcon(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    connect(m_projectViewSearchField, &QLineEdit::textEdited, this, [this](const QString& t) { m_list.findView(t); });
    // The clear button changes the text without an edit.
    connect(m_projectViewSearchField, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.isEmpty() && !m_list.searchText().isEmpty())
            m_list.findView({});
    });

    m_viewsModel = new ViewsTableModel(m_list, this);
    m_foundViewsTable = new QTableView(page);
    m_foundViewsTable->setObjectName(QStringLiteral("foundViewsTable"));
    m_foundViewsTable->setModel(m_viewsModel);
    m_foundViewsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_foundViewsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_foundViewsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_foundViewsTable->horizontalHeader()->setStretchLastSection(true);
    m_foundViewsTable->verticalHeader()->hide();
    m_foundViewsTable->setShowGrid(false);
    m_foundViewsTable->setAlternatingRowColors(true);
    SetFontSize(m_foundViewsTable, 11);
    connect(m_foundViewsTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PreferencesController::viewsSelectionChanged);

    auto* create = new QPushButton(themeIcon(QStringLiteral("list-add")), text("PrefsCreateView"), page);
    create->setObjectName(QStringLiteral("createAncestralViewForFocalPerson"));
    connect(create, &QPushButton::clicked, this, &PreferencesController::createAncestralViewForFocalPerson);
    auto* remove = new QPushButton(themeIcon(QStringLiteral("list-remove")), text("PrefsDeleteView"), page);
    remove->setObjectName(QStringLiteral("deleteView"));
    connect(remove, &QPushButton::clicked, this, &PreferencesController::deleteView);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(create);
    buttons->addWidget(remove);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(intro);
    layout->addWidget(m_projectViewSearchField);
    layout->addWidget(m_foundViewsTable, 1);
    layout->addLayout(buttons);
    return page;
}

DOvurDocument* PreferencesController::document() const
{
    return m_document.data();
}

FamilyDiagramPane* PreferencesController::pcd() const
{
    return m_pcd.data();
}

QPushButton* PreferencesController::colourButton(const QString& key) const
{
    return m_colourButtons.value(key);
}

QCheckBox* PreferencesController::checkBox(const QString& key) const
{
    return m_checkBoxes.value(key);
}

// The controls show what is stored now.
void PreferencesController::reloadPages()
{
    const UserDefaults& d = UserDefaults::standard();
    m_nameOptions->setCurrentIndex(int(DiagramPreferences::nameOption()));
    m_croppingMode->setCurrentIndex(CroppingModes::currentMode());
    m_fontName->setText(fontDescription(d.fontForKey(QStringLiteral("cdFont"))));
    m_bgColourButton->setIcon(ColourButtons::swatch(d.colorForKey(QStringLiteral("cdBgColour"))));
    for (auto it = m_colourButtons.cbegin(); it != m_colourButtons.cend(); ++it)
        it.value()->setIcon(ColourButtons::swatch(d.colorForKey(it.key())));
    for (auto it = m_checkBoxes.cbegin(); it != m_checkBoxes.cend(); ++it)
        it.value()->setChecked(d.boolForKey(it.key()));
}

void PreferencesController::recolour()
{
    applyPanelColour(this);
}

bool PreferencesController::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        recolour();
    // Escape that no field of the window took (an open list closes itself first) closes the window.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
        && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        close();
        return true;
    }
    return QWidget::event(event);
}

// ---- The diagram ----------------------------------------------------------------------------------------------

void PreferencesController::selectNameOption(int option)
{
    PaneDiagram diagram(m_pcd);
    DiagramPreferences::setNameOption(option, moc(), &diagram);
}

void PreferencesController::nameOptionChanged()
{
    m_nameOptions->setCurrentIndex(DiagramPreferences::nameOption());
    PaneDiagram diagram(m_pcd);
    DiagramPreferences::nameOptionChanged(moc(), &diagram);
}

void PreferencesController::selectFont()
{
    auto* dialog = new QFontDialog(UserDefaults::standard().fontForKey(QStringLiteral("cdFont")), this);
    dialog->setObjectName(QStringLiteral("fontDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFontDialog::fontSelected, this, [this](const QFont& font) {
        if (m_pcd)
            m_pcd->setCdFont(font);
        reloadPages();
    });
    dialog->open();
}

void PreferencesController::selectBgColour()
{
    selectColour(QStringLiteral("cdBgColour"));
}

void PreferencesController::selectColour(const QString& key)
{
    ColourButtons::chooseColour(this, key, [this, key](const QColor& colour) { setColour(key, colour); });
}

void PreferencesController::setColour(const QString& key, const QColor& colour)
{
    if (!colour.isValid())
        return;
    if (key == QLatin1String("cdBgColour") && m_pcd) {
        m_pcd->setCdBgColour(colour);
    } else {
        UserDefaults::standard().setColor(key, colour);
        if (m_pcd) {
            m_pcd->setRefreshArray(true);
            m_pcd->update();
        }
    }
    if (key == QLatin1String("mainWindowBgColour"))
        for (DOvurDocument* document : DocumentController::shared().documents())
            document->setBgColour(document->dovurWindow() && document->dovurWindow()->isActiveWindow());
    recolour();
    reloadPages();
}

void PreferencesController::setColours()
{
    if (diagramColoursHandler() && m_pcd)
        diagramColoursHandler()(*m_pcd, this);
    recolour();
    reloadPages();
}

void PreferencesController::setDefaults()
{
    PaneDiagram diagram(m_pcd);
    DiagramPreferences::setDefaults(&diagram);
    // The tables and the editor take the restored text size.
    NotificationCenter::defaultCenter().post(QStringLiteral("FontSizeChanged"), nullptr, nullptr,
                                             {{QStringLiteral("fontSize"), 11.0}});
    for (DOvurDocument* document : DocumentController::shared().documents())
        document->setBgColour(document->dovurWindow() && document->dovurWindow()->isActiveWindow());
    recolour();
    reloadPages();
}

void PreferencesController::refreshScreen()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
}

void PreferencesController::helpForAlwaysDisplayChildOrFamilyDialog()
{
    auto* box = new QMessageBox(this);
    box->setObjectName(QStringLiteral("helpForAlwaysDisplayChildOrFamilyDialog"));
    box->setWindowTitle(LocalizedHelpString(QStringLiteral("helpForAlwaysDisplayChildOrFamilyDialogTitle")));
    box->setText(LocalizedHelpString(QStringLiteral("helpForAlwaysDisplayChildOrFamilyDialogMsg")));
    box->setInformativeText(LocalizedHelpString(QStringLiteral("helpForAlwaysDisplayChildOrFamilyDialogInfo")));
    box->setIcon(QMessageBox::Information);
    box->addButton(text("Close"), QMessageBox::AcceptRole);
    applyPanelColour(box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// ---- Ancestral views ------------------------------------------------------------------------------------------

void PreferencesController::createAncestralViewForFocalPerson()
{
    m_projectViewSearchField->clear();
    m_list.createAncestralViewForFocalPerson();
}

void PreferencesController::deleteView()
{
    m_list.deleteView();
}

void PreferencesController::reloadViews()
{
    m_reloading = true;
    m_viewsModel->reload();
    if (m_list.selectedRow() >= 0) {
        m_foundViewsTable->selectRow(m_list.selectedRow());
        m_foundViewsTable->scrollTo(m_viewsModel->index(m_list.selectedRow(), 0));
    } else {
        m_foundViewsTable->clearSelection();
    }
    if (m_projectViewSearchField->text() != m_list.searchText())
        m_projectViewSearchField->setText(m_list.searchText());
    m_reloading = false;
}

void PreferencesController::viewsSelectionChanged()
{
    if (m_reloading)
        return;
    const QModelIndexList rows = m_foundViewsTable->selectionModel()->selectedRows();
    m_list.selectRow(rows.isEmpty() ? -1 : rows.first().row());
}
