#pragma once
// The exception that event handlers raise for a failure the user should see; the window procedure
// that catches it shows its message with the general error display.
#include <stdexcept>
#include <string>

namespace ui {

class TAppError : public std::runtime_error {
  public:
    explicit TAppError(std::string message) : std::runtime_error(std::move(message)) {}
};

} // namespace ui
