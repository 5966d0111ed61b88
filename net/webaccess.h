#pragma once
#include "core/online/drawdownload.h"
#include "net/httpclient.h"

namespace kv::net {

// The download's network access through the program's page client (kept by the caller, so the
// cookies live as long as it does) and stand-alone requests for the proxy list.
online::TWebAccess MakeWebAccess(PageClient& pages);

} // namespace kv::net
