// Turns an in-memory document into the bytes of a .docx package (Office Open
// XML) that Word, WPS and LibreOffice open.
#pragma once

#include "document_model.h"

#include <QByteArray>

// Throws Exception when the package cannot be built.
QByteArray WriteDocx(const TDocumentModel& document);
