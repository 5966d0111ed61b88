#pragma once
#include <QString>
#include <cstdint>

// A catalogue time (Unix seconds, UTC) as local "yyyy-mm-dd hh:mm:ss"; empty for 0.
QString CatalogTime(int64_t utc);
