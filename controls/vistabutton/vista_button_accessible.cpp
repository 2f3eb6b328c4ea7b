#include "controls/vistabutton/vista_button_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <mutex>

#include "controls/vistabutton/vista_button.h"

namespace tunekist {
namespace {

class VistaButtonAccessible : public QAccessibleWidget {
public:
    explicit VistaButtonAccessible(VistaButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && Button()->accessibleName().isEmpty()) return Button()->Caption();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        // The button filters input by its own flag; the widget itself stays enabled.
        state.disabled = !Button()->Enabled();
        state.pressed = Button()->Fields().IsDown;
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) Button()->Surface_Click();
    }

private:
    VistaButton* Button() const { return static_cast<VistaButton*>(widget()); }
};

QAccessibleInterface* MakeAccessible(const QString&, QObject* object) {
    // The button declares no meta-object of its own, so Qt asks by its base class's name.
    auto* button = dynamic_cast<VistaButton*>(object);
    return button ? new VistaButtonAccessible(button) : nullptr;  // Qt's accessibility cache owns it
}

}  // namespace

void InstallVistaButtonAccessibility() {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(MakeAccessible); });
}

}  // namespace tunekist
