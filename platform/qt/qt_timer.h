#pragma once
#include <QTimer>

#include "platform/ui/timer.h"

namespace tunekist {

class QtTimer : public Timer {
public:
    explicit QtTimer(QTimer& timer) : timer_(timer) {}
    bool Enabled() const override { return timer_.isActive(); }
    void SetEnabled(bool enabled) override {
        if (enabled == timer_.isActive()) return;  // enabling a running timer must not restart its second
        if (enabled) {
            timer_.start();
        } else {
            timer_.stop();
        }
    }

private:
    QTimer& timer_;
};

}  // namespace tunekist
