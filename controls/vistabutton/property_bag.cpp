#include "controls/vistabutton/property_bag.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tunekist {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

void RequireName(std::string_view name, std::string_view what) {
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) {
        throw PropertyBagError("bad " + std::string(what) + " name: " + std::string(name));
    }
}

char Unescape(char c) {
    switch (c) {
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        case '"':
        case '\\': return c;
        default: throw PropertyBagError("unknown escape in a quoted value");
    }
}

BagToken ReadQuoted(std::string_view& rest) {
    BagToken token{"", true};
    rest.remove_prefix(1);
    while (!rest.empty() && rest.front() != '"') {
        if (rest.front() == '\\') {
            if (rest.size() < 2) throw PropertyBagError("unterminated quoted value");
            token.text += Unescape(rest[1]);
            rest.remove_prefix(2);
        } else {
            token.text += rest.front();
            rest.remove_prefix(1);
        }
    }
    if (rest.empty()) throw PropertyBagError("unterminated quoted value");
    rest.remove_prefix(1);
    return token;
}

std::vector<BagToken> Tokenize(std::string_view value) {
    std::vector<BagToken> tokens;
    std::string_view rest = Trim(value);
    while (!rest.empty()) {
        if (rest.front() == '"') {
            tokens.push_back(ReadQuoted(rest));
        } else {
            const std::size_t end = std::min(rest.find_first_of(" \t\""), rest.size());
            tokens.push_back(BagToken{std::string(rest.substr(0, end)), false});
            rest.remove_prefix(end);
        }
        if (!rest.empty() && !IsSpace(rest.front())) throw PropertyBagError("tokens must be separated by spaces");
        rest = Trim(rest);
    }
    return tokens;
}

StoredControl ReadBeginLine(std::string_view line) {
    std::string_view rest = Trim(line.substr(5));
    const std::size_t space = rest.find_first_of(" \t");
    if (space == std::string_view::npos) throw PropertyBagError("Begin needs a type and a name");
    StoredControl control;
    control.type = std::string(rest.substr(0, space));
    RequireName(control.type, "type");
    std::string_view name = Trim(rest.substr(space));
    if (const std::size_t open = name.find('('); open != std::string_view::npos) {
        if (name.back() != ')') throw PropertyBagError("index must close with ')'");
        control.index =
            static_cast<std::int16_t>(ParseWholeNumber(name.substr(open + 1, name.size() - open - 2), 0, INT16_MAX));
        name = name.substr(0, open);
    }
    RequireName(name, "control");
    control.name = std::string(name);
    return control;
}

void ReadPropertyLine(std::string_view line, PropertyBag& bag) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) throw PropertyBagError("expected Key = value");
    const std::string_view key = Trim(line.substr(0, equals));
    RequireName(key, "key");
    bag.Write(key, Tokenize(line.substr(equals + 1)));
}

const BagToken* SingleToken(const PropertyBag& bag, std::string_view key, bool quoted) {
    const BagProperty* property = bag.Find(key);
    if (property == nullptr) return nullptr;
    if (property->tokens.size() != 1 || property->tokens.front().quoted != quoted) {
        throw PropertyBagError("unexpected value for " + std::string(key));
    }
    return &property->tokens.front();
}

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default: quoted += c;
        }
    }
    return quoted + "\"";
}

std::string FormatTokens(const std::vector<BagToken>& tokens) {
    std::string text;
    for (const BagToken& token : tokens) {
        if (!text.empty()) text += ' ';
        text += token.quoted ? Quote(token.text) : token.text;
    }
    return text;
}

}  // namespace

const BagProperty* PropertyBag::Find(std::string_view key) const {
    const auto found =
        std::find_if(properties_.begin(), properties_.end(), [&](const BagProperty& p) { return SameKey(p.key, key); });
    return found == properties_.end() ? nullptr : &*found;
}

void PropertyBag::Write(std::string_view key, std::vector<BagToken> tokens) {
    const auto found =
        std::find_if(properties_.begin(), properties_.end(), [&](const BagProperty& p) { return SameKey(p.key, key); });
    if (found != properties_.end()) {
        found->tokens = std::move(tokens);
    } else {
        properties_.push_back(BagProperty{std::string(key), std::move(tokens)});
    }
}

