#pragma once

#include <stdexcept>
#include <string>

namespace Norvane {

// A drawing surface could not be created, drawn on or written out. The message names the file and the
// reason, ready to show to a user.
class ViewPortError : public std::runtime_error {
public:
    explicit ViewPortError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace Norvane
