#pragma once

// A family database and a hierarchy layout that measures text with fixed metrics, with helpers that build small
// families and walk the laid-out tree.

#include "../model/PeopleFixture.h"

#include "diagrams/HierarchyLayout.h"
#include "diagrams/TextMeasurer.h"

#include "model/FTPicture.h"
#include "model/Hierarchy.h"

#include <QTextDocument>

#include <initializer_list>

class HierarchyFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        // Boxes of known text: names only, no gender sign.
        options.showGender = false;
        options.nameOnly = true;
        options.scrunched = false;
        options.horizontal = false;
        options.pictures = false;
    }

    Hierarchy* build(FTPerson* root, bool ancestors, double visibleWidth = 800, QSizeF paper = QSizeF(612, 792))
    {
        layout.setRootPerson(root);
        layout.setBAncestors(ancestors);
        layout.createHierarchy(options, visibleWidth, paper);
        return layout.rootHierarchy();
    }

    // Natural children of `parent`, made in order (their names sort in the same order).
    QList<FTPerson*> children(FTPerson* parent, std::initializer_list<const char*> names)
    {
        QList<FTPerson*> made;
        for (const char* name : names) {
            made << person(QString::fromUtf8(name), M());
            link(parent, made.last());
        }
        return made;
    }

    // Z's parents X and Y are first cousins: their grandparents G and H (G with a father of his own, Old) come
    // twice in Z's ancestors.
    struct Cousins {
        FTPerson *old, *g, *h, *a, *b, *x, *y, *z;
    };
    Cousins cousins()
    {
        Cousins c {};
        c.g = person("G Grand", M());
        c.h = person("H Grand", F());
        c.old = person("Old Grand", M());
        link(c.old, c.g);
        c.a = person("A Grand", M());
        c.b = person("B Grand", F());
        for (FTPerson* child : { c.a, c.b }) {
            link(c.g, child);
            link(c.h, child);
        }
        c.x = person("X Cousin", M());
        c.y = person("Y Cousin", F());
        link(c.a, c.x);
        link(c.b, c.y);
        c.z = person("Z Cousin", M());
        link(c.x, c.z);
        link(c.y, c.z);
        return c;
    }

    // Every node shown, depth first.
    QList<Hierarchy*> nodes() const
    {
        QList<Hierarchy*> out;
        QList<Hierarchy*> pending;
        if (layout.rootHierarchy())
            pending << layout.rootHierarchy();
        while (!pending.isEmpty()) {
            Hierarchy* h = pending.takeLast();
            out << h;
            if (h->level() < layout.maxLevel()) {
                const QList<Hierarchy*> next = h->nextGenArray();
                for (qsizetype i = next.size(); i-- > 0;)
                    pending << next[i];
            }
        }
        return out;
    }
    Hierarchy* node(const FTPerson* p) const { return layout.findFirstPerson(p, layout.rootHierarchy()); }
    QList<Hierarchy*> nodesOf(const FTPerson* p) const
    {
        QList<Hierarchy*> found;
        layout.recurseFindPerson(p, layout.rootHierarchy(), found);
        return found;
    }
    static QStringList namesOf(const QList<Hierarchy*>& list)
    {
        QStringList out;
        for (const Hierarchy* h : list)
            out << h->person()->name();
        return out;
    }

    // A default picture with a thumbnail of `size` pixels.
    FTPicture* giveThumbnail(FTPerson* p, QSize size = QSize(80, 100))
    {
        FTPicture* picture = FTPicture::initInMoc(moc.get(), QString(), p);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        picture->setThumbnailImage(image);
        p->setDefaultPicture(picture);
        return picture;
    }

    FixedTextMeasurer measurer;
    HierarchyLayout layout { measurer };
    HdOptions options;
};
