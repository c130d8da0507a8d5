#include "sources/ui/SelectASourceButton.h"

#include "sources/SelectASourceDelegate.h"
#include "sources/SourceMenuModel.h"

#include "shell/ui/ThemeIcon.h"

#include "model/FTMoc.h"
#include "model/FTSource.h"
#include "model/ModelHooks.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QTimer>

#include <memory>

namespace {
const QString kTitleMark = QStringLiteral("Title:");
// Wider entries are cut short with an ellipsis: a long description or notes would make a menu wider than a screen.
constexpr int kMaxEntryWidth = 640;

// The entries of a type's submenu draw their text themselves, so that the part "Title:" of a description stands
// out: underlined, in Arial, in black unless the entry is highlighted.
class SourceMenuStyle : public QProxyStyle {
public:
    static SourceMenuStyle* shared()
    {
        static QPointer<SourceMenuStyle> style;
        if (!style) {
            style = new SourceMenuStyle;
            style->setParent(qApp);
        }
        return style;
    }

    void drawControl(
        ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || !item || item->menuItemType != QStyleOptionMenuItem::Normal
            || item->text.isEmpty()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem plain(*item);
        plain.text.clear();
        QProxyStyle::drawControl(element, &plain, painter, widget);

        const bool highlighted = (item->state & State_Selected) && (item->state & State_Enabled);
        const QColor colour = highlighted ? item->palette.highlightedText().color()
                                          : (item->state & State_Enabled ? QColor(Qt::black)
                                                                         : item->palette.text().color());
        QRect rect = item->rect.adjusted(kLeftMargin, 0, -kRightMargin, 0);
        painter->save();
        painter->setPen(colour);
        painter->setClipRect(rect);
        const int at = item->text.indexOf(kTitleMark);
        const QString before = at < 0 ? item->text : item->text.left(at);
        const QString after = at < 0 ? QString() : item->text.mid(at + kTitleMark.size());
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter->setFont(item->font);
        painter->drawText(rect, flags, before);
        if (at >= 0) {
            rect.setLeft(rect.left() + QFontMetrics(item->font).horizontalAdvance(before));
            const QFont mark = markFont(item->font);
            painter->setFont(mark);
            painter->drawText(rect, flags, kTitleMark);
            rect.setLeft(rect.left() + QFontMetrics(mark).horizontalAdvance(kTitleMark));
            painter->setFont(item->font);
            painter->drawText(rect, flags, after);
        }
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
        const QWidget* widget) const override
    {
        QSize answer = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item && item->text.contains(kTitleMark)) {
            const int extra = QFontMetrics(markFont(item->font)).horizontalAdvance(kTitleMark)
                - QFontMetrics(item->font).horizontalAdvance(kTitleMark);
            answer.rwidth() += std::max(0, extra);
        }
        return answer;
    }

private:
    // Where the menu style puts an entry's text when no entry has an icon.
    static constexpr int kLeftMargin = 25;
    static constexpr int kRightMargin = 15;

    static QFont markFont(const QFont& font)
    {
        QFont mark(QStringLiteral("Arial"));
        mark.setPointSizeF(std::max(6.0, font.pointSizeF()));
        mark.setUnderline(true);
        return mark;
    }
};

// A menu of the button: the key R chooses the active source, from any level of the menu.
class SourceMenu : public QMenu {
public:
    SourceMenu(const QString& title, QWidget* parent, std::shared_ptr<QPointer<QAction>> activeSourceEntry)
        : QMenu(title, parent)
        , m_activeSourceEntry(std::move(activeSourceEntry))
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QAction* entry = m_activeSourceEntry ? m_activeSourceEntry->data() : nullptr;
        if (entry && (event->text() == QLatin1String("r") || event->text() == QLatin1String("R"))
            && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            // Close the whole menu first, as choosing an entry does.
            while (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            entry->trigger();
            return;
        }
        QMenu::keyPressEvent(event);
    }

private:
    std::shared_ptr<QPointer<QAction>> m_activeSourceEntry;
};

// An entry's text as a menu shows it: one line, no shortcut marks, not wider than a screen's share.
QString entryText(const QString& title, const QFontMetrics& metrics)
{
    QString text = title;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text = metrics.elidedText(text, Qt::ElideRight, kMaxEntryWidth);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}
}

SelectASourceButton::SelectASourceButton(QWidget* parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("selectASourceButton"));
    setIcon(themeIcon(QStringLiteral("pan-down-symbolic")));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setToolTip(QStringLiteral("Sources"));
    m_subMenuOption = SourceMenuModel::storedOptionName();
}

SelectASourceButton::~SelectASourceButton()
{
    delete m_shownMenu;
}

void SelectASourceButton::setDelegate(SelectASourceDelegate* delegate)
{
    m_delegate = delegate;
    adoptOption();
}

void SelectASourceButton::setDelegate(std::unique_ptr<SelectASourceDelegate> delegate)
{
    m_ownedDelegate = std::move(delegate);
    setDelegate(m_ownedDelegate.get());
}

void SelectASourceButton::adoptOption()
{
    const bool toolbar = m_delegate && m_delegate->isToolbar();
    if (!toolbar) {
        delete m_openShortcut;
        m_openShortcut = nullptr;
        return;
    }
    m_subMenuOption = SourceMenuModel::defaultOptionName();
    if (!m_openShortcut) {
        m_openShortcut = new QAction(this);
        m_openShortcut->setObjectName(QStringLiteral("openSourcesMenu"));
        m_openShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
        m_openShortcut->setShortcutContext(Qt::WindowShortcut);
        connect(m_openShortcut, &QAction::triggered, this, [this] { openMenu(mapToGlobal(rect().center())); });
        addAction(m_openShortcut);
    }
}