std::vector<StoredControl> ParseStoredControls(std::string_view text) {
    std::vector<StoredControl> controls;
    bool inside = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line.front() == '#') continue;
        // A property may be called Begin, and is written padded like any other ("Begin   = 1"); no
        // Begin line holds '=', so such a line stays a property and the text reads back unchanged.
        const bool begins = line.size() > 5 && SameKey(line.substr(0, 5), "Begin") && IsSpace(line[5]) &&
                            line.find('=') == std::string_view::npos;
        if (begins) {
            if (inside) throw PropertyBagError("Begin inside a control");
            controls.push_back(ReadBeginLine(line));
            inside = true;
        } else if (SameKey(line, "End")) {
            if (!inside) throw PropertyBagError("End without Begin");
            inside = false;
        } else {
            if (!inside) throw PropertyBagError("property outside a control");
            ReadPropertyLine(line, controls.back().bag);
        }
    }
    if (inside) throw PropertyBagError("missing End");
    return controls;
}

std::string FormatStoredControls(const std::vector<StoredControl>& controls) {
    std::string text;
    for (const StoredControl& control : controls) {
        text.append("Begin ").append(control.type).append(" ").append(control.name);
        if (control.index) text.append("(").append(std::to_string(*control.index)).append(")");
        text.append("\n");
        for (const BagProperty& property : control.bag.Properties()) {
            std::string key = property.key;
            key.resize(std::max<std::size_t>(key.size(), 14), ' ');
            text.append("   ").append(key).append("= ").append(FormatTokens(property.tokens)).append("\n");
        }
        text += "End\n";
    }
    return text;
}

std::int64_t ParseWholeNumber(std::string_view token, std::int64_t minimum, std::int64_t maximum) {
    bool negative = false;
    std::string_view digits = token;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        magnitude > static_cast<std::uint64_t>(INT64_MAX)) {
        throw PropertyBagError("not a whole number: " + std::string(token));
    }
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < minimum || value > maximum) throw PropertyBagError("number out of range: " + std::string(token));
    return value;
}

std::string ReadString(const PropertyBag& bag, std::string_view key, const std::string& fallback) {
    const BagToken* token = SingleToken(bag, key, true);
    return token ? token->text : fallback;
}

std::int32_t ReadLong(const PropertyBag& bag, std::string_view key, std::int32_t fallback) {
    const BagToken* token = SingleToken(bag, key, false);
    return token ? static_cast<std::int32_t>(ParseWholeNumber(token->text, INT32_MIN, INT32_MAX)) : fallback;
}

std::int16_t ReadInteger(const PropertyBag& bag, std::string_view key, std::int16_t fallback) {
    const BagToken* token = SingleToken(bag, key, false);
    return token ? static_cast<std::int16_t>(ParseWholeNumber(token->text, INT16_MIN, INT16_MAX)) : fallback;
}

bool ReadBoolean(const PropertyBag& bag, std::string_view key, bool fallback) {
    const BagToken* token = SingleToken(bag, key, false);
    return token ? ParseWholeNumber(token->text, INT16_MIN, INT16_MAX) != 0 : fallback;
}

std::uint32_t ReadColor(const PropertyBag& bag, std::string_view key, std::uint32_t fallback) {
    const BagToken* token = SingleToken(bag, key, false);
    return token ? static_cast<std::uint32_t>(ParseWholeNumber(token->text, INT32_MIN, UINT32_MAX)) : fallback;
}

void WriteString(PropertyBag& bag, std::string_view key, std::string_view value) {
    bag.Write(key, {BagToken{std::string(value), true}});
}

void WriteLong(PropertyBag& bag, std::string_view key, std::int32_t value) {
    bag.Write(key, {BagToken{std::to_string(value), false}});
}

void WriteInteger(PropertyBag& bag, std::string_view key, std::int16_t value) {
    bag.Write(key, {BagToken{std::to_string(value), false}});
}

void WriteBoolean(PropertyBag& bag, std::string_view key, bool value) {
    bag.Write(key, {BagToken{value ? "-1" : "0", false}});
}

void WriteColor(PropertyBag& bag, std::string_view key, std::uint32_t value) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    bag.Write(key, {BagToken{text, false}});
}

}  // namespace tunekist
