#pragma once
#include <stdexcept>
#include <string>

namespace kv {

// A failure carrying the system's own (Russian, UTF-8) message text. The command that started
// the work shows its fixed text followed by what(), after a blank line.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure the user asked for (a Cancel button): the operation ends quietly, without the
// questions and messages a failure would bring.
class Cancelled : public Error {
public:
    using Error::Error;
};

} // namespace kv
