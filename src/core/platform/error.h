#pragma once

#include <stdexcept>
#include <string>

namespace zeilwerk {

// An error no operation handles: its text is what the application error box shows.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace zeilwerk
