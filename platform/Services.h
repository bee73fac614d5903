#pragma once

namespace markvane::platform {

class Clock;
class PreferencesStore;
class Pasteboard;
class Screens;
class Permissions;
class SystemAlerts;
class ScreenCapture;
class HotKeys;
class OverlayWindows;

// The desktop services of the running program. main() installs them before
// any shared model is created; the shared() instances read them from here.
// Tests never use this: they construct models with their own fakes.
struct Services {
    Clock* clock = nullptr;
    PreferencesStore* preferences = nullptr;
    Pasteboard* pasteboard = nullptr;
    Screens* screens = nullptr;
    Permissions* permissions = nullptr;
    SystemAlerts* alerts = nullptr;
    ScreenCapture* capture = nullptr;         // may stay null where capture is unavailable
    HotKeys* hotKeys = nullptr;               // may stay null where no hot keys can be had
    OverlayWindows* overlayWindows = nullptr; // the drawing panels' windows
};

Services& services();

} // namespace markvane::platform
