#pragma once

namespace tarvix::engine {

// The dispatcher that a Vars event binding of slot 7 to the handler OnSeven
// generates: module text with "Dispatcher__" as start procedure, compiled
// with the handler script's own source.
inline constexpr const char* kSevenDispatcher =
    "Sub Dispatcher__()\r\n"
    "  Do\r\n"
    "     If Vars(7).Changed Then OnSeven:Vars(7).Changed = False\r\n"
    "     Ext.Delay 0\r\n"
    "  Loop\r\n"
    "End Sub";

}  // namespace tarvix::engine
