#include "reports/ui/FamilyGroupSheetDialog.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

// The sheet's text view: an edit that would reach the end of a table cell is refused with a beep, and a
// selection never runs past the end of the cell it starts in.
class SheetTextEdit : public QTextEdit {
public:
    SheetTextEdit()
    {
        setObjectName(QStringLiteral("fgTextView"));
        connect(this, &QTextEdit::cursorPositionChanged, this, [this] { keepSelectionInCell(); });
        connect(this, &QTextEdit::selectionChanged, this, [this] { keepSelectionInCell(); });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (const auto range = editRange(event); range && !allowed(range->first, range->second)) {
            QApplication::beep();
            event->accept();
            return;
        }
        QTextEdit::keyPressEvent(event);
    }
    void insertFromMimeData(const QMimeData* source) override
    {
        const QTextCursor c = textCursor();
        if (!allowed(c.selectionStart(), c.selectionEnd() - c.selectionStart())) {
            QApplication::beep();
            return;
        }
        QTextEdit::insertFromMimeData(source);
    }

private:
    bool allowed(int position, int length) const
    {
        return FamilyGroupSheet::shouldChangeText(*document(), position, length);
    }

    // The characters a key would replace: (position, length); none for a key that changes no text.
    std::optional<std::pair<int, int>> editRange(QKeyEvent* event) const
    {
        const QTextCursor c = textCursor();
        const int start = c.selectionStart();
        const int length = c.selectionEnd() - start;
        if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste))
            return std::pair(start, length);
        if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
            return std::nullopt;
        if (length > 0 && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete))
            return std::pair(start, length);
        if (event->key() == Qt::Key_Backspace)
            return start > 0 ? std::optional(std::pair(start - 1, 1)) : std::nullopt;
        if (event->key() == Qt::Key_Delete)
            return std::pair(start, 1);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            return std::pair(start, length);
        const QString text = event->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier))
            return std::pair(start, length);
        return std::nullopt;
    }

    void keepSelectionInCell()
    {
        if (m_adjusting)
            return;
        QTextCursor c = textCursor();
        if (!c.hasSelection())
            return;
        const auto [anchor, position] = FamilyGroupSheet::adjustedSelection(*document(), c.anchor(), c.position());
        if (anchor == c.anchor() && position == c.position())
            return;
        m_adjusting = true;
        c.setPosition(anchor);
        c.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(c);
        m_adjusting = false;
    }

    bool m_adjusting = false;
};
}

FamilyGroupSheetDialog::FamilyGroupSheetDialog(FTPerson* person, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_moc(person ? person->moc() : nullptr)
    , m_selectedPerson(person)
    , m_options(FamilyGroupSheet::Options::kept())
{
    setObjectName(QStringLiteral("FamilyGroupSheetDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelColour());
    setPalette(palette);
    setWindowTitle(FamilyGroupSheet::initialWindowTitle(person));

    auto* options = new QHBoxLayout;
    const std::pair<bool FamilyGroupSheet::Options::*, const char*> kOptions[] = {
        {&FamilyGroupSheet::Options::showTitleOccupation, "FgsShowTitleOccupation"},
        {&FamilyGroupSheet::Options::showBirthDatesOfLiving, "FgsShowBirthDatesOfLiving"},
        {&FamilyGroupSheet::Options::includeEventNotes, "FgsIncludeEventNotes"},
        {&FamilyGroupSheet::Options::showLDSEvents, "FgsShowLDSEvents"},
        {&FamilyGroupSheet::Options::cropImagesTo4x3, "FgsCropImagesTo4x3"},
    };
    for (const auto& [option, key] : kOptions) {
        auto* box = new QCheckBox(L(key));
        box->setObjectName(QString::fromLatin1(key));
        box->setChecked(m_options.*option);
        connect(box, &QCheckBox::toggled, this, [this, option](bool on) { setOption(option, on); });
        options->addWidget(box);
        m_boxes.push_back({option, box});
    }
    options->addStretch();

    m_textView = new SheetTextEdit;
    m_textView->setAcceptRichText(true);

    auto* close = new QPushButton(L("Close"));
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    m_saveButton = new QPushButton(L("FgsSave"));
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setDefault(true);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { print(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(m_saveButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_textView, 1);
    layout->addLayout(buttons);
    resize(760, 720);
    refreshDisplay();
}

FamilyGroupSheetDialog::~FamilyGroupSheetDialog() = default;

QCheckBox* FamilyGroupSheetDialog::optionBox(bool FamilyGroupSheet::Options::*option) const
{
    for (const auto& [o, box] : m_boxes)
        if (o == option)
            return box;
    return nullptr;
}

void FamilyGroupSheetDialog::setOption(bool FamilyGroupSheet::Options::*option, bool on)
{
    if (m_options.*option == on)
        return;
    m_options.*option = on;
    if (QCheckBox* box = optionBox(option); box && box->isChecked() != on)
        box->setChecked(on);
    refreshDisplay();
}

void FamilyGroupSheetDialog::refreshDisplay()
{
    FamilyGroupSheet sheet(m_selectedPerson, m_options);
    std::unique_ptr<QTextDocument> document = sheet.generateTables();
    // The view owns its document: the one shown before goes with it.
    document->setParent(m_textView);
    m_textView->setDocument(document.release());
    setWindowTitle(sheet.windowTitle());
}

QString FamilyGroupSheetDialog::print()
{
    const QString path = FamilyGroupSheet::outputPath(m_selectedPerson);
    QString error;
    if (!FamilyGroupSheet::writeRtf(*m_textView->document(), path, &error)) {
        DisplayMsg(error);
        return {};
    }
    Utils::displayFile(path, QStringLiteral("defaultRtfApp"));
    close();
    return path;
}

void FamilyGroupSheetDialog::closeEvent(QCloseEvent* event)
{
    FamilyGroupSheet::Options::remember(m_options);
    QWidget::closeEvent(event);
}
