#pragma once
#include <QChartView>
#include <vector>

#include "core/scenario/survival.h"
#include "core/stakes/lucktest.h"

// The pictures of a scenario test, drawn as the HTML report draws them: a rating row's
// cumulative hits (profit) over the band of random draws with the hold-out marked, and the
// filters' survival with their Wilson intervals against the share of tickets they keep.
QChartView* NewBandChart(const kv::stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw, int32_t holdoutFrom,
                         QWidget* parent = nullptr);
QChartView* NewSurvivalChart(const std::vector<kv::scenario::TSurvivalRow>& rows, QWidget* parent = nullptr);
