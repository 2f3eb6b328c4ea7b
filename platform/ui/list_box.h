#pragma once
#include <string>

namespace tunekist {

// An unsorted list of strings, such as the hidden list of playlist paths. Entries count from 0.
// Reading or removing an entry that does not exist throws std::out_of_range.
class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void AddItem(const std::string& item) = 0;
    virtual void RemoveItem(int index) = 0;
    virtual int ListCount() const = 0;
    virtual std::string List(int index) const = 0;
    virtual void Refresh() = 0;
};

}  // namespace tunekist