QMenu* SelectASourceButton::buildMenu()
{
    auto activeEntry = std::make_shared<QPointer<QAction>>();
    auto* menu = new SourceMenu(SourceMenuModel::kMenuTitle, nullptr, activeEntry);
    menu->setObjectName(QStringLiteral("sourcesMenu"));
    if (!m_moc)
        return menu;
    auto model = std::make_shared<SourceMenuModel>(m_moc);
    const QFontMetrics metrics(menu->font());
    QPointer<SelectASourceButton> self(this);
    auto choose = [self, moc = m_moc](SourceMenuModel::Choice choice) {
        if (!self)
            return;
        QString option = self->m_subMenuOption;
        if (SourceMenuModel::selectSource(choice, moc, self->m_delegate, &option)) {
            self->m_subMenuOption = option;
            // The menu opens again where it was, grouped by the new option.
            QTimer::singleShot(0, self.data(), [self] {
                if (self)
                    self->openMenu(self->m_lastMouseDown);
            });
        }
    };
    // Kept by the submenus that fill themselves later: everything by value.
    auto addSourceEntry = [choose, metrics](QMenu* into, const QString& title, QList<FTSource*> sources,
                              const QString& typeTitle) {
        QAction* action = into->addAction(entryText(title, metrics));
        connect(action, &QAction::triggered, into,
            [choose, sources = std::move(sources), typeTitle, title] {
                SourceMenuModel::Choice choice;
                choice.kind = SourceMenuModel::Choice::Sources;
                choice.sources = sources;
                choice.typeTitle = typeTitle;
                choice.itemTitle = title;
                choose(choice);
            });
        return action;
    };

    try {
        // 1. The active source and the recent ones.
        QAction* recentItem = menu->addAction(SourceMenuModel::kRecentSourcesTitle);
        recentItem->setObjectName(QStringLiteral("recentSources"));
        FTSource* active = m_moc->activeSource();
        const QList<FTSource*> recent = m_moc->recentSources();
        if (active || !recent.isEmpty()) {
            auto* sub = new SourceMenu(SourceMenuModel::kRecentSourcesTitle, menu, activeEntry);
            if (active) {
                const QString title = SourceMenuModel::activeSourceItemTitle(model->titleForSource(active));
                QAction* entry = addSourceEntry(sub, title, { active }, SourceMenuModel::kRecentSourcesTitle);
                entry->setText(entry->text() + QStringLiteral("\tR"));
                entry->setObjectName(QStringLiteral("activeSourceEntry"));
                *activeEntry = entry;
                if (!recent.isEmpty())
                    sub->addSeparator();
            }
            for (FTSource* s : recent)
                addSourceEntry(sub, model->titleForSource(s), { s }, SourceMenuModel::kRecentSourcesTitle);
            recentItem->setMenu(sub);
        } else {
            recentItem->setEnabled(false); // an entry that does nothing by itself
        }
    } catch (...) {
        ModelHooks::reportException("SelectASourceButton", __LINE__, QStringLiteral("addRecentSourcesToMenu"));
    }

    try {
        // 2. The source search, for owners that have one.
        if (m_delegate && m_delegate->respondsToSourceSearch()) {
            QAction* search = menu->addAction(SourceMenuModel::kSearchEntryTitle);
            search->setObjectName(QStringLiteral("sourceSearch"));
            connect(search, &QAction::triggered, menu, [choose] {
                SourceMenuModel::Choice choice;
                choice.kind = SourceMenuModel::Choice::SearchEntry;
                choose(choice);
            });
        }

        // 3. The second-level options.
        auto* options = new SourceMenu(SourceMenuModel::optionItemTitle(m_subMenuOption), menu, activeEntry);
        options->setObjectName(QStringLiteral("optionsMenu"));
        for (const QString& name : SourceMenuModel::optionNames()) {
            QAction* option = options->addAction(name);
            option->setCheckable(true);
            option->setChecked(name == m_subMenuOption);
            connect(option, &QAction::triggered, options, [choose, name] {
                SourceMenuModel::Choice choice;
                choice.kind = SourceMenuModel::Choice::OptionName;
                choice.optionName = name;
                choose(choice);
            });
        }
        menu->addMenu(options);
        menu->addSeparator();

        // 4. The types, each filled when it opens.
        if (model->loadSourcesArray(m_subMenuOption)) {
            for (int t = 0; t < model->typeCount(); ++t) {
                const QString typeTitle = model->typeTitle(t);
                auto* sub = new SourceMenu(entryText(typeTitle, metrics), menu, activeEntry);
                sub->setStyle(SourceMenuStyle::shared());
                menu->addMenu(sub);
                connect(sub, &QMenu::aboutToShow, sub, [sub, model, t, typeTitle, addSourceEntry] {
                    if (!sub->isEmpty())
                        return;
                    for (const SourceMenuModel::Item& item : model->itemsOfType(t)) {
                        addSourceEntry(sub, item.title, item.sources, typeTitle);
                        if (item.separatorAfter)
                            sub->addSeparator();
                    }
                });
            }
        }
    } catch (...) {
        ModelHooks::reportException("SelectASourceButton", __LINE__, QStringLiteral("mouseDown"));
    }
    return menu;
}

void SelectASourceButton::openMenu(const QPoint& globalPos)
{
    m_lastMouseDown = globalPos;
    delete m_shownMenu;
    QMenu* menu = buildMenu();
    m_shownMenu = menu;
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    menu->popup(globalPos);
}

void SelectASourceButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QToolButton::mousePressEvent(event);
        return;
    }
    event->accept();
    openMenu(event->globalPosition().toPoint());
}

void SelectASourceButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->key() == Qt::Key_Down) {
        openMenu(mapToGlobal(rect().center()));
        return;
    }
    QToolButton::keyPressEvent(event);
}
