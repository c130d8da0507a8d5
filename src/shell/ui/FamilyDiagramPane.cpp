#include "shell/ui/FamilyDiagramPane.h"

#include "platform/UserDefaults.h"

#include <QColor>
#include <QFont>

#include <algorithm>

FamilyDiagramPane::FamilyDiagramPane(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pcd"));
    setMinimumHeight(200);
}

void FamilyDiagramPane::setCdFont(const QFont& font)
{
    QFont kept = font;
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : 11.0;
    kept.setPointSizeF(std::clamp(size, 6.0, 16.0));
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setFont(QStringLiteral("cdFont"), kept);
    defaults.setDouble(QStringLiteral("fontSize"), kept.pointSizeF());
    setRefreshArray(true);
    update();
}

void FamilyDiagramPane::setCdBgColour(const QColor& colour)
{
    UserDefaults::standard().setColor(QStringLiteral("cdBgColour"), colour);
    update();
}
