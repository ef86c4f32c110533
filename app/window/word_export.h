// The export behind "输出到word文档": the record is encoded by the window's
// barcode control and the symbol put on the clipboard.
#pragma once

class TForm2d;

// Throws Exception when a field has no GBK form or the record does not fit
// one symbol ("The text is too big"); the clipboard is then left untouched.
void ExportToWord(TForm2d& form);
