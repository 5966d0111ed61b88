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

} // namespace kv
