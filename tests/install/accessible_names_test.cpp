// What a screen reader says for each part of the window a person can reach with the keyboard.
#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "tests/support/virtual_engine.h"

namespace tunekist {
namespace {

// The name assistive technology reads out, as Qt's accessibility layer reports it.
QString SpokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The name the window gives a control: its accessible name, or else what its caption makes it.
// (On Linux a drop-down list speaks its current entry instead; its given name serves elsewhere.)
QString GivenName(QWidget* widget) {
    return widget->accessibleName().isEmpty() ? SpokenName(widget) : widget->accessibleName();
}

class AccessibleNames : public ::testing::Test {
protected:
    AccessibleNames() : window_(test::VirtualEngineFactory(std::make_shared<test::VirtualWorld>())) {
        window_.show();
        QApplication::processEvents();
    }

    // Every widget that can take the keyboard focus and is on the screen.
    QList<QWidget*> Reachable() {
        QList<QWidget*> reachable;
        for (QWidget* widget : window_.findChildren<QWidget*>()) {
            if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(&window_)) reachable << widget;
        }
        return reachable;
    }

    MainWindow window_;
};

TEST_F(AccessibleNames, EveryReachableWidgetHasADistinctName) {
    const QList<QWidget*> reachable = Reachable();
    ASSERT_GE(reachable.size(), 12);
    std::map<QString, QString> ownerOfName;
    for (QWidget* widget : reachable) {
        const QString name = SpokenName(widget);
        EXPECT_FALSE(name.trimmed().isEmpty()) << widget->objectName().toStdString() << " has no name";
        const auto [owner, fresh] = ownerOfName.emplace(name, widget->objectName());
        EXPECT_TRUE(fresh) << widget->objectName().toStdString() << " and " << owner->second.toStdString()
                           << " are both called \"" << name.toStdString() << "\"";
    }
}

struct NamedControl {
    const char* objectName;
    const char* name;
};

void PrintTo(const NamedControl& control, std::ostream* out) { *out << control.objectName; }

class ControlName : public AccessibleNames, public ::testing::WithParamInterface<NamedControl> {};

TEST_P(ControlName, IsAsDesigned) {
    QWidget* control = window_.findChild<QWidget*>(GetParam().objectName);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GivenName(control).toStdString(), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Window, ControlName,
    ::testing::Values(NamedControl{"ListView1", "Songs in de map"}, NamedControl{"ListView2", "Playlist"},
                      NamedControl{"Drive1", "Station"}, NamedControl{"Dir1", "Map"},
                      NamedControl{"VolSlider", "Volume"}, NamedControl{"Bar", "Voortgang"},
                      NamedControl{"Knop(0)", "Play"}, NamedControl{"Knop(1)", "Pauze"},
                      NamedControl{"Knop(2)", "Rew"}, NamedControl{"Knop(3)", "Forew"},
                      NamedControl{"Knop(4)", "Next"}, NamedControl{"Knop(5)", "Stop"},
                      NamedControl{"ExitKnop", "Exit"}),
    [](const auto& info) {
        std::string name;
        for (const char c : std::string(info.param.objectName)) {
            if (std::isalnum(static_cast<unsigned char>(c))) name += c;
        }
        return name;
    });

}  // namespace
}  // namespace tunekist
