#include "app/windowsettings.h"

#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "core/util/format.h"

using namespace kv;

namespace {

// A view key begins with one of these, in this order, before every other key of the views.
constexpr std::string_view FileKeyOrder[] = {
    "DrawsList.", "CombsList.", "StatTable.Column", "FiltersList.", "StakesGrid.", "ScriptList.", "FiltersHeight",
    "StatTable.SortType", "DrawsExclude", "DrawsStatLen", "DrawsStatMethod", "DrawsStatHeight"};

int Dpi(const QWidget& window)
{
    return window.screen() ? qRound(window.screen()->logicalDotsPerInchY()) : 96;
}

QSize ScreenSize(const QWidget& window)
{
    return window.screen() ? window.screen()->size() : QSize();
}

} // namespace

void RestorePlacement(QMainWindow& window, QSplitter& panels, const workspace::FormSettings& frm)
{
    if (frm.ReadInt("PixelsPerInch", -1) == Dpi(window)) {
        int rect[4];
        const QSize screen = ScreenSize(window);
        const std::string sized = util::Format("NormPos_%dx%d", {screen.width(), screen.height()});
        if (frm.ReadRect(sized, rect) || frm.ReadRect("NormPos", rect)) {
            if (rect[2] > rect[0] && rect[3] > rect[1]) window.setGeometry(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        }
        if (frm.ReadInt("ShowCmd", 1) == 3) window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
    const int left = frm.ReadInt("LeftPanelWidth", -1);
    if (left > 0) panels.setSizes({left, std::max(100, window.width() - left)});
}

SettingValues PlacementValues(const QMainWindow& window, const QSplitter& panels)
{
    const QRect g = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    const QSize screen = ScreenSize(window);
    const std::string norm = util::Format("%d,%d,%d,%d", {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    const std::string minMax = "-1,-1,-1,-1";
    return {
        {"Flags", "0"},
        {"ShowCmd", window.isMaximized() ? "3" : window.isMinimized() ? "2" : "1"},
        {"PixelsPerInch", std::to_string(Dpi(window))},
        {"MinMaxPos", minMax},
        {"NormPos", norm},
        {util::Format("MinMaxPos_%dx%d", {screen.width(), screen.height()}), minMax},
        {util::Format("NormPos_%dx%d", {screen.width(), screen.height()}), norm},
        {"LeftPanelWidth", std::to_string(panels.sizes().value(0))},
    };
}

SettingValues ViewSettingValues(const std::vector<ContextView*>& views)
{
    SettingValues values;
    for (const ContextView* v : views) v->saveSettings(values);
    const auto rank = [](const std::string& key) {
        const auto* it = std::find_if(std::begin(FileKeyOrder), std::end(FileKeyOrder),
                                      [&key](std::string_view prefix) { return key.starts_with(prefix); });
        return it - std::begin(FileKeyOrder);
    };
    std::stable_sort(values.begin(), values.end(), [&rank](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
    return values;
}
