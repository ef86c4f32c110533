// The toolkit's general exception: every error that the window layers raise
// is one of these, and the window's default error handler shows its message.
#pragma once

#include <stdexcept>

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
