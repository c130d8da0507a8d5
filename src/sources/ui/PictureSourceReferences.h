#pragma once

#include "sources/SelectASourceDelegate.h"

#include <QDialog>
#include <QSize>

class CitationTableModel;
class CitationTableView;
class FTMoc;
class FTPicture;
class FTSource;
class QLabel;
class QPushButton;
class SelectASourceButton;

// The citations of one picture, as a sheet of the picture editor: the table of the citations page (same row
// heights, in-place page references and topics, the sources editor from the number column, the field-choice
// buttons), without removing and without tool tips. Citing a source opens the picture's citation sheet; a
// citation deleted there leaves the table. The window keeps its size for the running program and takes it again
// when it was wider than 250.
//
//   auto* sheet = new PictureSourceReferences(picture, pictureEditor);
//   sheet->open();
class PictureSourceReferences : public QDialog, public SelectASourceDelegate {
    Q_OBJECT
public:
    static constexpr int kMinRememberedWidth = 250;
    static QSize prevSize();
    static void setPrevSize(const QSize& size);

    explicit PictureSourceReferences(FTPicture* picture, QWidget* parent = nullptr);
    ~PictureSourceReferences() override;

    FTPicture* picture() const { return m_picture; }
    FTMoc* moc() const { return m_moc; }

    // Cites the source for the picture (its citation sheet opens) and lists the citation.
    void addReference(FTSource* source) override;
    // The sources editor on the selected citation's source, as a sheet on this window.
    void editSource();
    void showAllFields();
    void showTitleOnly();
    void refreshDisplay();
    // Ends editing, remembers the size and ends the sheet.
    void close();

    CitationTableView* sourceRelsTableView() const { return m_tv; }
    CitationTableModel* sourceRelsArrayController() const { return m_model; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }

public Q_SLOTS:
    void reject() override;

private:
    void loadSourceRels();

    FTPicture* m_picture;
    FTMoc* m_moc;
    bool m_closing = false;
    CitationTableModel* m_model = nullptr;
    CitationTableView* m_tv = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
};
