#include "gedcom/ui/ExportToGedcomController.h"

#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "gedcom/ui/LdsSubmissionDialog.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QString kRecentlyDeadYears = QStringLiteral("geRecentlyDeadYears");
const QString kDepersonalizeOption = QStringLiteral("geDepersonalizeOption");

// The option check boxes: user-default key and the key of their label.
struct OptionBox {
    const char* key;
    const char* label;
};
const OptionBox kOptionBoxes[] = {
    { "geIncludeLivingPeople", "ExportGedIncludeLiving" },
    { "geDepersonalizeLivingPeople", "ExportGedDepersonalizeLiving" },
    { "geIncludeRecentlyDead", "ExportGedIncludeRecentlyDead" },
    { "geDepersonalizeRecentlyDead", "ExportGedDepersonalizeRecentlyDead" },
    { "geIncludeCustomTags", "ExportGedIncludeCustomTags" },
    { "geIndentGedcomLines", "ExportGedIndentLines" },
};

QVariant optionValue(const QString& key)
{
    UserDefaults& d = UserDefaults::standard();
    return d.contains(key) ? d.objectForKey(key) : GedcomExportOptions::restoreValues().value(key);
}

QLineEdit* readOnlyField(const QString& objectName)
{
    auto* field = new QLineEdit;
    field->setObjectName(objectName);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

QPushButton* button(const QString& text, const QString& objectName)
{
    auto* b = new QPushButton(text);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}
}

std::unique_ptr<ExportToGedcom> ExportToGedcomController::wholeDatabase(FTMoc* moc)
{
    auto exporter = std::make_unique<ExportToGedcom>(moc);
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    exporter->setSelectiveExport(false);
    exporter->setSetOfPeopleToExport(QSet<FTPerson*>(people.begin(), people.end()));
    return exporter;
}

ExportToGedcomController::ExportToGedcomController(std::unique_ptr<ExportToGedcom> exporter, QWidget* parent)
    : QDialog(parent)
    , m_exporter(std::move(exporter))
{
    setObjectName(QStringLiteral("ExportToGedcom"));
    setWindowTitle(QStringLiteral("Export to Gedcom file"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    setMinimumWidth(560);

    m_model = readOnlyField(QStringLiteral("model"));
    m_model->setText(m_exporter->modelName());
    m_filename = readOnlyField(QStringLiteral("filename"));
    m_filename->setText(m_exporter->gedcomFilename());
    m_version = new QLabel(ExportToGedcom::gedcomVersion());
    m_version->setObjectName(QStringLiteral("gedcomVersion"));
    m_helpButton
        = button(LocalizedString(QStringLiteral("ExportGedFormatHelp")), QStringLiteral("helpForGedcomFormat"));
    connect(m_helpButton, &QPushButton::clicked, this, [this] { helpForGedcomFormat(); });

    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(m_version);
    versionRow->addStretch(1);
    versionRow->addWidget(m_helpButton);

    auto* form = new QFormLayout;
    form->addRow(LocalizedString(QStringLiteral("ExportGedDatabaseLabel")), m_model);
    form->addRow(LocalizedString(QStringLiteral("ExportGedFileLabel")), m_filename);
    form->addRow(LocalizedString(QStringLiteral("ExportGedFormatLabel")), versionRow);

    // The options: each control writes its user default as it changes.
    for (const OptionBox& option : kOptionBoxes) {
        auto* box = new QCheckBox(LocalizedString(QString::fromLatin1(option.label)));
        const QString key = QString::fromLatin1(option.key);
        box->setObjectName(key);
        connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
            if (!m_loading)
                UserDefaults::standard().setBool(key, on);
        });
        m_boxes << box;
    }
    m_recentlyDeadYears = new QSpinBox;
    m_recentlyDeadYears->setObjectName(kRecentlyDeadYears);
    m_recentlyDeadYears->setRange(0, 200);
    m_recentlyDeadYears->setSuffix(QStringLiteral(" ") + LocalizedString(QStringLiteral("ExportGedYears")));
    connect(m_recentlyDeadYears, &QSpinBox::valueChanged, this, [this](int years) {
        if (!m_loading)
            UserDefaults::standard().setInteger(kRecentlyDeadYears, years);
    });
    m_depersonalizeOption = new QComboBox;
    m_depersonalizeOption->setObjectName(kDepersonalizeOption);
    m_depersonalizeOption->addItems({ LocalizedString(QStringLiteral("ExportGedKeepSex")),
        LocalizedString(QStringLiteral("ExportGedKeepSexAndFirstName")),
        LocalizedString(QStringLiteral("ExportGedKeepSexFirstNameAndBirthYear")) });
    connect(m_depersonalizeOption, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            UserDefaults::standard().setInteger(kDepersonalizeOption, index);
    });

    auto* privacy = new QGroupBox(LocalizedString(QStringLiteral("ExportGedPrivacy")));
    auto* grid = new QGridLayout(privacy);
    grid->addWidget(m_boxes[0], 0, 0);
    grid->addWidget(m_boxes[1], 0, 1);
    auto* recentRow = new QHBoxLayout;
    recentRow->addWidget(m_boxes[2]);
    recentRow->addWidget(m_recentlyDeadYears);
    grid->addLayout(recentRow, 1, 0);
    grid->setColumnStretch(2, 1);
    grid->addWidget(m_boxes[3], 1, 1);
    auto* depersonalizeRow = new QHBoxLayout;
    depersonalizeRow->addWidget(new QLabel(LocalizedString(QStringLiteral("ExportGedDepersonalizeLabel"))));
    depersonalizeRow->addWidget(m_depersonalizeOption);
    depersonalizeRow->addStretch(1);
    grid->addLayout(depersonalizeRow, 2, 0, 1, 2);

    auto* format = new QGroupBox(LocalizedString(QStringLiteral("ExportGedContents")));
    auto* formatRow = new QHBoxLayout(format);
    formatRow->addWidget(m_boxes[4]);
    formatRow->addWidget(m_boxes[5]);
    formatRow->addStretch(1);

    m_submissionButton
        = button(LocalizedString(QStringLiteral("ExportGedSubmission")), QStringLiteral("editLdsSubmissionRecord"));
    m_restoreButton = button(LocalizedString(QStringLiteral("Restore")), QStringLiteral("setDefaults"));
    connect(m_submissionButton, &QPushButton::clicked, this, [this] { editLdsSubmissionRecord(); });
    connect(m_restoreButton, &QPushButton::clicked, this, [this] { setDefaults(); });
    auto* optionButtons = new QHBoxLayout;
    optionButtons->addWidget(m_submissionButton);
    optionButtons->addStretch(1);
    optionButtons->addWidget(m_restoreButton);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_message = new QLabel(QStringLiteral(" "));
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_showMeButton = button(LocalizedString(QStringLiteral("ShowMe")), QStringLiteral("showMeButton"));
    m_generateButton = button(LocalizedString(QStringLiteral("Generate")), QStringLiteral("generateButton"));
    m_generateButton->setDefault(true);
    m_exitButton = button(LocalizedString(QStringLiteral("Exit")), QStringLiteral("exitButton"));
    connect(m_showMeButton, &QPushButton::clicked, this, [this] { showMe(); });
    connect(m_generateButton, &QPushButton::clicked, this, [this] { generateGedcomFile(); });
    connect(m_exitButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showMeButton);
    buttons->addStretch(1);
    buttons->addWidget(m_exitButton);
    buttons->addWidget(m_generateButton);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(form);
    layout->addWidget(privacy);
    layout->addWidget(format);
    layout->addLayout(optionButtons);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addLayout(buttons);

    m_showMeButton->setEnabled(false);
    m_generateButton->setEnabled(true);

    m_exporter->progressChanged = [this](int percent) {
        m_progress->setValue(qBound(0, percent, 100));
        m_progress->repaint();
    };
    m_exporter->messageChanged = [this](const QString& text) {
        m_message->setText(text);
        m_message->repaint();
    };
    loadOptions();
}

