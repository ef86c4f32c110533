// Level and shape choices of the driver that do not depend on its flow.
#include "symbol_sizing.h"

#include "pdf417_work.h"

#include <cmath>

int32_t PDF417MaxErrorLevel(int32_t free) {
    for (int32_t level = PDF417MaxErrorLevelValue; level >= 1; --level)
        if (ErrorCorrectionCodewordsOfLevel(level) <= free) return level;
    return 0;
}

int32_t PDF417UseMaxRectangle(TPDF417Param* param) {
    // The two 928-codeword shapes nearest to a narrow and to a wide request.
    if (param->Columns <= 21) {
        param->Columns = 16;
        param->Rows = 58;
    } else {
        param->Columns = 29;
        param->Rows = 32;
    }
    return PDF417MaxCodewords;
}

int32_t PDF417ColumnsForAspectRatio(double aspectRatio, double rowHeightRatio, int32_t codewords) {
    // The positive root x of 17*AR*x^2 + (73*AR - 4)*x - n*RHR = 0, that is the columns
    // for which the height over the width, (RHR*n/x + 4) / (17*x + 73), equals AR.
    const double t = 73.0 * aspectRatio - 4.0;
    const double x = (std::sqrt(t * t + 68.0 * aspectRatio * codewords * rowHeightRatio) - t) /
                     (34.0 * aspectRatio);
    const double rounded = x + 0.5;
    // Compared before the conversion: a huge or infinite x must not reach the cast.
    if (!(rounded >= double{PDF417MinColumns})) return PDF417MinColumns;
    if (rounded >= double{PDF417MaxColumns}) return PDF417MaxColumns;
    return static_cast<int32_t>(rounded);
}
