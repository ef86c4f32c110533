#include "desktop_automation.h"

#ifdef _WIN32
#include "com_automation.h"
#else
#include "document_server.h"
#endif

std::unique_ptr<TAutomationServer> CreateDesktopAutomation(std::function<QString()> barcodeNumber) {
#ifdef _WIN32
    (void)barcodeNumber; // Word names its own documents
    return std::make_unique<TComAutomationServer>();
#else
    TDocumentServerOptions options = DesktopDocumentServerOptions();
    options.BarcodeNumber = std::move(barcodeNumber);
    return std::make_unique<TDocumentServer>(std::move(options));
#endif
}
