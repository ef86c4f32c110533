// The automation server of Windows: COM objects driven through IDispatch.
#pragma once

#include "automation_server.h"

class TComAutomationServer : public TAutomationServer {
public:
    TComAutomationServer();
    ~TComAutomationServer() override;
    TComAutomationServer(const TComAutomationServer&) = delete;
    TComAutomationServer& operator=(const TComAutomationServer&) = delete;

    TAutoObject AttachToRunning(std::string_view progId) override;
    TAutoObject CreateInstance(std::string_view progId) override;

private:
    bool OwnsApartment = false;
};
