#include "reports/ui/ApplicationsComboBox.h"

#include "platform/Workspace.h"

#include <QComboBox>

void fillApplicationsComboBox(
    QComboBox* box, const QString& defaultLabel, const QStringList& ids, const QString& chosen)
{
    box->clear();
    box->addItem(defaultLabel, QString());
    for (const QString& id : ids) {
        const auto app = Workspace::shared().application(id);
        box->addItem(app && !app->name.isEmpty() ? app->name : id, id);
    }
    if (box->findData(chosen) < 0)
        box->addItem(chosen, chosen);
    box->setCurrentIndex(box->findData(chosen));
}
