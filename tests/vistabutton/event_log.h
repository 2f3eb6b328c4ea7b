#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "controls/vistabutton/vista_button.h"

namespace tunekist::testing {

// Records every event a button raises, with its arguments, in the order raised.
class EventLog {
public:
    explicit EventLog(VistaButton& button) {
        VistaButtonEvents& events = button.Events();
        events.Click = [this] { Add("Click"); };
        events.MouseIn = [this] { Add("MouseIn"); };
        events.MouseOut = [this] { Add("MouseOut"); };
        events.MouseDown = Mouse("MouseDown");
        events.MouseMove = Mouse("MouseMove");
        events.MouseUp = Mouse("MouseUp");
        events.KeyDown = [this](std::int16_t& k, std::int16_t& s) { Add("KeyDown(" + Join(k, s) + ")"); };
        events.KeyUp = [this](std::int16_t& k, std::int16_t& s) { Add("KeyUp(" + Join(k, s) + ")"); };
        events.KeyPress = [this](std::int16_t& k) { Add("KeyPress(" + Join(k) + ")"); };
        events.OLECompleteDrag = [this](std::int32_t&) { Add("OLECompleteDrag"); };
        events.OLEStartDrag = [this](DataObject&, std::int32_t&) { Add("OLEStartDrag"); };
    }

    std::vector<std::string> entries;

    // Entries without the chatter of pointer moves.
    std::vector<std::string> WithoutMoves() const {
        std::vector<std::string> kept;
        for (const std::string& entry : entries) {
            if (entry.rfind("MouseMove", 0) != 0 && entry != "MouseIn") kept.push_back(entry);
        }
        return kept;
    }

    long Count(const std::string& name) const {
        long count = 0;
        for (const std::string& entry : entries) count += entry.rfind(name, 0) == 0 ? 1 : 0;
        return count;
    }

private:
    template <class... Values>
    static std::string Join(const Values&... values) {
        std::ostringstream text;
        const char* separator = "";
        ((text << separator << values, separator = ","), ...);
        return text.str();
    }

    MouseEventHandler Mouse(std::string name) {
        return [this, name](std::int16_t& b, std::int16_t& s, float& x, float& y) {
            Add(name + "(" + Join(b, s, x, y) + ")");
        };
    }

    void Add(std::string entry) { entries.push_back(std::move(entry)); }
};

}  // namespace tunekist::testing
