#include "controls/vistabutton/bag_values.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace tunekist {
namespace {

constexpr std::string_view NoPicture = "None";
constexpr std::string_view PngPicture = "png";

double ParsePointSize(const std::string& text) {
    double size = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(size) || size <= 0 || size > 1000) {
        throw PropertyBagError("bad font size: " + text);
    }
    return size;
}

std::string FormatPointSize(double size) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, size);
    return error == std::errc() ? std::string(text, end) : std::string("8.25");
}

}  // namespace

QFont ReadFont(const PropertyBag& bag, std::string_view key, const QFont& fallback) {
    const BagProperty* property = bag.Find(key);
    if (property == nullptr) return fallback;
    const std::vector<BagToken>& tokens = property->tokens;
    if (tokens.size() != 7 || !tokens[0].quoted ||
        std::any_of(tokens.begin() + 1, tokens.end(), [](const BagToken& t) { return t.quoted; })) {
        throw PropertyBagError("a font needs a quoted name and six numbers");
    }
    QFont font(QString::fromUtf8(tokens[0].text.data(), static_cast<qsizetype>(tokens[0].text.size())));
    font.setPointSizeF(ParsePointSize(tokens[1].text));
    font.setWeight(static_cast<QFont::Weight>(ParseWholeNumber(tokens[2].text, 1, 1000)));
    font.setItalic(ParseWholeNumber(tokens[3].text, INT16_MIN, INT16_MAX) != 0);
    font.setUnderline(ParseWholeNumber(tokens[4].text, INT16_MIN, INT16_MAX) != 0);
    font.setStrikeOut(ParseWholeNumber(tokens[5].text, INT16_MIN, INT16_MAX) != 0);
    // The character set is kept for the stored form only; the toolkit picks glyphs by itself.
    ParseWholeNumber(tokens[6].text, 0, 255);
    return font;
}

void WriteFont(PropertyBag& bag, std::string_view key, const QFont& font) {
    const QByteArray family = font.family().toUtf8();
    const auto flag = [](bool on) { return BagToken{on ? "-1" : "0", false}; };
    bag.Write(key, {BagToken{family.toStdString(), true}, BagToken{FormatPointSize(font.pointSizeF()), false},
                    BagToken{std::to_string(static_cast<int>(font.weight())), false}, flag(font.italic()),
                    flag(font.underline()), flag(font.strikeOut()), BagToken{"0", false}});
}

PictureObject ReadPicture(const PropertyBag& bag, std::string_view key, const PictureObject& fallback) {
    const BagProperty* property = bag.Find(key);
    if (property == nullptr) return fallback;
    const std::vector<BagToken>& tokens = property->tokens;
    if (tokens.size() == 1 && !tokens[0].quoted && tokens[0].text == NoPicture) return nullptr;
    if (tokens.size() != 2 || tokens[0].quoted || tokens[0].text != PngPicture || !tokens[1].quoted) {
        throw PropertyBagError("a picture is None or png \"<base64>\"");
    }
    const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(tokens[1].text),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    QImage pixels;
    if (!decoded || !pixels.loadFromData(*decoded, "PNG")) {
        throw PropertyBagError("undecodable picture");
    }
    return std::make_shared<const tunekist::Picture>(pixels.convertToFormat(QImage::Format_RGB32));
}

void WritePicture(PropertyBag& bag, std::string_view key, const PictureObject& picture) {
    if (!picture || picture->Handle().IsEmpty()) {
        bag.Write(key, {BagToken{std::string(NoPicture), false}});
        return;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture->Handle().Pixels().save(&buffer, "PNG");
    bag.Write(key, {BagToken{std::string(PngPicture), false}, BagToken{png.toBase64().toStdString(), true}});
}

}  // namespace tunekist
