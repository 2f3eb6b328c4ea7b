#pragma once
// One shown button as the window hosts it, and a log of the events it raises.
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/color.h"

namespace tunekist::testing {

// The bag of a command button with this caption, as the window's design data stores it.
inline PropertyBag CommandButtonBag(const std::string& caption) {
    return ParseStoredControls("Begin VistaButton Knop(0)\n   Caption = \"" + caption +
                               "\"\n   ForeColor = 0x00000000\n   Font = \"Arial\" 8.25 400 0 0 0 0\n"
                               "   Picture = None\n   Pictures = 2\n   UseMaskColor = -1\n"
                               "   MaskColor = 0x0000FF00\n   Enabled = -1\n   NoBackground = 0\n"
                               "   BackColor = 0x00FFFFFF\n   PictureOffset = 0\nEnd\n")
        .front()
        .bag;
}

// A shown host window holding one button at (20, 20), loaded from a command button's bag; another
// control holds the focus first, as the song list does in the player.
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
    }

    // The button's pixels as the widget paints them.
    QImage Rendered() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Moves the screen pointer to a point of the button (or off it), as a person would.
    void PointAt(QPoint local) {
        QCursor::setPos(button->mapToGlobal(local));
        QTest::mouseMove(button, local);
    }
    void PointAway() { QCursor::setPos(host->mapToGlobal(QPoint(2, 2))); }

    std::unique_ptr<QWidget> host;
    VistaButton* button = nullptr;
};

// Every event a button raises, with its arguments, in the order raised.
struct EventLog {
    explicit EventLog(VistaButton& button) {
        const auto add = [this](const std::string& name, std::initializer_list<double> values = {}) {
            QStringList texts;
            for (const double v : values) texts << QString::number(v);
            const QString entry = QString::fromStdString(name);
            entries.push_back((texts.isEmpty() ? entry : entry + "(" + texts.join(',') + ")").toStdString());
        };
        const auto mouse = [add](const std::string& name) {
            return [add, name](std::int16_t& b, std::int16_t& s, float& x, float& y) {
                add(name, {b * 1.0, s * 1.0, x, y});
            };
        };
        VistaButtonEvents& events = button.Events();
        events.Click = [add] { add("Click"); };
        events.MouseIn = [add] { add("MouseIn"); };
        events.MouseOut = [add] { add("MouseOut"); };
        events.MouseDown = mouse("MouseDown");
        events.MouseMove = mouse("MouseMove");
        events.MouseUp = mouse("MouseUp");
        events.KeyDown = [add](std::int16_t& k, std::int16_t& s) { add("KeyDown", {k * 1.0, s * 1.0}); };
        events.KeyUp = [add](std::int16_t& k, std::int16_t& s) { add("KeyUp", {k * 1.0, s * 1.0}); };
        events.KeyPress = [add](std::int16_t& k) { add("KeyPress", {k * 1.0}); };
        events.OLECompleteDrag = [add](std::int32_t&) { add("OLECompleteDrag"); };
        events.OLEStartDrag = [add](DataObject&, std::int32_t&) { add("OLEStartDrag"); };
    }

    // Entries without the chatter of pointer moves.
    std::vector<std::string> WithoutMoves() const {
        std::vector<std::string> kept;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
                     [](const std::string& e) { return e.rfind("MouseMove", 0) != 0 && e != "MouseIn"; });
        return kept;
    }
    long Count(const std::string& name) const {
        return std::count_if(entries.begin(), entries.end(),
                             [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    }

    std::vector<std::string> entries;
};

// Reads a colour as R,G,B for readable failure messages.
inline std::string Rgb(ColorValue color) {
    return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," + std::to_string(BlueOf(color));
}

}  // namespace tunekist::testing
