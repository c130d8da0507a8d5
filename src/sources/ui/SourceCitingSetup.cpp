#include "sources/ui/SourceCitingSetup.h"

#include "sources/SelectASourceDelegate.h"
#include "sources/ui/ActiveSourceSelect.h"
#include "sources/ui/InfoArea_Sources.h"
#include "sources/ui/QtCitationDialogs.h"
#include "sources/ui/SelectASourceButton.h"
#include "sources/ui/SourcesMenuActions.h"

#include "editor/ui/EditorHooks.h"

#include "shell/ui/ToolbarController.h"

#include "model/FTMoc.h"

#include "platform/Localizer.h"

namespace {
// The toolbar as the owner of its source menu: the chosen source becomes the active source.
class ToolbarSourceDelegate : public SelectASourceDelegate {
public:
    explicit ToolbarSourceDelegate(ToolbarController& toolbar)
        : m_toolbar(toolbar)
    {
    }
    bool isToolbar() const override { return true; }
    void setActiveSource(FTSource* source) override
    {
        // A page reference typed for the former active source does not belong to the new one.
        if (FTMoc* moc = m_toolbar.moc(); moc && moc->activeSource() != source)
            moc->setActiveSourcePageRef(QString());
        m_toolbar.setActiveSource(source);
    }

private:
    ToolbarController& m_toolbar;
};
}

void installSourceCiting()
{
    CitationDialogs::install(&QtCitationDialogs::shared());
    EditorHooks::shared().citationsPage = [](InfoAreaController&) { return new InfoArea_Sources; };
    EditorHooks::shared().sourcesEditor = [](QWidget* window) {
        Q_UNUSED(window);
        SourcesMenuActions::sourcesAddModDel();
    };
    ToolbarController::setSelectASourceButtonFactory([](ToolbarController& toolbar) -> QWidget* {
        auto* button = new SelectASourceButton;
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
        button->setToolTip(LocalizedString(QStringLiteral("ChooseActiveSourceTip")));
        button->setMoc(toolbar.moc());
        button->setDelegate(std::make_unique<ToolbarSourceDelegate>(toolbar));
        return button;
    });
    ToolbarController::setItemHandler(
        ToolbarController::kActiveSource, [](DOvurDocument& document) { ActiveSourceSelect::selectActiveSource(&document); });
}

void removeSourceCiting()
{
    if (CitationDialogs::current() == &QtCitationDialogs::shared())
        CitationDialogs::install(nullptr);
    EditorHooks::shared().citationsPage = nullptr;
    EditorHooks::shared().sourcesEditor = nullptr;
    ToolbarController::setSelectASourceButtonFactory(nullptr);
    ToolbarController::setItemHandler(ToolbarController::kActiveSource, nullptr);
}
