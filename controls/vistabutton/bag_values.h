#pragma once

#include <QFont>
#include <string_view>

#include "controls/vistabutton/property_bag.h"
#include "controls/vistabutton/vista_button.h"

namespace tunekist {

// Font and picture values of a property bag. A font is stored with its name, size in points,
// weight, italic, underline, strikethrough and character set:  "Arial" 8.25 400 0 0 0 0.
// A picture is stored as None or as its pixels in PNG form:  png "<base64>".

// Reads a font, or `fallback` when the bag lacks the key; raises PropertyBagError for a
// malformed value.
QFont ReadFont(const PropertyBag& bag, std::string_view key, const QFont& fallback);
void WriteFont(PropertyBag& bag, std::string_view key, const QFont& font);

// Reads a picture (null for None), or `fallback` when the bag lacks the key; raises
// PropertyBagError for a malformed value or undecodable pixels.
PictureObject ReadPicture(const PropertyBag& bag, std::string_view key, const PictureObject& fallback);
void WritePicture(PropertyBag& bag, std::string_view key, const PictureObject& picture);

}  // namespace tunekist
