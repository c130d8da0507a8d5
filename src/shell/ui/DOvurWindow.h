#pragma once

#include <QMainWindow>
#include <QPointer>

class DOvurDocument;

// The main window of one database. A close by the user goes through the document's close sequence; activation
// makes its document the current one.
class DOvurWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit DOvurWindow(DOvurDocument* document);
    DOvurDocument* document() const { return m_document; }
    // Set by the document when it closes itself: the close then goes through without questions.
    void setClosingFromDocument(bool closing) { m_closingFromDocument = closing; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<DOvurDocument> m_document;
    bool m_closingFromDocument = false;
};
