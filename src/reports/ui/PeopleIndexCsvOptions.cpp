#include "reports/ui/PeopleIndexCsvOptions.h"

#include "reports/ui/PanelSheet.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PeopleIndexCsvOptions::PeopleIndexCsvOptions(QWidget* parent)
    : QDialog(parent)
{
    setUpPanelSheet(this, LocalizedString(QStringLiteral("IndexCsvOptionsTitle")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(LocalizedString(QStringLiteral("IndexCsvOptionsText")), this));
    auto* grid = new QGridLayout;
    // Two columns of switches, in the file's column order down each.
    const int perColumn = (PeopleIndexCsv::ColumnCount + 1) / 2;
    for (int c = 0; c < PeopleIndexCsv::ColumnCount; ++c) {
        const auto column = PeopleIndexCsv::Column(c);
        const QString key = PeopleIndexCsv::defaultsKey(column);
        auto* box = new QCheckBox(PeopleIndexCsv::columnLabel(column), this);
        box->setChecked(UserDefaults::standard().boolForKey(key));
        connect(box, &QCheckBox::toggled, this, [key](bool on) { UserDefaults::standard().setBool(key, on); });
        m_boxes[c] = box;
        grid->addWidget(box, c % perColumn, c / perColumn);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Help);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_generate = buttons->addButton(LocalizedString(QStringLiteral("IndexCsvGenerate")), QDialogButtonBox::AcceptRole);
    m_generate->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
        [] { Prompts::current().message(LocalizedString(QStringLiteral("HelpForIndexCsv"))); });
    layout->addWidget(buttons);
    setMinimumWidth(440);
}
