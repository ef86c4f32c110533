#!/usr/bin/env python3
"""Writes the committed seed corpora of the fuzz targets (tests/fuzz/corpus).

Each seed is a readable case of the target's input layout, described at the
top of the target's source. Run it again after changing a layout."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# engine_fuzz: flags, rows, columns, level, aspect, row height, shaping, count, payload.
FIXED_RECTANGLE, FIXED_COLUMNS, FIXED_ROWS, AUTO_LEVEL, USE_LEVEL, RAW, INVERT = 1, 2, 4, 8, 16, 64, 128
MEASURED, CONSISTENT, VALID_VALUES, FOREIGN_ROWBITS, DESCRIPTOR_IS_COUNT = 1, 2, 4, 8, 16


def engine(flags, payload=b"", rows=0, columns=0, level=0, aspect=0.5, height=3.0, shaping=0, count=0):
    return struct.pack("<Iiiiddbi", flags, rows, columns, level, aspect, height, shaping, count) + payload


def codewords(values):
    return b"".join(struct.pack("<i", v) for v in values)


gbk_record = ("GB0626-2005^A-001^发文单位^^第12号^^文件标题\r\n第二行^无^无^20261211^^^20261211^^|").encode("gbk")
engine_seeds = {
    "record_window_settings": engine(AUTO_LEVEL | FIXED_COLUMNS, gbk_record, columns=7, level=3),
    "record_automatic": engine(AUTO_LEVEL, gbk_record),
    "text_numeric_byte": engine(0, b"Hello, World! 0123456789012345 \x00\x01\xfe\xff mixed"),
    "digits_long": engine(0, b"9" * 1200),
    "bytes_all": engine(USE_LEVEL, bytes(range(256)), level=8),
    "too_long": engine(0, b"A" * 5421),
    "longest": engine(FIXED_ROWS, b"1" * 2000, rows=90),
    "measured_length": engine(0, b"ABC\x00D", shaping=MEASURED, count=-1),
    "empty": engine(0),
    "aspect_nan": engine(0, b"aspect", aspect=math.nan, height=-1.0),
    "aspect_infinite": engine(0, b"aspect", aspect=math.inf, height=math.inf),
    "aspect_negative": engine(0, b"aspect", aspect=-5.0, height=0.0),
    "rectangle_oversized": engine(FIXED_RECTANGLE | INVERT, b"rectangle", rows=90, columns=30),
    "rectangle_undersized": engine(FIXED_RECTANGLE | FIXED_ROWS, b"x" * 200, rows=3, columns=1),
    "level_out_of_range": engine(USE_LEVEL, b"level", level=-3, rows=-2**31, columns=2**31 - 1),
    "raw_valid": engine(RAW, codewords([1, 2, 3, 899, 900, 928]), shaping=CONSISTENT),
    "raw_one": engine(RAW, b"", shaping=CONSISTENT),
    "raw_full": engine(RAW | FIXED_COLUMNS, codewords(range(925)), columns=7, shaping=CONSISTENT),
    "raw_too_many": engine(RAW, codewords(range(926)), shaping=CONSISTENT),
    "raw_bad_value": engine(RAW, codewords([5, 929, -1]), shaping=CONSISTENT),
    "raw_count_mismatch": engine(RAW, codewords([7, 8]), count=2),
    "raw_count_zero": engine(RAW, b"", count=0, shaping=DESCRIPTOR_IS_COUNT),
    "raw_modulo": engine(RAW | USE_LEVEL, codewords([-5, 100000, 2**31 - 1]), level=4,
                         shaping=CONSISTENT | VALID_VALUES | FOREIGN_ROWBITS),
}
for name, data in engine_seeds.items():
    write("engine_fuzz", name, data)


# record_fuzz: the fourteen values, UTF-8, separated by zero bytes.
def record(*values):
    return "\0".join(values).encode("utf-8", "surrogatepass")


record_seeds = {
    "window_start": record("", "", "", "", "", "", "无", "", "无", "20261211", "", "", "20261211", ""),
    "filled": record("A-2026-001", "发文单位", "通知", "第12号", "各部门", "关于印发\r\n工作要点的通知",
                     "秘密", "10年", "特急", "20261211", "县团级", "办公厅", "20261211", "自定义"),
    "empty": b"",
    "caret_and_bar": record("1^2", "|", "^|^"),
    "outside_gbk": record("😀", "ẞ", "\u0080", "€", "\u00b7", "\u30fb", "\u2014\u2015"),
    "not_utf8": b"\xff\xfe\0\xc0\x80\0\xed\xa0\x80\0\xe4\xb8\0\xf4\x90\x80\x80",
    "gbk_bytes_as_utf8": "公文二维条码".encode("gbk") + b"\0\x81\x30\x81\x30\0\x80",
    "long_custom_field": record(*([""] * 13), "条码" * 700),
    "digits_at_the_limit": record(*([""] * 13), "7" * 2600),
}
for name, data in record_seeds.items():
    write("record_fuzz", name, data)


# document_server_fuzz: picture width, barcode number, then operations.
MEMBERS = ["Application", "Visible", "Documents", "Add", "Paragraphs", "Item", "Range", "InsertBefore",
           "Selection", "Paste", "Font", "bold"]
GET, METHOD, PUT = 0, 1, 2


def name(text):
    data = text.encode("utf-8") if isinstance(text, str) else text
    return bytes([len(data)]) + data


def argument(value):
    if isinstance(value, bool):
        return 1, bytes([value])
    if isinstance(value, int):
        return 2, struct.pack("<i", value)
    units = value.encode("utf-16-le", "surrogatepass")
    return 3, bytes([len(units) // 2]) + units


def invoke(obj, member, kind, *args):
    code = MEMBERS.index(member) if member in MEMBERS else 255
    out = bytes([2, obj, code]) + (b"" if member in MEMBERS else name(member)) + bytes([kind])
    types, payload = 0, b""
    for i, value in enumerate(args):
        t, data = argument(value)
        types |= t << (2 * i)
        payload += data
    return out + bytes([types]) + payload


def server(picture, number, *operations):
    return bytes([picture]) + name(number) + b"".join(operations)


CREATE = bytes([0])


def release(obj):
    return bytes([3, obj])


def drop(obj):
    return bytes([4, obj])


def attach(prog_id):
    return bytes([1]) + name(prog_id)


# Objects are numbered in the order they were kept: 0 Word, 1 Application,
# 2 Documents, 3 the document, then each chain's results.
usage_note = "\n\r\n\r使用方法：鼠标右击条码图片复制后可粘贴至其他文档。"
information = "公文二维条码信息字段表\n\r条码版本标识：GB0626-2005\r条码编号：A-001\r自定义字段：\n\r"
export = [
    CREATE,
    invoke(0, "Application", GET), invoke(1, "Visible", PUT, True),
    invoke(0, "Documents", GET), invoke(2, "Add", GET),
    invoke(3, "Paragraphs", GET), invoke(4, "Item", METHOD, 1), invoke(5, "Range", GET),
    invoke(6, "InsertBefore", METHOD, usage_note),
    invoke(0, "Selection", GET), invoke(7, "Paste", METHOD),
    invoke(3, "Paragraphs", GET), invoke(8, "Item", METHOD, 1), invoke(9, "Range", GET),
    invoke(10, "InsertBefore", METHOD, information),
    invoke(3, "Paragraphs", GET), invoke(11, "Item", METHOD, 1), invoke(12, "Range", GET),
    invoke(13, "Font", GET), invoke(14, "bold", PUT, True),
]
server_seeds = {
    "export": server(188, "A-001", *export),
    "export_twice": server(30, "条码编号", *export, *export),
    "no_picture": server(0, "B", *export),
    "file_name_unsafe": server(8, "../..\\CON:*?\"<>|\x01.. ", *export[:9], release(3), drop(0)),
    "file_name_long": server(8, "条" * 80, *export[:5]),
    "text_xml_cannot_carry": server(8, "x", *export[:8], invoke(
        6, "InsertBefore", METHOD, "a\tb\x00\x01\x0b\ufffe\uffff\ud800 \udc00 \ud83d\ude00 <&>\r\n\r\n")),
    "wrong_calls": server(8, "x", CREATE, attach("word.Application"), invoke(0, "Quit", METHOD),
                          invoke(0, "Visible", PUT, 5), invoke(0, "Documents", PUT, "x"),
                          invoke(0, "Selection", GET), invoke(0, "Documents", GET), invoke(1, "Add", METHOD, 1, 2),
                          invoke(1, "Add", GET), invoke(2, "Paragraphs", GET), invoke(3, "Item", METHOD, 0),
                          invoke(3, "Item", METHOD, 2), invoke(3, "Item", METHOD, "1"), release(2),
                          invoke(2, "Paragraphs", GET)),
    "stale_range": server(8, "x", *export[:8], invoke(6, "InsertBefore", METHOD, "one\rtwo\rthree"),
                          invoke(6, "InsertBefore", METHOD, "four"), invoke(0, "Selection", GET),
                          invoke(8, "Paste", METHOD), invoke(7, "Font", GET), invoke(9, "BOLD", PUT, False)),
}
for name_, data in server_seeds.items():
    write("document_server_fuzz", name_, data)
