// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "framewidgets.h"
#include "widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPushButton>
#include <QWidget>

namespace zirk {

namespace {

// Words said through a control: an accessible child of it that takes the screen reader's focus for a moment,
// while the keyboard focus stays where it was. Changing a control's name or description is not spoken by
// every screen reader (Orca with Qt 6.4 takes the unchanged object for old news); a newly focused object is.
class SpokenWords : public QAccessibleInterface {
public:
    SpokenWords(QAccessibleInterface* owner, QString words) : owner_(owner), words_(std::move(words)) {}
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return owner_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? words_ : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return owner_->rect(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = true;
        s.readOnly = true;
        return s;
    }

private:
    QAccessibleInterface* owner_;
    QString words_;
};

// A control of the window with the role it plays, pressed from the accessibility interface if it is a
// button, and able to say words through a child of its own.
class ControlInterface : public QAccessibleWidget {
public:
    ControlInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    ~ControlInterface() override {
        if (spoken_) QAccessible::deleteAccessibleInterface(spoken_);
    }

    int childCount() const override { return spoken_ ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && spoken_ ? QAccessible::accessibleInterface(spoken_) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return spoken_ && child == QAccessible::accessibleInterface(spoken_) ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    // A tooltip that only repeats the name would be read twice.
    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Description && text == QAccessibleWidget::text(QAccessible::Name) ? QString()
                                                                                                   : text;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::Button) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name != pressAction() || role() != QAccessible::Button) {
            QAccessibleWidget::doAction(name);
        } else if (auto* button = qobject_cast<QPushButton*>(widget())) {
            button->click();
        } else if (auto* picture = qobject_cast<PictureControl*>(widget())) {
            emit picture->clicked();
        }
    }

    void say(const QString& words) {
        // A new object each time: one focused twice in a row would be taken for no news.
        const QAccessible::Id previous = spoken_;
        spoken_ = QAccessible::registerAccessibleInterface(new SpokenWords(this, words));
        QAccessibleEvent event(QAccessible::accessibleInterface(spoken_), QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        if (previous) QAccessible::deleteAccessibleInterface(previous);
    }

private:
    QAccessible::Id spoken_ = 0;
};

// The key panel: keys reach it exactly while it is checked, as it is green exactly then.
class KeyPanelControl : public ControlInterface {
public:
    explicit KeyPanelControl(QWidget* widget) : ControlInterface(widget, QAccessible::Grouping) {}
    QAccessible::State state() const override {
        QAccessible::State s = ControlInterface::state();
        s.checkable = true;
        s.checked = widget()->hasFocus();
        return s;
    }
};

// The window lists the controls that show and have something to say: no hidden picture, and none of the
// lines, discs and pictures that only decorate it.
class WindowInterface : public QAccessibleWidget {
public:
    explicit WindowInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Window) {}
    int childCount() const override { return static_cast<int>(shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> widgets = shown();
        return index >= 0 && index < widgets.size() ? QAccessible::queryAccessibleInterface(widgets[index])
                                                    : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(shown().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> shown() const {
        QList<QWidget*> widgets;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !w->isHidden() && !w->accessibleName().isEmpty()) widgets.append(w);
        }
        return widgets;
    }
};

QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    if (className == QLatin1String("zirk::MazeWindow")) return new WindowInterface(widget);
    if (className == QLatin1String("zirk::KeyPanel")) return new KeyPanelControl(widget);
    if (className == QLatin1String("zirk::ColourBox"))
        return new ControlInterface(widget, QAccessible::Graphic);
    if (className == QLatin1String("zirk::MazeView"))
        return new ControlInterface(widget, QAccessible::Canvas);
    if (className == QLatin1String("zirk::PictureButton"))
        return new ControlInterface(widget, QAccessible::Button);
    // The caption buttons are the pictures with a tooltip to name them; the others decorate.
    if (className == QLatin1String("zirk::PictureControl"))
        return new ControlInterface(widget,
                                    widget->toolTip().isEmpty() ? QAccessible::Graphic : QAccessible::Button);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

void announce(QWidget* window, const QString& words) {
    if (!QAccessible::isActive() || words.isEmpty()) return;
    QWidget* focus = window->focusWidget();
    if (!focus) focus = window;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(focus, words);
    QAccessible::updateAccessibility(&event);
#else
    if (auto* control = dynamic_cast<ControlInterface*>(QAccessible::queryAccessibleInterface(focus)))
        control->say(words);
#endif
}

} // namespace zirk
