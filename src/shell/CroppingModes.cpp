#include "shell/CroppingModes.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <iterator>

namespace {

const QString kKey = QStringLiteral("croppingMode");

}

QStringList CroppingModes::titles()
{
    static const char* const keys[] = {"AsCropped", "Portrait6x4", "Portrait4x3", "Landscape6x4", "Landscape4x3",
                                       "Square"};
    static_assert(std::size(keys) == Count);
    QStringList out;
    for (const char* key : keys)
        out << LocalizedString(QString::fromLatin1(key));
    return out;
}

CroppingModes::Mode CroppingModes::modeOfTitle(const QString& title)
{
    const qsizetype index = titles().indexOf(title);
    return index < 0 ? AsCropped : Mode(index);
}

CroppingModes::Mode CroppingModes::currentMode()
{
    return modeOfTitle(UserDefaults::standard().stringForKey(kKey));
}

void CroppingModes::setCurrentMode(Mode mode)
{
    if (mode < 0 || mode >= Count)
        return;
    UserDefaults::standard().setString(kKey, titles()[mode]);
}
