#pragma once

#include "sources/CitationTableModel.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <optional>

class FTSourceRel;
class QPlainTextEdit;

// A table of citations (CitationTableModel) as the citations page, the picture citations window and the event
// editor show it: rows as high as their wrapped cells, measured once per citation and again when a column changes
// width; one click on a page reference or topic starts editing it; Up and Down while editing go to the row above
// or below; a click below the last row changes nothing. The edits are checked as one-line fields ("PageRef",
// "SourceRefTopic"): several lines or a text too long is cleaned, the user is told, and the cell stays in editing.
//
//   auto* table = new CitationTableView(model);
//   table->editSource = [this] { ... the sources editor on the selected citation's source ... };
class CitationTableView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kFontSize = 11;

    explicit CitationTableView(CitationTableModel* model, QWidget* parent = nullptr);
    ~CitationTableView() override;

    CitationTableModel* citations() const { return m_model; }
    // A click in the source number column (after the row is selected).
    std::function<void()> editSource;
    // The key R (or r) outside editing.
    std::function<void()> keyR;

    FTSourceRel* selectedCitation() const;
    void selectCitation(const FTSourceRel* citation);

    // The kept heights are dropped and every row measured again, the table redrawn and the selection scrolled into
    // view.
    void refreshDisplay();
    // Gives every row its height from the model's rule (measuring the rows not measured yet).
    void layoutRows();
    // The height in points of `text` wrapped at `width` points in the table's font, as a cell draws it.
    double heightOfText(const QString& text, double width) const;
    double columnWidthInPoints(CitationTableModel::Column column) const;

    // The cell editor, while a cell is edited.
    QPlainTextEdit* cellEditor() const;
    bool isEditing() const { return cellEditor() != nullptr; }
    // Ends the cell's edit: false when its check refused the text (the cell then stays in editing).
    bool endEditing();
    // Up (-1) or Down (+1) while editing: the edit ends and the row above or below alone is selected; nothing
    // happens at either end of the table.
    void moveSelection(int delta);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double pointsPerPixel() const;
    void layoutRowsFrom(int first, int last);

    // What measuring a pass of rows keeps: the font's metrics and the widths of the lines measured.
    struct Measures {
        explicit Measures(const QFont& font)
            : metrics(font)
        {
        }
        QFontMetricsF metrics;
        int margin = 0;
        QHash<QString, double> widths;
    };
    mutable std::optional<Measures> m_measures;

    CitationTableModel* m_model;
    class CellDelegate;
    CellDelegate* m_delegate;
};
