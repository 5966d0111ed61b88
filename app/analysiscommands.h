#pragma once
#include <functional>

#include "app/commandunit.h"

namespace kv::workspace {
class FormSettings;
}

// The colour commands of the lists and the analysis views, and the repeats dialog of the
// extended statistics. A colour command turns its flag over; what it colours is repainted the
// way the window says, so nothing here knows a view.
class AnalysisCommands : public CommandUnit {
public:
    struct Repaints {
        std::function<void()> draws;   // the channels of the draw list
        std::function<void()> combs;   // the channels of the combination list
        std::function<void()> card;    // the card's channels and sequences
        std::function<void()> layout;  // the layout's gradient
    };

    AnalysisCommands(const UnitContext& ctx, const kv::workspace::FormSettings& frm, Repaints repaints);

    // The colour commands, before the analysis views that put them in their context menus.
    void createColorCommands();
    // "Количество повторов в зависимости от тиража".
    void createRepeatsCommand();
    // The colour commands' check marks follow the view flags.
    void restoreSettings();

private:
    const kv::workspace::FormSettings& m_frm;
    Repaints m_repaints;
};
