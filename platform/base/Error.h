#pragma once

#include <stdexcept>
#include <string>

namespace velkaro {

// The common error type of the program and the platform. what() is the text a message box shows,
// UTF-8, already in the user's language where the text is ours.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace velkaro
