#pragma once
#include <QObject>
#include <QTreeWidget>
#include <functional>

namespace tunekist {

// Lets the keyboard do to a row of a tree what a click on it does: Return, Enter or Space selects
// the row that has the keyboard's focus and runs `activate`. A key held down acts once.
class RowKeys : public QObject {
public:
    RowKeys(QTreeWidget& tree, std::function<void()> activate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget& tree_;
    std::function<void()> activate_;
};

}  // namespace tunekist
