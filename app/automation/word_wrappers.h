// The Word server wrapper components that the main window holds. Nothing ever
// connects them: the export drives Word through late-bound calls instead, so
// disconnecting the application wrapper changes nothing and, with AutoQuit
// off, never quits Word.
#pragma once

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
