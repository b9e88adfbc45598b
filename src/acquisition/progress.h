#pragma once

#include <functional>
#include <memory>

// The download's progress window, behind an interface: the program shows a pulsing
// wxProgressDialog, tests count the pulses. Destroying the object closes the window.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual void Pulse() = 0;
};

std::function<std::unique_ptr<ProgressIndicator>()> DefaultProgressFactory();
