#pragma once

#include "editor/ui/InfoArea_Relatives.h"

// The immediate-family page of the person editor ("pFamily"): the relatives page's table over the person's
// parents, the person, spouses, children and siblings only, without switches or count, headed "Family of
// <name>".
class InfoArea_Family : public InfoArea_Relatives {
    Q_OBJECT
public:
    explicit InfoArea_Family(QWidget* parent = nullptr);

protected:
    QList<Relative> createRelsArray(long* count) override;
    QString columnHeading() const override;
};
