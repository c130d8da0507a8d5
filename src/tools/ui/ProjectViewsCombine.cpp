#include "tools/ui/ProjectViewsCombine.h"

#include "tools/RtfText.h"
#include "tools/ui/VennDiagram.h"

#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/DisplayMsg.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kFontSize = 11;

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

ProjectViewsCombine::ProjectViewsCombine(FTMoc* moc, QWidget* parent)
    : QDialog(parent)
    , m_moc(moc)
    , m_combining(moc)
{
    setObjectName(QStringLiteral("ProjectViewsCombine"));
    setWindowTitle(L("CombineViewsTitle"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* choices = new QVBoxLayout;
    auto* form = new QFormLayout;
    m_pv1 = new QComboBox;
    m_pv1->setObjectName(QStringLiteral("pv1ComboBox"));
    m_pv2 = new QComboBox;
    m_pv2->setObjectName(QStringLiteral("pv2ComboBox"));
    for (QComboBox* box : {m_pv1, m_pv2}) {
        box->setMinimumContentsLength(24);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { createPeopleArray(); });
    }
    form->addRow(L("FirstViewLabel"), m_pv1);
    form->addRow(L("SecondViewLabel"), m_pv2);
    choices->addLayout(form);

    auto* radios = new QHBoxLayout;
    m_operators = new QButtonGroup(this);
    for (int op = ProjectViewsCombining::AND; op <= ProjectViewsCombining::NOT; ++op) {
        auto* radio = new QRadioButton(ProjectViewsCombining::operatorWord(op));
        radio->setObjectName(ProjectViewsCombining::operatorWord(op));
        m_operators->addButton(radio, op);
        radios->addWidget(radio);
    }
    radios->addStretch();
    m_operators->button(ProjectViewsCombining::AND)->setChecked(true);
    connect(m_operators, &QButtonGroup::idClicked, this, [this](int op) { changeBooleanOperator(op); });
    choices->addLayout(radios);
    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 2);
    choices->addWidget(m_message);
    choices->addStretch();
    top->addLayout(choices, 3);
    m_venn = new VennDiagram;
    top->addWidget(m_venn, 2);
    layout->addLayout(top);

    layout->addWidget(new QLabel(L("CombinedPeopleHeader")));
    m_people = new QListWidget;
    m_people->setObjectName(QStringLiteral("peopleTableView"));
    m_people->setAlternatingRowColors(true);
    QFont font = m_people->font();
    font.setPointSize(kFontSize);
    m_people->setFont(font);
    layout->addWidget(m_people, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SourcesWindowHelpers::makeHelpButton(
        QStringLiteral("helpForProjectViewsCombine"), [this] { helpForProjectViewsCombine(); }));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("createCombinedProjectView"),
        L("CreateCombinedViewButton"), [this] { createCombinedProjectView(); }, QStringLiteral("list-add")));
    buttons->addWidget(SourcesWindowHelpers::makeButton(QStringLiteral("deleteNewProjectView"),
        L("DeleteCombinedViewButton"), [this] { deleteNewProjectView(); }, QStringLiteral("list-remove")));
    buttons->addStretch();
    buttons->addWidget(SourcesWindowHelpers::makeCloseButton([this] { close(); }));
    layout->addLayout(buttons);

    SourcesWindowHelpers::usePanelColour(this);
    resize(640, 540);
    fillViews();
    changeBooleanOperator(ProjectViewsCombining::AND);
}

void ProjectViewsCombine::fillViews()
{
    FTProjectView* first = m_combining.projectView1();
    FTProjectView* second = m_combining.projectView2();
    m_views = m_combining.allViews();
    for (QComboBox* box : {m_pv1, m_pv2}) {
        const QSignalBlocker block(box);
        box->clear();
        for (const FTProjectView* view : std::as_const(m_views))
            box->addItem(view->name());
    }
    // Nothing is chosen until the user chooses.
    const QSignalBlocker block1(m_pv1);
    const QSignalBlocker block2(m_pv2);
    m_pv1->setCurrentIndex(int(m_views.indexOf(first)));
    m_pv2->setCurrentIndex(int(m_views.indexOf(second)));
}

void ProjectViewsCombine::changeBooleanOperator(int op)
{
    if (QAbstractButton* radio = m_operators->button(op))
        radio->setChecked(true);
    m_combining.setOperator(op);
    m_message->setText(m_combining.message());
    m_venn->setBooleanOperator(op);
    createPeopleArray();
}

void ProjectViewsCombine::createPeopleArray()
{
    auto viewAt = [this](int index) { return index >= 0 && index < m_views.size() ? m_views[index] : nullptr; };
    m_combining.setViews(viewAt(m_pv1->currentIndex()), viewAt(m_pv2->currentIndex()));
    m_people->clear();
    QList<FTPerson*> people = m_combining.people();
    m_people->addItems(sortByNameWithYears(people));
}

void ProjectViewsCombine::createCombinedProjectView()
{
    if (m_combining.createCombinedProjectView())
        fillViews();
}

void ProjectViewsCombine::deleteNewProjectView()
{
    if (!m_combining.newProjectView())
        return;
    m_combining.deleteNewProjectView();
    fillViews();
    createPeopleArray();
}

void ProjectViewsCombine::helpForProjectViewsCombine()
{
    DisplayMsg(LocalizedHelpString(QStringLiteral("CombineProjectViewHelp")));
}

void ProjectViewsCombine::close()
{
    if (m_moc)
        m_moc->saveMoc();
    done(0);
}
