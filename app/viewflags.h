#pragma once
#include <QAction>

#include "app/commandset.h"
#include "core/shell/shell.h"
#include "core/workspace/workspace.h"

// A view flag of the settings written at once; a failed write is reported and memory keeps the
// change, so the window goes on as the user asked.
inline void SaveViewFlag(kv::workspace::Workspace& ws, kv::shell::Shell& shell,
                         bool kv::workspace::TViewSettings::* flag, bool value)
{
    shell.Guarded("Ошибка сохранения параметров программы!", [&] { ws.SetViewFlag(flag, value); });
}

// Turns a view flag over with its command's check mark in step; the flag's new value.
inline bool ToggleViewFlag(kv::workspace::Workspace& ws, kv::shell::Shell& shell, TCommandSet& commands,
                           bool kv::workspace::TViewSettings::* flag, const char* command)
{
    const bool on = !(ws.View().*flag);
    if (QAction* a = commands.command(command)) a->setChecked(on);
    SaveViewFlag(ws, shell, flag, on);
    return on;
}
