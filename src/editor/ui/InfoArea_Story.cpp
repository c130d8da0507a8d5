#include "editor/ui/InfoArea_Story.h"

#include "editor/StoryGenerator.h"
#include "editor/StoryOptions.h"
#include "editor/StoryRtfFile.h"
#include "editor/ui/StoryGenerationOptions.h"
#include "editor/ui/StoryTextEdit.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"
#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTStory.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}
}

InfoArea_Story::InfoArea_Story(QWidget* parent)
    : EditorPage(parent)
    , m_tv(new StoryTextEdit)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    m_tv->setObjectName(QStringLiteral("tv"));
    m_tv->setFrameShape(QFrame::NoFrame);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(12);
    m_tv->document()->setDefaultFont(font);
    connect(m_tv, &QTextEdit::textChanged, this, [this] { textDidChange(); });
    connect(m_tv, &QTextEdit::currentCharFormatChanged, this, [this] { showFormat(); });
    connect(m_tv, &QTextEdit::cursorPositionChanged, this, [this] { showFormat(); });
    m_tv->didEndEditing = [this] { textDidEndEditing(); };

    m_modeLabel = new QLabel;
    m_modeLabel->setObjectName(QStringLiteral("currentMode"));
    auto button = [this](const char* name, const char* key, const char* icon, void (InfoArea_Story::*action)()) {
        auto* b = new QPushButton(themeIcon(QString::fromLatin1(icon)), L(key));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 4, 0, 0);
    buttons->addWidget(m_modeLabel);
    buttons->addStretch();
    m_controls << button("changeOptions", "StoryGenerate", "document-new", &InfoArea_Story::changeOptions)
               << button("clearStory", "StoryClear", "edit-clear", &InfoArea_Story::clearStory)
               << button("copyToWordProcessor", "StoryCopyToWordProcessor", "x-office-document",
                         &InfoArea_Story::copyToWordProcessor);
    for (QWidget* b : std::as_const(m_controls))
        buttons->addWidget(b);
    QWidget* formatBar = buildFormatBar();
    m_controls << m_tv << formatBar;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(formatBar);
    layout->addWidget(m_tv, 1);
    layout->addLayout(buttons);
    displayCurrentMode();
    load();
}

InfoArea_Story::~InfoArea_Story()
{
    FTLog(QStringLiteral("dealloc InfoArea_Story"));
}

QWidget* InfoArea_Story::buildFormatBar()
{
    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("formatBar"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    m_fontSize = new QComboBox;
    m_fontSize->setObjectName(QStringLiteral("fontSize"));
    m_fontSize->setToolTip(L("StoryFontSize"));
    // Choosing a size leaves the typing where it was.
    m_fontSize->setFocusPolicy(Qt::NoFocus);
    for (int size : {8, 9, 10, 11, 12, 13, 14, 16, 18, 20, 24, 28, 36, 48})
        m_fontSize->addItem(QString::number(size), size);
    connect(m_fontSize, &QComboBox::activated, this, [this](int index) {
        QTextCharFormat f;
        f.setFontPointSize(m_fontSize->itemData(index).toInt());
        mergeFormat(f);
    });
    bar->addWidget(m_fontSize);
    bar->addSeparator();

    auto action = [this, bar](const char* name, const char* icon, const char* key, const QKeySequence& keys,
                              std::function<void(bool)> run) {
        QAction* a = bar->addAction(themeIcon(QString::fromLatin1(icon)), L(key));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        // The shortcuts work wherever the focus is on the page, in the text above all.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, std::move(run));
        return a;
    };
    m_bold = action("bold", "format-text-bold", "StoryBold", QKeySequence::Bold, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(f);
    });
    m_italic = action("italic", "format-text-italic", "StoryItalic", QKeySequence::Italic, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        mergeFormat(f);
    });
    m_underline =
        action("underline", "format-text-underline", "StoryUnderline", QKeySequence::Underline, [this](bool on) {
            QTextCharFormat f;
            f.setFontUnderline(on);
            mergeFormat(f);
        });
    for (QAction* a : {m_bold, m_italic, m_underline})
        a->setCheckable(true);
    bar->addSeparator();

    auto* alignments = new QActionGroup(bar);
    const struct {
        const char* name;
        const char* icon;
        const char* key;
        Qt::Alignment alignment;
    } aligns[] = {
        {"alignLeft", "format-justify-left", "StoryAlignLeft", Qt::AlignLeft},
        {"alignCenter", "format-justify-center", "StoryAlignCenter", Qt::AlignHCenter},
        {"alignRight", "format-justify-right", "StoryAlignRight", Qt::AlignRight},
        {"alignJustify", "format-justify-fill", "StoryAlignJustify", Qt::AlignJustify},
    };
    for (const auto& a : aligns) {
        QAction* act = action(a.name, a.icon, a.key, {}, [this, alignment = a.alignment](bool) {
            m_tv->setAlignment(alignment);
        });
        act->setCheckable(true);
        act->setData(int(a.alignment));
        alignments->addAction(act);
        m_alignments << act;
    }
    bar->addSeparator();
    action("indentLess", "format-indent-less", "StoryIndentLess", {}, [this](bool) { indent(-1); });
    action("indentMore", "format-indent-more", "StoryIndentMore", {}, [this](bool) { indent(1); });
    return bar;
}

