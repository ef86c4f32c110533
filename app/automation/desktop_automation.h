// The automation server that the desktop program talks to: COM on Windows,
// the built-in document server everywhere else.
#pragma once

#include "automation_server.h"

#include <QString>

#include <functional>
#include <memory>

// barcodeNumber names the documents that the built-in server writes.
std::unique_ptr<TAutomationServer> CreateDesktopAutomation(std::function<QString()> barcodeNumber);
