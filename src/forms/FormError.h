#pragma once

#include <stdexcept>
#include <string>

namespace nkp::forms {

// A form that cannot produce its document for a reason of its own (a missing
// folder, a data file that cannot be written). The message is UTF-8 text
// for the application's general error display. It does not leave the
// module: Createforms::run() returns it as the form's failure.
class FormError : public std::runtime_error {
public:
    explicit FormError(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

}  // namespace nkp::forms
