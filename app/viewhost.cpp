#include "app/viewhost.h"

#include <utility>

#include "core/workspace/workspace.h"

void ContextView::follow(kv::workspace::TChange what, std::function<void()> listener)
{
    m_follows.push_back(m_ws.Shared().Subscribe(what, std::move(listener)));
}
