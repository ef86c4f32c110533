// Word's ProgID, and the Word server wrapper components that the main window
// holds. Nothing ever connects the wrappers: the export drives Word through late-bound calls instead, so
// disconnecting the application wrapper changes nothing and, with AutoQuit
// off, never quits Word.
#pragma once

#include <string_view>

// The ProgID that Word's automation server is registered under.
inline constexpr std::string_view kWordProgId = "word.Application";

// How a wrapper would find its server if it ever connected.
enum TConnectKind { ckRunningOrNew };

class TWordDocument {
public:
    bool AutoConnect = false;
    TConnectKind ConnectKind = ckRunningOrNew;
};

class TWordApplication {
public:
    bool AutoConnect = false;
    TConnectKind ConnectKind = ckRunningOrNew;
    bool AutoQuit = false;

    bool Connected() const { return false; }
    void Disconnect() {}
};
