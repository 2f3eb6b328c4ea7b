#pragma once
#include <QListWidget>

#include "platform/ui/list_box.h"

namespace tunekist {

// A list of strings on a QListWidget. Items keep their exact bytes, also when they are not UTF-8.
class QtListBox : public ListBox {
public:
    explicit QtListBox(QListWidget& list) : list_(list) {}
    void AddItem(const std::string& item) override;
    void RemoveItem(int index) override;
    int ListCount() const override { return list_.count(); }
    std::string List(int index) const override;
    void Refresh() override { list_.repaint(); }

private:
    QListWidget& list_;
};

}  // namespace tunekist