void InfoArea_Story::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = m_tv->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    m_tv->mergeCurrentCharFormat(format);
    m_tv->setFocus();
}

void InfoArea_Story::indent(int step)
{
    QTextCursor cursor = m_tv->textCursor();
    QTextBlockFormat f = cursor.blockFormat();
    f.setIndent(std::max(0, f.indent() + step));
    cursor.setBlockFormat(f);
    m_tv->setFocus();
}

void InfoArea_Story::showFormat()
{
    const QTextCharFormat f = m_tv->currentCharFormat();
    const QFont font = f.font();
    const int size = qRound(f.fontPointSize() > 0 ? f.fontPointSize() : m_tv->document()->defaultFont().pointSizeF());
    const int index = m_fontSize->findData(size);
    if (index >= 0) {
        m_fontSize->setCurrentIndex(index);
    } else {
        m_fontSize->addItem(QString::number(size), size);
        m_fontSize->setCurrentIndex(m_fontSize->count() - 1);
    }
    m_bold->setChecked(font.bold());
    m_italic->setChecked(font.italic());
    m_underline->setChecked(font.underline());
    const int alignment = int(m_tv->alignment() & ~Qt::AlignAbsolute & Qt::AlignHorizontal_Mask);
    for (QAction* a : std::as_const(m_alignments))
        if (a->data().toInt() == alignment)
            a->setChecked(true);
}

void InfoArea_Story::setSelectedPerson(FTPerson* person)
{
    if (person == m_person)
        return;
    // What was typed belongs to the person it was typed for.
    if (!isReplayingUndo(m_moc))
        textDidEndEditing();
    m_person = person;
    m_moc = person ? person->moc() : nullptr;
    load();
}

void InfoArea_Story::refreshDisplay()
{
    textDidEndEditing();
    displayCurrentMode();
    const FTStory* story = m_person ? m_person->story() : nullptr;
    if ((story ? story->attributedString() : QString()) != m_shownHtml)
        load();
}

void InfoArea_Story::load()
{
    m_loading = true;
    const FTStory* story = m_person ? m_person->story() : nullptr;
    m_shownHtml = story ? story->attributedString() : QString();
    if (m_shownHtml.isEmpty())
        m_tv->clear();
    else
        m_tv->setHtml(m_shownHtml);
    StoryGenerator::prepareStoryDocument(*m_tv->document());
    m_tv->document()->clearUndoRedoStacks();
    m_tv->moveCursor(QTextCursor::Start);
    m_tv->horizontalScrollBar()->setValue(0);
    m_tv->verticalScrollBar()->setValue(0);
    for (QWidget* w : std::as_const(m_controls))
        w->setEnabled(m_person != nullptr);
    m_changes = 0;
    m_loading = false;
    showFormat();
    noteContentMark();
}

