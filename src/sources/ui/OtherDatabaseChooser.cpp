#include "sources/ui/OtherDatabaseChooser.h"

#include "sources/OtherSourceDatabase.h"
#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

OtherDatabaseChooser::OtherDatabaseChooser(FTMoc* openMoc, QWidget* parent, const char* promptKey)
    : QWidget(parent)
    , m_openMoc(openMoc)
    , m_directory(Utils::KinloomDataDirectory())
    , m_prompt(L(promptKey))
    , m_chosenName(m_prompt)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(L("OtherDatabaseLabel")));
    m_comboBox = new QComboBox;
    m_comboBox->setObjectName(QStringLiteral("comboBox"));
    m_comboBox->setMinimumContentsLength(28);
    m_comboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_comboBox, &QComboBox::activated, this, [this](int index) {
        if (!m_loading)
            setSourceFilename(m_comboBox->itemText(index));
    });
    row->addWidget(m_comboBox, 1);
    m_browseButton = SourcesWindowHelpers::makeButton(
        QStringLiteral("browse"), L("BrowseButton"), [this] { browse(); }, QStringLiteral("document-open"));
    row->addWidget(m_browseButton);
    loadModelNames();
    setPromptColour(true);
}

OtherDatabaseChooser::~OtherDatabaseChooser()
{
    // The window that listens has gone already: no signal now.
    m_otherMoc.reset();
}

void OtherDatabaseChooser::setPromptColour(bool prompt)
{
    QPalette palette = m_comboBox->palette();
    palette.setColor(QPalette::ButtonText, prompt ? QColor(Qt::red) : QColor(Qt::black));
    palette.setColor(QPalette::Text, prompt ? QColor(Qt::red) : QColor(Qt::black));
    m_comboBox->setPalette(palette);
}

void OtherDatabaseChooser::loadModelNames()
{
    m_modelNames = OtherSourceDatabase::candidates(m_directory, m_openMoc, m_offersOlderDatabases);
    m_loading = true;
    m_comboBox->clear();
    m_comboBox->addItem(m_prompt);
    m_comboBox->addItems(m_modelNames);
    m_comboBox->setCurrentIndex(std::max(0, m_comboBox->findText(m_chosenName)));
    m_loading = false;
}

void OtherDatabaseChooser::setOffersOlderDatabases(bool offers)
{
    m_offersOlderDatabases = offers;
    loadModelNames();
}

void OtherDatabaseChooser::setSourceFilename(const QString& name)
{
    if (name.isEmpty() || name == m_prompt)
        return;
    const QString path = m_directory + QLatin1Char('/') + name;
    auto showChoice = [this] {
        m_loading = true;
        int index = m_comboBox->findText(m_chosenName);
        if (index < 0) {
            m_comboBox->addItem(m_chosenName);
            index = m_comboBox->count() - 1;
        }
        m_comboBox->setCurrentIndex(index);
        m_loading = false;
    };
    if (OtherSourceDatabase::isFileOf(path, m_openMoc)) {
        DisplayMsg(L("SameDbSelected"));
        showChoice();
        return;
    }
    if (m_offersOlderDatabases && OtherSourceDatabase::holdsOlderModel(path)) {
        DisplayMsg(QStringLiteral("%1 %2 %3").arg(L("File"), name, L("BecauseOldModel")));
        showChoice();
        return;
    }
    m_chosenName = name;
    showChoice();
    setPromptColour(false);
    // Chosen again: it is open already, and reading it again would show the same.
    if (m_otherMoc && OtherSourceDatabase::isFileOf(path, m_otherMoc.get()))
        return;
    closeDatabase();
    // A large database takes a while to read.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_otherMoc = OtherSourceDatabase::open(path, m_openMoc);
    QGuiApplication::restoreOverrideCursor();
    Q_EMIT databaseChanged(m_otherMoc.get());
}

void OtherDatabaseChooser::browse()
{
    auto* panel = new QFileDialog(window(), L("OpenDbTitle"), m_directory, QStringLiteral("Kinloom (*.RezUdu)"));
    panel->setObjectName(QStringLiteral("browsePanel"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    SourcesWindowHelpers::usePanelColour(panel);
    connect(panel, &QFileDialog::fileSelected, this, [this](const QString& path) { browseDidEnd(path); });
    panel->open();
}

void OtherDatabaseChooser::browseDidEnd(const QString& path)
{
    if (path.isEmpty() || !OtherSourceDatabase::checkChosenFile(path))
        return;
    const QFileInfo file(path);
    m_directory = file.absolutePath();
    loadModelNames();
    setSourceFilename(file.fileName());
}

void OtherDatabaseChooser::closeDatabase()
{
    if (!m_otherMoc)
        return;
    Q_EMIT databaseChanged(nullptr);
    m_otherMoc.reset();
}
