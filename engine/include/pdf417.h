/* PDF417 encoder (ISO/IEC 15438): the calling interface.
 *
 * A caller fills one TPDF417Param, calls PDF417Encode once, reads the result
 * from the same record and releases the rendered rows with PDF417FreeParam.
 * The record is plain data, usable from C as well as C++. The engine never
 * throws and keeps no mutable global state; it reports through ErrorCode. */
#ifndef TRELVANIC_PDF417_H
#define TRELVANIC_PDF417_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Limits of a symbol and of its input. */
enum {
    PDF417MaxDataLength = 5420,    /* input bytes */
    PDF417MaxDataCodewords = 926,  /* data codewords, the length descriptor included */
    PDF417MaxCodewords = 928,      /* codewords in a symbol */
    PDF417MinColumns = 1,
    PDF417MaxColumns = 30,
    PDF417MinRows = 3,
    PDF417MaxRows = 90,
    PDF417MaxErrorLevelValue = 8,
    PDF417MaxCodewordValue = 928,
    PDF417PadCodeword = 900
};

/* Option bits of TPDF417Param.Flags. */
enum {
    efFixedRectangle = 1, /* Rows and Columns are both given */
    efFixedColumns = 2,   /* Columns is given, the rows are derived */
    efFixedRows = 4,      /* Rows is given, the columns are derived */
    efAutoErrorLevel = 8, /* the level is chosen from the data size (the default anyway) */
    efUseErrorLevel = 16, /* ErrorLevel holds the caller's level */
    efRawCodewords = 64,  /* Codewords and CodewordCount are filled; Data is not read */
    efInvertBitmap = 128  /* every byte of RowBits is complemented after rendering */
};

/* Values of TPDF417Param.ErrorCode. */
enum {
    ecSuccess = 0,
    ecTextTooLong = 1,    /* more than 5420 bytes, or more than 926 data codewords */
    ecBadRawCodewords = 2 /* raw codeword count out of range or not Codewords[0],
                             or a raw codeword value outside 0..928 */
};

typedef struct TPDF417Param {
    uint8_t* RowBits;       /* out: packed bit rows, MSB first, a set bit a bar */
    int32_t RowBitsSize;    /* out: bytes per row x Rows */
    int32_t RowWidth;       /* out: modules per row, 17 x Columns + 69 */
    int32_t Rows;           /* in/out: 3..90 */
    int32_t Columns;        /* in/out: data columns, 1..30 */
    int32_t Codewords[928]; /* in/out: [0] is the symbol length descriptor */
    int32_t CodewordCount;  /* in/out: meaning depends on the stage */
    int32_t ErrorLevel;     /* in/out: 0..8 */
    const uint8_t* Data;    /* in: the bytes to encode */
    int32_t DataLength;     /* in/out: negative means "up to the first zero byte" */
    uint32_t Flags;         /* in: ef... bits */
    double AspectRatio;     /* in/out: wanted height / width, automatic sizing only */
    double RowHeightRatio;  /* in: row height in module widths, column formula only */
    int32_t ErrorCode;      /* out: ec... values */
} TPDF417Param;

/* Fills in the defaults; leaves RowWidth, Rows, Columns, Codewords,
 * CodewordCount and ErrorLevel as they were. */
void PDF417InitParam(TPDF417Param* param);

/* Frees RowBits if set and nulls it; nothing else changes. */
void PDF417FreeParam(TPDF417Param* param);

/* Runs a whole encoding; the outcome is in ErrorCode. */
void PDF417Encode(TPDF417Param* param);

/* The largest level L in 1..8 with 2^(L+1) <= free codewords, else 0. */
int32_t PDF417MaxErrorLevel(int32_t free);

/* Replaces the rectangle by 16 x 58 (Columns <= 21) or 29 x 32 and returns 928. */
int32_t PDF417UseMaxRectangle(TPDF417Param* param);

#ifdef __cplusplus
}
#endif

#endif
