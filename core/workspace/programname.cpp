#include "core/workspace/programname.h"

namespace kv::workspace {

namespace {

constexpr const char* DefaultName = "Kvanta_8x20";

std::string& name()
{
    static std::string n = DefaultName;
    return n;
}

} // namespace

const std::string& ProgramName()
{
    return name();
}

void SetProgramName(std::string n)
{
    name() = n.empty() ? std::string(DefaultName) : std::move(n);
}

std::string ProgramFileName(std::string_view suffix)
{
    return ProgramName() + std::string(suffix);
}

} // namespace kv::workspace
