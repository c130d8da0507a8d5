#include "shell/ui/FamilyDiagramPane.h"

FamilyDiagramPane::FamilyDiagramPane(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pcd"));
    setMinimumHeight(200);
}

