#pragma once

#include <QProxyStyle>

// The program's style over the desktop's: dialog buttons (OK, Cancel, Close) carry no pictures, since the icon
// themes of Linux desktops have none for them and Qt's stand-ins belong to no desktop.
class DesktopStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