ExportToGedcomController::~ExportToGedcomController()
{
    m_exporter->progressChanged = nullptr;
    m_exporter->messageChanged = nullptr;
}

QString ExportToGedcomController::gedcomFilename() const
{
    return m_exporter->gedcomFilename();
}

QCheckBox* ExportToGedcomController::optionBox(const QString& key) const
{
    for (QCheckBox* box : m_boxes)
        if (box->objectName() == key)
            return box;
    return nullptr;
}

void ExportToGedcomController::loadOptions()
{
    m_loading = true;
    for (QCheckBox* box : std::as_const(m_boxes))
        box->setChecked(optionValue(box->objectName()).toBool());
    m_recentlyDeadYears->setValue(optionValue(kRecentlyDeadYears).toInt());
    m_depersonalizeOption->setCurrentIndex(qBound(0, optionValue(kDepersonalizeOption).toInt(), 2));
    m_loading = false;
}

bool ExportToGedcomController::generateGedcomFile()
{
    // A number being typed counts.
    m_recentlyDeadYears->interpretText();
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    if (m_running || ExportToGedcom::exportIsActive())
        return false;
    m_running = true;
    m_generateButton->setEnabled(false);
    m_exitButton->setEnabled(false);
    m_showMeButton->setEnabled(false);
    m_progress->setValue(0);
    const bool written = m_exporter->generateGedcomFile();
    m_running = false;
    // Finished or failed, this window writes no second file: Exit stays, Generate does not come back.
    m_exitButton->setEnabled(true);
    m_exitButton->setDefault(true);
    if (written) {
        m_filename->setText(m_exporter->gedcomFilename());
        m_showMeButton->setEnabled(true);
    } else {
        m_message->setText(LocalizedString(QStringLiteral("ExportGedNotWritten")));
    }
    return written;
}

void ExportToGedcomController::setDefaults()
{
    GedcomExportOptions::restoreUserDefaults();
    loadOptions();
}

void ExportToGedcomController::showMe()
{
    Utils::displayFile(m_exporter->gedcomFilename(), QString());
}

void ExportToGedcomController::helpForGedcomFormat()
{
    Prompts::current().message(QStringLiteral("Gedcom Format"), ExportToGedcom::gedcomFormatHelpText());
}

void ExportToGedcomController::editLdsSubmissionRecord()
{
    LdsSubmissionDialog dialog(this);
    dialog.exec();
}

void ExportToGedcomController::closeSheet()
{
    if (m_running)
        return;
    hide();
    done(0);
}

void ExportToGedcomController::reject()
{
    closeSheet();
}

void ExportToGedcomController::beginSheet(QDialog* sheet, QWidget* window)
{
    if (!sheet)
        return;
    if (window)
        sheet->setParent(window, sheet->windowFlags() | Qt::Sheet);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}
