#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

namespace songwick::testing {

// Every text a window can show, each prefixed with where it is ("Form10/CheckBox1: ..."): its
// title, and of every control in it the caption, tooltip, list items, table headers and cells,
// menu entries (submenus included) and the text of text boxes.
class VisibleTexts {
public:
    static QStringList of(const QWidget* window) {
        VisibleTexts texts;
        texts.add(window, QStringLiteral("title"), window->windowTitle());
        texts.addWidget(window);
        for (const QWidget* child : window->findChildren<QWidget*>())
            texts.addWidget(child);
        return texts.texts_;
    }

    // The texts that hold a Cyrillic letter.
    static QStringList cyrillic(const QStringList& texts) {
        QStringList found;
        for (const QString& text : texts) {
            const qsizetype colon = text.indexOf(QStringLiteral(": "));
            for (const QChar letter : QStringView(text).mid(colon + 2)) {
                if (letter.script() == QChar::Script_Cyrillic) {
                    found << text;
                    break;
                }
            }
        }
        return found;
    }

    // The captions of a shown window that do not fit their controls: a label that does not
    // wrap, a button, check box or radio button narrower than its text needs, a group box
    // narrower than its title, a tab bar wider than its window.
    static QStringList clipped(const QWidget* window) {
        QStringList found;
        for (const QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window))
                continue;
            const auto* label = qobject_cast<const QLabel*>(widget);
            if (label != nullptr && !label->wordWrap() && !label->text().isEmpty() &&
                label->pixmap().isNull() && label->width() < label->sizeHint().width())
                found << describe(widget, label->sizeHint().width());
            // A push button's size hint has a least width of the style's; its text is what
            // must fit.
            if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
                const int needed =
                    button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) +
                    8;
                if (button->width() < needed)
                    found << describe(widget, needed);
            } else if (qobject_cast<const QAbstractButton*>(widget) != nullptr &&
                       widget->width() < widget->sizeHint().width()) {
                found << describe(widget, widget->sizeHint().width());
            }
            if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
                const int needed = group->fontMetrics().horizontalAdvance(group->title()) + 16;
                if (group->width() < needed)
                    found << describe(widget, needed);
            }
            if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
                if (tabs->width() < tabs->tabBar()->sizeHint().width())
                    found << describe(widget, tabs->tabBar()->sizeHint().width());
            }
        }
        return found;
    }

private:
    static QString describe(const QWidget* widget, int needed) {
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        const auto* label = qobject_cast<const QLabel*>(widget);
        const QString text = button != nullptr  ? button->text()
                             : label != nullptr ? label->text()
                                                : QString();
        return widget->window()->objectName() + u'/' + widget->objectName() + u' ' +
               QString::fromLatin1(widget->metaObject()->className()) + u' ' + text +
               QStringLiteral(" %1 < %2").arg(widget->width()).arg(needed);
    }

    void add(const QObject* where, const QString& what, const QString& text) {
        if (!text.isEmpty())
            texts_ << where->objectName() + u'/' + what + QStringLiteral(": ") + text;
    }

    void addActions(const QWidget* owner, const QList<QAction*>& actions) {
        for (const QAction* action : actions) {
            add(owner, QStringLiteral("action"), action->text());
            if (action->toolTip() != action->text().remove(u'&'))
                add(owner, QStringLiteral("action tooltip"), action->toolTip());
            if (const QMenu* menu = action->menu())
                addActions(menu, menu->actions());
        }
    }

    void addModel(const QAbstractItemView* view) {
        const QAbstractItemModel* model = view->model();
        if (model == nullptr)
            return;
        for (int column = 0; column < model->columnCount(); ++column)
            add(view, QStringLiteral("header"),
                model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                add(view, QStringLiteral("cell"), index.data().toString());
                add(view, QStringLiteral("cell tooltip"), index.data(Qt::ToolTipRole).toString());
            }
        }
    }

    // A combo box's list, whose items the box itself gives.
    static bool insideComboBox(const QWidget* widget) {
        for (const QWidget* above = widget->parentWidget(); above != nullptr;
             above = above->parentWidget()) {
            if (qobject_cast<const QComboBox*>(above) != nullptr)
                return true;
        }
        return false;
    }

    void addWidget(const QWidget* widget) {
        add(widget, QStringLiteral("tooltip"), widget->toolTip());
        addActions(widget, widget->actions());
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            add(widget, QStringLiteral("label"), label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            add(widget, QStringLiteral("button"), button->text());
        if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            add(widget, QStringLiteral("group"), group->title());
        if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
            for (int index = 0; index < tabs->count(); ++index)
                add(widget, QStringLiteral("tab"), tabs->tabText(index));
        }
        if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
            for (int index = 0; index < box->count(); ++index)
                add(widget, QStringLiteral("item"), box->itemText(index));
        }
        if (const auto* line = qobject_cast<const QLineEdit*>(widget))
            add(widget, QStringLiteral("placeholder"), line->placeholderText());
        if (const auto* text = qobject_cast<const QTextEdit*>(widget))
            add(widget, QStringLiteral("text"), text->toPlainText());
        if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
            add(widget, QStringLiteral("text"), text->toPlainText());
        if (const auto* view = qobject_cast<const QAbstractItemView*>(widget);
            view != nullptr && !insideComboBox(view))
            addModel(view);
    }

    QStringList texts_;
};

} // namespace songwick::testing
