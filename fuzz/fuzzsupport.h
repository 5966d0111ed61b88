#pragma once
// Shared pieces of the fuzz programs: a shell that answers nothing and a check that stops the
// run like a sanitizer would when a reader breaks one of its own promises.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/shell/shell.h"

namespace kv::fuzz {

class QuietShell : public shell::Shell {
public:
    void SetStatusText(std::string_view) override {}
    int Messages = 0;

protected:
    void doShowMessage(shell::MessageKind, std::string_view) override { ++Messages; }
    bool doAsk(std::string_view, std::string_view, bool yesIsDefault) override { return yesIsDefault; }
};

inline std::string_view Bytes(const uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

#define KV_FUZZ_CHECK(cond)                                                                       \
    do {                                                                                          \
        if (!(cond)) {                                                                            \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #cond);      \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

} // namespace kv::fuzz
