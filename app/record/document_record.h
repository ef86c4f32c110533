// The document barcode record that the symbol carries, and the information
// text that the Word export writes beside it. Both are pure and cannot fail.
#pragma once

#include "document_fields.h"

#include <string>
#include <string_view>

// The barcode version identifier at the head of every record.
inline constexpr std::string_view BarcodeVersion = "GB0626-2005";

// "GB0626-2005^" then each value followed by "^", then "|". Values are copied
// byte for byte: nothing is trimmed, escaped or limited.
std::string BuildDocumentRecord(const TDocumentFields& fields);

// Fifteen labelled lines in code page 936: the heading ends with LF CR, the
// next thirteen with CR, and the last (custom field) with LF CR.
std::string BuildInformationText(const TDocumentFields& fields);
