#include "gedcom/ui/ExportPersonPlusGenerationsController.h"

#include "gedcom/ExportPersonPlusGenerations.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/ui/ExportToGedcomController.h"

#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

ExportPersonPlusGenerationsController::ExportPersonPlusGenerationsController(
    std::unique_ptr<ExportPersonPlusGenerations> subset, bool ancestors, const QString& objectName,
    const QString& titleKey, const QString& infoKey, QWidget* parent)
    : QDialog(parent)
    , m_subset(std::move(subset))
    , m_ancestors(ancestors)
{
    setObjectName(objectName);
    setWindowTitle(LocalizedString(titleKey));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setAutoFillBackground(true);
    resize(560, 480);

    FTPerson* focal = m_subset->focalPerson();
    auto* intro = new QLabel(LocalizedString(infoKey).arg(focal ? focal->nameWithBirthAndDeathYears() : QString()));
    intro->setWordWrap(true);

    m_olv = new QTreeWidget;
    m_olv->setObjectName(QStringLiteral("olv"));
    m_olv->setColumnCount(2);
    m_olv->setHeaderLabels({ LocalizedString(QStringLiteral("ExportGenerationsName")),
        LocalizedString(QStringLiteral("ExportGenerationsLevel")) });
    m_olv->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_olv->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_olv->header()->setStretchLastSection(false);
    m_olv->setSelectionMode(QAbstractItemView::NoSelection);
    m_olv->setUniformRowHeights(true);
    QFont font = m_olv->font();
    font.setPointSize(11);
    m_olv->setFont(font);

    m_generations = new QSpinBox;
    m_generations->setObjectName(QStringLiteral("numGenerations"));
    m_generations->setRange(1, ExportPersonPlusGenerations::kDefaultGenerations);
    m_generations->setValue(m_subset->numGenerations());
    m_generations->setKeyboardTracking(false);
    m_generations->setMaximumWidth(90);
    connect(m_generations, &QSpinBox::valueChanged, this, [this](int generations) { setNumGenerations(generations); });
    m_count = new QLabel;
    m_count->setObjectName(
        ancestors ? QStringLiteral("numAncestorsTextField") : QStringLiteral("numDescendantsTextField"));

    auto* form = new QFormLayout;
    form->addRow(LocalizedString(QStringLiteral("ExportGenerationsLimit")), m_generations);
    form->addRow(LocalizedString(QStringLiteral("ExportGenerationsCount")), m_count);

    m_closeButton = new QPushButton(LocalizedString(QStringLiteral("Close")));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAutoDefault(false);
    m_generateButton = new QPushButton(LocalizedString(QStringLiteral("Generate")));
    m_generateButton->setObjectName(QStringLiteral("generateButton"));
    m_generateButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { closeSheet(); });
    connect(m_generateButton, &QPushButton::clicked, this, [this] { generateToGedcom(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_generateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_olv, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    createHierarchy();
}

ExportPersonPlusGenerationsController::~ExportPersonPlusGenerationsController()
{
    // The rows point into the tree: they go first.
    m_olv->clear();
}

int ExportPersonPlusGenerationsController::numGenerations() const
{
    return m_subset->numGenerations();
}

void ExportPersonPlusGenerationsController::setNumGenerations(int generations)
{
    if (generations == m_subset->numGenerations())
        return;
    m_subset->setNumGenerations(generations);
    if (m_generations->value() != generations)
        m_generations->setValue(generations);
    createHierarchy();
}

void ExportPersonPlusGenerationsController::createHierarchy()
{
    m_count->clear();
    m_olv->clear();
    m_hierarchy.reset();
    FTPerson* focal = m_subset->focalPerson();
    if (!focal)
        return;
    m_hierarchy = std::make_unique<Hierarchy>(focal, nullptr, m_ancestors, ExportPersonPlusGenerations::kPcRelTypeMask);
    const int rows = addRows(m_hierarchy.get());
    m_olv->expandAll();
    m_count->setText(QString::number(rows));
}

// The tree down to the limit, generation by generation: the nodes at the limit are leaves. A person reached
// along several lines (cousins who married) is shown on each, but only the first row, at the nearest generation,
// is expanded: the others are shown in italics as repeats. So the outline grows with the links, not with the
// number of lines through them, which in an inbred pedigree is beyond counting. Answers the number of rows.
int ExportPersonPlusGenerationsController::addRows(Hierarchy* root)
{
    struct Pending {
        Hierarchy* node;
        QTreeWidgetItem* parentItem;
    };
    QSet<const FTPerson*> expanded;
    QList<Pending> queue { { root, nullptr } };
    const QString repeatTip = LocalizedString(QStringLiteral("ExportGenerationsRepeated"));
    int rows = 0;
    for (qsizetype next = 0; next < queue.size(); ++next) {
        const Pending pending = queue[next];
        Hierarchy* node = pending.node;
        FTPerson* person = node->person();
        auto* item = pending.parentItem ? new QTreeWidgetItem(pending.parentItem) : new QTreeWidgetItem(m_olv);
        item->setText(0, person ? person->nameWithBirthAndDeathYears() : QString());
        item->setText(1, QString::number(node->level()));
        ++rows;
        if (node->level() >= m_subset->numGenerations())
            continue;
        if (person && expanded.contains(person)) {
            if (node->numberInNextGen() > 0) {
                QFont italic = item->font(0);
                italic.setItalic(true);
                item->setFont(0, italic);
                item->setToolTip(0, repeatTip);
            }
            continue;
        }
        expanded.insert(person);
        for (Hierarchy* child : node->nextGenArray())
            queue.append({ child, item });
    }
    return rows;
}

void ExportPersonPlusGenerationsController::generateToGedcom()
{
    if (m_generated)
        return;
    std::unique_ptr<ExportToGedcom> exporter = m_subset->generateToGedcom();
    if (!exporter)
        return;
    m_generated = true;
    m_generateButton->hide();
    ExportToGedcomController::beginSheet(new ExportToGedcomController(std::move(exporter)), this);
}

void ExportPersonPlusGenerationsController::closeSheet()
{
    hide();
    done(0);
}

void ExportPersonPlusGenerationsController::reject()
{
    closeSheet();
}
