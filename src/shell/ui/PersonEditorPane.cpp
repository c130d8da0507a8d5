#include "shell/ui/PersonEditorPane.h"

PersonEditorPane::PersonEditorPane(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pInfoArea"));
    setMinimumHeight(280);
}
