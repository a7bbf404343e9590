// Typed errors that commands throw; the command dispatcher of the windows catches
// them and shows the default error report (an error box with the message).
#pragma once

#include <stdexcept>
#include <string>

namespace ormaline {

// A value could not be converted ("'12a' is not a valid integer value").
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written; the message names the file and the reason.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace ormaline
