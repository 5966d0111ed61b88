#pragma once
#include <QDateTime>

#include "core/game/types.h"

// Day numbers counted from 30.12.1899, as the draw dates are kept.
inline QDateTime DateTimeToQt(kv::game::TDateTime t)
{
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    const qint64 ms = qRound64(t * 86400000.0);
    return epoch.addMSecs(ms);
}

inline kv::game::TDateTime QtToDateTime(const QDateTime& dt)
{
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return static_cast<double>(epoch.msecsTo(dt)) / 86400000.0;
}
