#pragma once

// The running application with helpers for the GEDCOM windows: waiting for a window that a command runs
// modally, a small family database, and screenshots.

#include "../../shell/ui/ApplicationFixture.h"
#include "../ImportFixture.h"
#include "Screenshot.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>

#include <functional>

class GedcomWindowFixture : public ApplicationFixture {
protected:
    // Runs the event loop until `done` answers true; false, failing the test, only when the run hangs.
    static bool waitFor(const std::function<bool()>& done, const char* what = "the window")
    {
        return TestSupport::waitUntil(done, what);
    }

    // The visible window of type T, anywhere; null when none.
    template <class T> static T* visibleWindow()
    {
        for (QWidget* w : QApplication::allWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
                return t;
        return nullptr;
    }

    // Calls `fn` with the window of type T once it shows and `ready` holds for it (a command runs the window
    // modally, so this is how a test works in it). `fn` must end the window.
    template <class T> static void whenShown(std::function<bool(T*)> ready, std::function<void(T*)> fn)
    {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, ready, fn] {
            T* window = visibleWindow<T>();
            if (!window || !ready(window))
                return;
            timer->stop();
            timer->deleteLater();
            fn(window);
        });
        timer->start();
    }

    static QImage screenshot(QWidget* window, const QString& name) { return saveScreenshot(window, name); }

    // A small family around Fay Focal, the focal person:
    //   Gus Great - father of Fred Father; Fred and Mary Mother are Fay's natural parents, Flo Foster her foster
    //   mother, Sid Step her step father; Fay is married to Hal Husband, their son Kit Kid to Wyn Wife.
    //   Not connected: Una Alone, and Ben and Bea Other with their son Bob Other.
    QString makeFamilyDatabase(const QString& name)
    {
        const QString path = data + "/" + name + ".RezUdu";
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        file.close();
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
        EXPECT_TRUE(moc);
        if (!moc)
            return path;
        const QString m = LocalizedString("MaleShort"), f = LocalizedString("FemaleShort");
        auto person = [&](const char* n, const QString& g) { return FTPerson::initInMoc(moc.get(), n, g); };
        auto link = [&](FTPerson* parent, FTPerson* child, int type) {
            FTPcRel* l = FTPcRel::initInMoc(moc.get());
            l->setParent(parent);
            l->setChild(child);
            l->setPcRelType(type);
        };
        auto couple = [&](FTPerson* a, FTPerson* b) {
            FTSpouseRel* c = FTSpouseRel::initInMoc(moc.get());
            c->addPartnersObject(a);
            c->addPartnersObject(b);
        };
        FTPerson* fay = person("Fay Focal", f);
        FTPerson* fred = person("Fred Father", m);
        FTPerson* mary = person("Mary Mother", f);
        FTPerson* gus = person("Gus Great", m);
        FTPerson* kit = person("Kit Kid", m);
        link(gus, fred, FTPcRel::kNatural);
        link(fred, fay, FTPcRel::kNatural);
        link(mary, fay, FTPcRel::kNatural);
        link(person("Flo Foster", f), fay, FTPcRel::kFoster);
        link(person("Sid Step", m), fay, FTPcRel::kStep);
        couple(fred, mary);
        couple(fay, person("Hal Husband", m));
        link(fay, kit, FTPcRel::kNatural);
        couple(kit, person("Wyn Wife", f));
        person("Una Alone", f);
        FTPerson* ben = person("Ben Other", m);
        FTPerson* bea = person("Bea Other", f);
        couple(ben, bea);
        link(ben, person("Bob Other", m), FTPcRel::kNatural);
        moc->setFocalPerson(fay);
        moc->setSelectedPerson(fay);
        EXPECT_TRUE(moc->saveMoc());
        return path;
    }

    // Opens the database as the user does; answers its document.
    DOvurDocument* openDatabase(const QString& path)
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(path);
        EXPECT_TRUE(doc);
        if (doc)
            DocumentController::shared().setCurrentDocument(doc);
        return doc;
    }

    // The lines of a GEDCOM file, without line ends and byte-order mark.
    static QStringList gedcomLines(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(f.readAll());
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        QStringList lines = text.split("\r\n");
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    static QStringList namesInGedcom(const QString& path)
    {
        QStringList names;
        for (const QString& line : gedcomLines(path))
            if (line.trimmed().startsWith("1 NAME "))
                names << line.trimmed().mid(7).remove('/').simplified();
        names.sort();
        return names;
    }
};
