#pragma once
#include <vector>

#include "app/viewhost.h"

class QMainWindow;
class QSplitter;

// The main window's own keys of the window settings: its placement and the width of the left
// panel. Placement is restored only where the saved pixel density matches the screen's, so a
// file written on another monitor never throws the window off screen.
void RestorePlacement(QMainWindow& window, QSplitter& panels, const kv::workspace::FormSettings& frm);
SettingValues PlacementValues(const QMainWindow& window, const QSplitter& panels);

// Every view's own keys, in the order a fresh settings file has always had them, so the same
// window state writes the same bytes whatever order the views are visited in.
SettingValues ViewSettingValues(const std::vector<ContextView*>& views);
