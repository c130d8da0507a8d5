#pragma once

#include "editor/ui/EditorHooks.h"

class FTPerson;
class QLabel;

// A person's default picture on the person editor's pages; a left click on it opens the picture editor on that
// picture, as a sheet, and shows the picture anew when the sheet ends. A view without a picture does nothing.
class DefaultImage : public DefaultPictureView {
    Q_OBJECT
public:
    explicit DefaultImage(QWidget* parent = nullptr);

    void setPerson(FTPerson* person) override;
    FTPerson* person() const { return m_person; }
    bool showsImage() const { return m_showsImage; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void display();

    FTPerson* m_person = nullptr;
    QLabel* m_label;
    bool m_showsImage = false;
};
