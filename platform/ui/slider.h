#pragma once
#include <cstdint>
#include <string>

namespace tunekist {

// A slider whose value the user moves; its text is shown beside the thumb.
class Slider {
public:
    virtual ~Slider() = default;
    virtual std::int32_t Value() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
};

}  // namespace tunekist
