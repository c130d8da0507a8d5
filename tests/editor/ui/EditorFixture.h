#pragma once

// A database open in its main window with the real person editor, and the means to type into its fields.

#include "../../shell/ui/ApplicationFixture.h"
#include "Screenshot.h"

#include "diagrams/ui/FamilyDiagramSetup.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/PersonEditorSetup.h"

#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>

#include <functional>

class EditorFixture : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        savedEditorHooks = EditorHooks::shared();
        // The editor beside the diagram, as in the program.
        installFamilyDiagram();
        installPersonEditor();
        start();
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        DOvurDocument::setPaneFactories({});
        InfoAreaController::removePageFactories();
        EditorHooks::shared() = savedEditorHooks;
    }

    DOvurDocument* open(const QString& name, int people = 20)
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/" + name, people));
        EXPECT_NE(doc, nullptr) << texts().join("\n").toStdString();
        if (doc) {
            doc->dovurWindow()->activateWindow();
            QApplication::processEvents();
        }
        return doc;
    }
    static InfoAreaController* editorOf(DOvurDocument* doc) { return qobject_cast<InfoAreaController*>(doc->pInfoArea()); }
    static void select(FTPerson* person) { person->moc()->modelDefaults()->setSelectedPerson(person); }

    static void key(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(w, &release);
    }
    // A person in `moc`, born on a date at a place when given.
    static FTPerson* newPerson(FTMoc* moc, const QString& name, const QString& gender, const QString& born = {},
                               const QString& place = {})
    {
        FTPerson* p = FTPerson::initInMoc(moc, name, gender);
        if (!born.isEmpty())
            p->setValueForKeyPath("birth.date", born);
        if (!place.isEmpty())
            p->setValueForKeyPath("birth.place", place);
        return p;
    }
    // Runs `act` on the modal dialog that the next statement opens, once it shows.
    static void whenModal(std::function<void(QDialog*)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
    }
    // Types `text` as keys.
    static void type(QWidget* w, const QString& text)
    {
        for (QChar c : text)
            key(w, c == ' ' ? Qt::Key_Space : 0, QString(c));
    }
    // Types `text` as keys, after selecting all that the field holds.
    static void retype(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        key(field, Qt::Key_Backspace);
        type(field, text);
    }

    EditorHooks savedEditorHooks;
};
