#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/color.h"

namespace tunekist::testing {

// A shown host window holding one button at (20, 20), loaded from a bag with the command
// buttons' stored values and the given caption.
struct HostedButton {
    explicit HostedButton(int width = 75, int height = 25, const std::string& caption = "");

    // The button's pixels as the widget paints them.
    QImage Rendered() const;
    // Moves the screen pointer to a point of the button (or off it), as a person would.
    void PointAt(QPoint local);
    void PointAway();

    std::unique_ptr<QWidget> host;
    VistaButton* button = nullptr;
};

// The bag of a command button with this caption, as the window's design data stores it.
PropertyBag CommandButtonBag(const std::string& caption);

// Reads a colour as R,G,B for readable failure messages.
std::string Rgb(ColorValue color);

// Records every event a button raises, with its arguments, in the order raised.
struct EventLog {
    explicit EventLog(VistaButton& button);
    // Entries without the chatter of pointer moves.
    std::vector<std::string> WithoutMoves() const;
    long Count(const std::string& name) const;

    std::vector<std::string> entries;
};

}  // namespace tunekist::testing
