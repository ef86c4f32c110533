// Where automation objects come from: a running instance registered for a
// ProgID, or a new one.
#pragma once

#include "auto_object.h"

#include <string_view>

class TAutomationServer {
public:
    virtual ~TAutomationServer() = default;

    // Both throw Exception when there is no such object to be had.
    virtual TAutoObject AttachToRunning(std::string_view progId) = 0;
    virtual TAutoObject CreateInstance(std::string_view progId) = 0;
};
