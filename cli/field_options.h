// The fourteen document fields as command-line options, shared by the
// subcommands that build a document from them (record, document).
#pragma once

#include "command_line.h"
#include "document_fields.h"

#include <array>
#include <string>
#include <string_view>

struct TFieldOption {
    std::string_view Name;
    std::string TDocumentFields::*Member;
};

inline constexpr std::array<TFieldOption, 14> FieldOptions{{
    {"barcode-number", &TDocumentFields::BarcodeNumber},
    {"issuing-unit", &TDocumentFields::IssuingUnit},
    {"document-type", &TDocumentFields::DocumentType},
    {"document-number", &TDocumentFields::DocumentNumber},
    {"main-recipient", &TDocumentFields::MainRecipient},
    {"document-title", &TDocumentFields::DocumentTitle},
    {"secrecy-level", &TDocumentFields::SecrecyLevel},
    {"secrecy-period", &TDocumentFields::SecrecyPeriod},
    {"urgency", &TDocumentFields::Urgency},
    {"document-date", &TDocumentFields::DocumentDate},
    {"release-level", &TDocumentFields::ReleaseLevel},
    {"barcode-maker", &TDocumentFields::BarcodeMaker},
    {"barcode-date", &TDocumentFields::BarcodeDate},
    {"custom-field", &TDocumentFields::CustomField},
}};

// The option declarations of the fields followed by a command's own options.
template <size_t N>
constexpr std::array<TOptionSpec, FieldOptions.size() + N>
WithFieldOptions(const std::array<TOptionSpec, N>& own) {
    std::array<TOptionSpec, FieldOptions.size() + N> declarations{};
    for (size_t i = 0; i < FieldOptions.size(); ++i)
        declarations[i] = {FieldOptions[i].Name, true};
    for (size_t i = 0; i < N; ++i)
        declarations[FieldOptions.size() + i] = own[i];
    return declarations;
}

// The help block that lists the field options and how values are taken.
std::string FieldOptionsHelp();

// The fields as the window starts with them, overridden by the options given.
// Throws a usage error for a line break in a single-line field and Exception
// for a character that code page 936 cannot represent.
TDocumentFields ReadFieldOptions(const TCommandLine& line);
