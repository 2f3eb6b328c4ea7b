#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tunekist {

// The stored form of a control's properties, in a readable text format of our own:
//
//   Begin VistaButton Knop(0)
//      Caption       = "Play"
//      ForeColor     = 0x00000000
//      Font          = "Arial" 8.25 400 0 0 0 0
//      Picture       = None
//      Enabled       = -1
//   End
//
// A value is a row of tokens: quoted strings (with \" \\ \n \r \t escapes) or bare words.
// Lines starting with '#' and blank lines are ignored. Nothing here needs a widget or a
// display, so the reader can run on arbitrary bytes.

// Raised for text that is not a well-formed bag, or a value of the wrong kind.
class PropertyBagError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BagToken {
    std::string text;
    bool quoted = false;
    bool operator==(const BagToken&) const = default;
};

struct BagProperty {
    std::string key;
    std::vector<BagToken> tokens;
    bool operator==(const BagProperty&) const = default;
};

// The properties of one control, in the order they were written. Keys match without regard
// to (ASCII) case; writing a key that is there replaces its value in place.
class PropertyBag {
public:
    // The property stored under `key`, or nullptr.
    const BagProperty* Find(std::string_view key) const;
    void Write(std::string_view key, std::vector<BagToken> tokens);
    const std::vector<BagProperty>& Properties() const { return properties_; }
    bool operator==(const PropertyBag&) const = default;

private:
    std::vector<BagProperty> properties_;
};

// One stored control: its type, its name, its index in a control array (none for a single
// control) and its bag.
struct StoredControl {
    std::string type;
    std::string name;
    std::optional<std::int16_t> index;
    PropertyBag bag;
    bool operator==(const StoredControl&) const = default;
};

// Reads every control stored in `text`. Raises PropertyBagError on malformed text.
std::vector<StoredControl> ParseStoredControls(std::string_view text);

// Writes controls in the form ParseStoredControls reads back unchanged.
std::string FormatStoredControls(const std::vector<StoredControl>& controls);

// Typed reads: the stored value, or `fallback` when the bag lacks the key. A value of the
// wrong kind or out of the type's range raises PropertyBagError. Integers are decimal, or
// hexadecimal after "0x"; Booleans are stored as -1 (True) and 0 (False), and any other
// non-zero number reads as True.
std::string ReadString(const PropertyBag& bag, std::string_view key, const std::string& fallback);
std::int32_t ReadLong(const PropertyBag& bag, std::string_view key, std::int32_t fallback);
std::int16_t ReadInteger(const PropertyBag& bag, std::string_view key, std::int16_t fallback);
bool ReadBoolean(const PropertyBag& bag, std::string_view key, bool fallback);
// A 32-bit colour 0x00BBGGRR or a system colour 0x80000000 + n; negative 32-bit values are
// read as their bit pattern.
std::uint32_t ReadColor(const PropertyBag& bag, std::string_view key, std::uint32_t fallback);

void WriteString(PropertyBag& bag, std::string_view key, std::string_view value);
void WriteLong(PropertyBag& bag, std::string_view key, std::int32_t value);
void WriteInteger(PropertyBag& bag, std::string_view key, std::int16_t value);
void WriteBoolean(PropertyBag& bag, std::string_view key, bool value);
void WriteColor(PropertyBag& bag, std::string_view key, std::uint32_t value);

// Parses one whole number token (decimal with optional sign, or "0x" hexadecimal) within
// [minimum, maximum]; raises PropertyBagError otherwise.
std::int64_t ParseWholeNumber(std::string_view token, std::int64_t minimum, std::int64_t maximum);

}  // namespace tunekist
