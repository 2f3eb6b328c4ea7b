#include "platform/qt/row_keys.h"

#include <QKeyEvent>
#include <utility>

namespace tunekist {

RowKeys::RowKeys(QTreeWidget& tree, std::function<void()> activate)
    : QObject(&tree), tree_(tree), activate_(std::move(activate)) {
    tree_.installEventFilter(this);
}

bool RowKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &tree_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool activates = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
    const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    if (!activates || !plain) return false;
    QTreeWidgetItem* row = tree_.currentItem();
    if (!row) return false;
    if (key->isAutoRepeat()) return true;
    // Makes the row the selected one, as a click does.
    tree_.setCurrentItem(row);
    activate_();
    return true;
}

}  // namespace tunekist