void InfoArea_Story::freeMemory()
{
    setSelectedPerson(nullptr);
}

void InfoArea_Story::personToBeDeleted(const Notification& n)
{
    if (!n.object || n.object != m_person)
        return;
    // The story goes with its person: nothing is written.
    m_changes = 0;
    setSelectedPerson(nullptr);
}

bool InfoArea_Story::endEditing()
{
    textDidEndEditing();
    return true;
}

std::optional<bool> InfoArea_Story::contentMark() const
{
    // Until the edit ends the record lags behind the text, and the tab follows the text.
    if (!m_person || m_changes == 0)
        return std::nullopt;
    return holdsStory();
}

bool InfoArea_Story::holdsStory() const
{
    // Asked at every key typed: the first paragraph with text answers, not a copy of the whole story.
    for (QTextBlock b = m_tv->document()->begin(); b.isValid(); b = b.next())
        if (!b.text().trimmed().isEmpty())
            return true;
    return false;
}

void InfoArea_Story::noteContentMark()
{
    const bool marked = contentMark().value_or(m_person && m_person->story());
    if (m_contentMark == marked)
        return;
    m_contentMark = marked;
    Q_EMIT contentMarkChanged();
}

void InfoArea_Story::displayCurrentMode()
{
    const QString name = StoryOptions::modeName(UserDefaults::standard().integerForKey(QStringLiteral("soPrependAppendReplace")));
    if (name.isEmpty())
        return;
    m_currentMode = name;
    m_modeLabel->setText(L("StoryModeLabel").arg(LocalizedString(name)));
}

void InfoArea_Story::textDidChange()
{
    if (m_loading)
        return;
    ++m_changes;
    noteContentMark();
}

void InfoArea_Story::textDidEndEditing()
{
    if (m_changes != 0 && m_person)
        storeStory();
}

void InfoArea_Story::storeStory()
{
    if (!m_person)
        return;
    writeStory(holdsStory() ? m_tv->toHtml() : QString());
    m_changes = 0;
    noteContentMark();
}

// An empty text deletes the story record; any other makes it when the person has none.
void InfoArea_Story::writeStory(const QString& html)
{
    FTStory* story = m_person->story();
    m_shownHtml = html;
    if (!story && html.isEmpty())
        return;
    if (story && story->attributedString() == html)
        return;
    if (!story) {
        story = FTStory::initInMoc(m_moc);
        m_person->setStory(story);
    }
    story->setAttributedString(html);
    if (m_moc)
        m_moc->deferredSave();
}

void InfoArea_Story::generateStory()
{
    if (!m_person)
        return;
    const StoryOptions options = StoryOptions::fromUserDefaults();
    StoryGenerator generator(options);
    generator.setClock(m_clock);
    const auto generated = generator.generateStory(m_person);
    if (!StoryGenerator::insertGeneratedText(*m_tv->document(), *generated, options.mode))
        return;
    ++m_changes;
    storeStory();
}

void InfoArea_Story::changeOptions()
{
    if (m_optionsSheet) {
        m_optionsSheet->raise();
        return;
    }
    endEditing();
    m_optionsSheet = new StoryGenerationOptions(this, window());
    m_optionsSheet->setAttribute(Qt::WA_DeleteOnClose);
    m_optionsSheet->open();
}

void InfoArea_Story::clearStory()
{
    if (!m_person)
        return;
    m_loading = true;
    m_tv->clear();
    m_loading = false;
    m_changes = 0;
    writeStory({});
    noteContentMark();
}

void InfoArea_Story::copyToWordProcessor()
{
    if (!m_person)
        return;
    storeStory();
    const QString folder = Utils::reportsDirectory();
    if (folder.isEmpty())
        return;
    const QString path = StoryRtfFile::pathFor(m_person, folder);
    QString error;
    if (!StoryRtfFile::write(*m_tv->document(), path, &error)) {
        DisplayMsg(L("StoryFileNotWritten").arg(path, error));
        return;
    }
    Utils::displayFile(path, UserDefaults::standard().stringForKey(QStringLiteral("soRtfApplication")));
}
