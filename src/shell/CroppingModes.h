#pragma once

#include <QString>
#include <QStringList>

// The shapes the picture editor's crop box can keep. The user default "croppingMode" holds the localized title of
// one: "As Cropped" (any shape; the first-run value) or one of the fixed shapes. The preferences window offers the
// titles in this order and the crop view takes its height / width ratio from the mode.
//
//   popup->addItems(CroppingModes::titles());
//   popup->setCurrentIndex(CroppingModes::currentMode());
//   CroppingModes::setCurrentMode(CroppingModes::Mode(popup->currentIndex()));
class CroppingModes {
public:
    enum Mode { AsCropped, Portrait6x4, Portrait4x3, Landscape6x4, Landscape4x3, Square, Count };

    // The localized titles, by mode.
    static QStringList titles();
    // The mode a title names; AsCropped for a text that names none.
    static Mode modeOfTitle(const QString& title);
    // The mode of the stored title. A stored text that names no mode reads as AsCropped and stays as it is until
    // a mode is chosen.
    static Mode currentMode();
    // Stores the mode's title; nothing for a value that is no mode.
    static void setCurrentMode(Mode mode);
};
