#include "tests/vistabutton/button_fixture.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <algorithm>

namespace tunekist::testing {

PropertyBag CommandButtonBag(const std::string& caption) {
    return ParseStoredControls("Begin VistaButton Knop(0)\n   Caption = \"" + caption +
                               "\"\n   ForeColor = 0x00000000\n   Font = \"Arial\" 8.25 400 0 0 0 0\n"
                               "   Picture = None\n   Pictures = 2\n   UseMaskColor = -1\n"
                               "   MaskColor = 0x0000FF00\n   Enabled = -1\n   NoBackground = 0\n"
                               "   BackColor = 0x00FFFFFF\n   PictureOffset = 0\nEnd\n")
        .front()
        .bag;
}

HostedButton::HostedButton(int width, int height, const std::string& caption) : host(std::make_unique<QWidget>()) {
    host->setGeometry(200, 200, width + 60, height + 60);
    // Another control of the window holds the focus first, as the song list does in the player.
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
}

QImage HostedButton::Rendered() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

void HostedButton::PointAt(QPoint local) {
    QCursor::setPos(button->mapToGlobal(local));
    QTest::mouseMove(button, local);
}

void HostedButton::PointAway() { QCursor::setPos(host->mapToGlobal(QPoint(2, 2))); }

std::string Rgb(ColorValue color) {
    return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," + std::to_string(BlueOf(color));
}

EventLog::EventLog(VistaButton& button) {
    const auto add = [this](std::string entry) { entries.push_back(std::move(entry)); };
    const auto mouse = [add](std::string name) {
        return [add, name](std::int16_t& b, std::int16_t& s, float& x, float& y) {
            add(name + "(" + std::to_string(b) + "," + std::to_string(s) + "," + QString::number(x).toStdString() +
                "," + QString::number(y).toStdString() + ")");
        };
    };
    VistaButtonEvents& events = button.Events();
    events.Click = [add] { add("Click"); };
    events.MouseIn = [add] { add("MouseIn"); };
    events.MouseOut = [add] { add("MouseOut"); };
    events.MouseDown = mouse("MouseDown");
    events.MouseMove = mouse("MouseMove");
    events.MouseUp = mouse("MouseUp");
    events.KeyDown = [add](std::int16_t& k, std::int16_t& s) { add("KeyDown(" + std::to_string(k) + "," + std::to_string(s) + ")"); };
    events.KeyUp = [add](std::int16_t& k, std::int16_t& s) { add("KeyUp(" + std::to_string(k) + "," + std::to_string(s) + ")"); };
    events.KeyPress = [add](std::int16_t& k) { add("KeyPress(" + std::to_string(k) + ")"); };
    events.OLECompleteDrag = [add](std::int32_t&) { add("OLECompleteDrag"); };
    events.OLEStartDrag = [add](DataObject&, std::int32_t&) { add("OLEStartDrag"); };
}

std::vector<std::string> EventLog::WithoutMoves() const {
    std::vector<std::string> kept;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
                 [](const std::string& e) { return e.rfind("MouseMove", 0) != 0 && e != "MouseIn"; });
    return kept;
}

long EventLog::Count(const std::string& name) const {
    return std::count_if(entries.begin(), entries.end(), [&](const std::string& e) { return e.rfind(name, 0) == 0; });
}

}  // namespace tunekist::testing
