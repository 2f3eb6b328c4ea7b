#pragma once
// One shown button as the window hosts it, driven by steps of real input, with a log of every
// event it raises.
#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "controls/vistabutton/vista_button.h"

namespace tunekist::testing {

// The stored form of a window command button with this caption, as the design data holds it.
inline std::string CommandButtonText(const std::string& caption) {
    return "Begin VistaButton Knop(0)\n Caption = \"" + caption +
           "\"\n ForeColor = 0x00000000\n Font = \"Arial\" 8.25 400 0 0 0 0\n Picture = None\n Pictures = 2\n"
           " UseMaskColor = -1\n MaskColor = 0x0000FF00\n Enabled = -1\n NoBackground = 0\n BackColor = 0x00FFFFFF\n"
           " PictureOffset = 0\nEnd\n";
}
inline PropertyBag CommandButtonBag(const std::string& caption) {
    return ParseStoredControls(CommandButtonText(caption)).front().bag;
}

// A shown host window holding one button at (20, 20), loaded from a command button's bag; another
// control holds the focus first, as the song list does in the player. `log` holds every event
// the button raises, with its arguments, each followed by a space.
struct HostedButton {
    explicit HostedButton(int width = 75, int height = 25, const std::string& caption = "")
        : host(std::make_unique<QWidget>()) {
        host->setGeometry(200, 200, width + 60, height + 60);
        auto* other = new QWidget(host.get());
        other->setGeometry(0, 0, 10, 10);
        other->setFocusPolicy(Qt::StrongFocus);
        button = new VistaButton(host.get());
        button->setObjectName(QStringLiteral("Knop(0)"));
        button->setGeometry(20, 20, width, height);
        button->ReadProperties(CommandButtonBag(caption));
        host->show();
        QApplication::setActiveWindow(host.get());  // focus reaches a widget only in the active window
        PointAway();
        const auto add = [this](const char* name) {
            return [this, name](auto&... args) {
                QStringList texts;
                (texts.append(QString::number(static_cast<double>(args))), ...);
                const QString values = texts.isEmpty() ? QString() : QStringLiteral("(%1)").arg(texts.join(','));
                log.append(name).append(values.toStdString()).append(" ");
            };
        };
        VistaButtonEvents& events = button->Events();
        events.Click = add("Click"), events.MouseIn = add("MouseIn"), events.MouseOut = add("MouseOut");
        events.MouseDown = add("MouseDown"), events.MouseMove = add("MouseMove"), events.MouseUp = add("MouseUp");
        events.KeyDown = add("KeyDown"), events.KeyUp = add("KeyUp"), events.KeyPress = add("KeyPress");
        events.OLECompleteDrag = add("OLECompleteDrag");
        events.OLEStartDrag = [this](DataObject&, std::int32_t&) { log += "OLEStartDrag "; };
    }

    // A button left held is let go, so the next test's input starts with no mouse button down.
    ~HostedButton() {
        if (button->Fields().IsDown) QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-1, -1));
    }

    QImage Rendered() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void PointAway() { QCursor::setPos(host->mapToGlobal(QPoint(2, 2))); }

    // Runs steps separated by spaces through the toolkit's real input path: "@x,y" moves the screen
    // pointer to (x, y) of the button (outside it too), where the mouse then presses and releases;
    // "=N" checks that the button shows state N now; the other steps are named below.
    void Do(const std::string& steps) {
        VistaButton& b = *button;
        QPoint at(30, 12);
        std::int32_t effect = 1;
        DataObject data = nullptr;
        const QString Press = QAccessibleActionInterface::pressAction();  // an assistive tool's Press
        const std::map<std::string, std::function<void()>> actions = {
            {"press", [&] { QTest::mousePress(&b, Qt::LeftButton, {}, at); }},
            {"release", [&] { QTest::mouseRelease(&b, Qt::LeftButton, {}, at); }},
            {"rpress", [&] { QTest::mousePress(&b, Qt::RightButton, {}, at); }},
            {"rrelease", [&] { QTest::mouseRelease(&b, Qt::RightButton, {}, at); }},
            {"space", [&] { QTest::keyPress(&b, Qt::Key_Space); }},
            {"spaceup", [&] { QTest::keyRelease(&b, Qt::Key_Space); }},
            {"enter", [&] { QTest::keyClick(&b, Qt::Key_Return); }},
            {"focus", [&] { b.setFocus(); }},
            {"blur", [&] { b.clearFocus(); }},
            {"away", [&] { PointAway(); }},  // the pointer leaves without a move
            // The hover timer notices (within a bound) that the pointer has gone, and stops.
            {"out",
             [&] { EXPECT_TRUE(QTest::qWaitFor([&] { return log.ends_with("MouseOut ") && !b.HasHoverTimer(); })); }},
            {"a11y", [&] { QAccessible::queryAccessibleInterface(&b)->actionInterface()->doAction(Press); }},
            {"drag", [&] { b.Surface_OLECompleteDrag(effect), b.Surface_OLEStartDrag(data, effect); }},
            {"disable", [&] { b.SetEnabled(false); }},
            {"enable", [&] { b.SetEnabled(true); }},
            {"notab", [&] { b.SetExtenderTabStop(false); }},   // out of the keyboard's tab order
            {"design", [&] { b.SetAmbientUserMode(false); }},  // the host's form is being designed
            {"tab+", [&] { EXPECT_TRUE(b.ExtenderTabStop()); }},
            {"tab-", [&] { EXPECT_FALSE(b.ExtenderTabStop()); }}};
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            SCOPED_TRACE(step);
            if (step[0] == '@') {
                at = QPoint(std::stoi(step.substr(1)), std::stoi(step.substr(step.find(',') + 1)));
                QCursor::setPos(b.mapToGlobal(at));
                QTest::mouseMove(&b, at);
            } else if (step[0] == '=') {
                EXPECT_EQ(b.Fields().ButtonState, std::stoi(step.substr(1)));
            } else {
                ASSERT_TRUE(actions.contains(step)) << "no such step";
                actions.at(step)();
            }
        }
    }

    std::unique_ptr<QWidget> host;
    VistaButton* button = nullptr;
    std::string log;
};

}  // namespace tunekist::testing
