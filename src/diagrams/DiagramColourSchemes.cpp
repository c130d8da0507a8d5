#include "diagrams/DiagramColourSchemes.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

namespace {
struct SchemeValues {
    QColor cdBg, selectedPerson, spouse, otherPerson, ancestralView, panelsBg;
    double cdColourGradient, cdPersonColourGradient, cdShadowSize;
    QColor mainWindowBg;
};

SchemeValues valuesOf(DiagramColourSchemes::Scheme scheme, const QColor& controlColour)
{
    switch (scheme) {
    case DiagramColourSchemes::Classic:
        return {Qt::white,           QColor(255, 220, 220), QColor(255, 255, 230), QColor(242, 255, 255),
                QColor(235, 255, 227), controlColour.isValid() ? controlColour : QColor(239, 239, 239),
                0.2,                 0.15,                  5,                     QColor(185, 185, 185)};
    case DiagramColourSchemes::Demo:
        return {QColor(255, 255, 185), QColor(255, 189, 189), QColor(255, 255, 185), QColor(184, 255, 255),
                QColor(205, 255, 182), QColor(187, 211, 185), 0.5,                   0.35,
                15,                    QColor(203, 202, 145)};
    case DiagramColourSchemes::Defaults:
        break;
    }
    return {QColor(191, 250, 237), QColor(255, 220, 220), QColor(255, 255, 230), QColor(242, 255, 255),
            QColor(235, 255, 227), QColor(204, 226, 213), 0.4,                   0.25,
            5,                     QColor(184, 202, 190)};
}
}

QStringList DiagramColourSchemes::colourKeys()
{
    return {QStringLiteral("cdBgColour"),          QStringLiteral("selectedPersonColour"),
            QStringLiteral("spouseColour"),        QStringLiteral("otherPersonColour"),
            QStringLiteral("ancestralViewColour"), QStringLiteral("panelsBgColour"),
            QStringLiteral("mainWindowBgColour")};
}

void DiagramColourSchemes::apply(Scheme scheme, const QColor& controlColour)
{
    const SchemeValues v = valuesOf(scheme, controlColour);
    UserDefaults& d = UserDefaults::standard();
    d.setColor(QStringLiteral("cdBgColour"), v.cdBg);
    d.setColor(QStringLiteral("selectedPersonColour"), v.selectedPerson);
    d.setColor(QStringLiteral("spouseColour"), v.spouse);
    d.setColor(QStringLiteral("otherPersonColour"), v.otherPerson);
    d.setColor(QStringLiteral("ancestralViewColour"), v.ancestralView);
    d.setColor(QStringLiteral("panelsBgColour"), v.panelsBg);
    d.setDouble(QStringLiteral("cdColourGradient"), v.cdColourGradient);
    d.setDouble(QStringLiteral("cdPersonColourGradient"), v.cdPersonColourGradient);
    d.setBool(QStringLiteral("showShadows"), true);
    d.setDouble(QStringLiteral("cdShadowSize"), v.cdShadowSize);
    if (scheme == Classic) {
        d.setColor(QStringLiteral("hdBgColour"), Qt::white);
        d.setColor(QStringLiteral("hdFrameColour"), QColor(185, 185, 185));
        d.setDouble(QStringLiteral("hdColourGradient"), 0);
    }
    // Written before the views redraw, so that the main windows take it up with the rest.
    d.setColor(QStringLiteral("mainWindowBgColour"), v.mainWindowBg);
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
}
